#include "document/design/EditScope.h"

#include "document/design/DesignDocument.h"

namespace tvl {

SurfaceSet SurfacesOf(const CRichChild& item, const LabelDesign& design)
{
    SurfaceSet surfaces;
    const int own = SurfaceIndexOf(item.surface);
    if (own >= 0) {
        surfaces.set(static_cast<size_t>(own));
        return surfaces;
    }
    for (int i = 0; i < kSurfaceCount; ++i) {
        const CRichChild* cover = design.FindCover(SurfaceName(i));
        if (cover && cover->pageCode == item.pageCode)
            surfaces.set(static_cast<size_t>(i));
    }
    return surfaces;
}

EditScope::EditScope(DesignDocument& document, EditKind kind)
    : m_document(document)
    , m_outer(document.m_openScope)
{
    m_change.kind = kind;
    if (!m_outer) {
        m_document.m_openScope = this;
        m_document.m_history.BeginStep();
    }
}

EditScope::~EditScope()
{
    if (m_outer) {
        for (const QString& name : std::as_const(m_change.items)) {
            if (!m_outer->m_change.items.contains(name))
                m_outer->m_change.items.append(name);
        }
        m_outer->m_change.aspects |= m_change.aspects;
        m_outer->m_change.surfaces |= m_change.surfaces;
        return;
    }
    m_document.StoreFittedHeights(m_change.surfaces, this);
    m_document.m_openScope = nullptr;
    m_document.m_history.EndStep();
    ++m_document.m_editsSinceSave;
    m_document.Notify(m_change);
}

void EditScope::Touch(const CRichChild& item, ChangedAspect aspect)
{
    if (!m_change.items.contains(item.name))
        m_change.items.append(item.name);
    m_change.Add(aspect);
    m_change.surfaces |= SurfacesOf(item, m_document.design());
}

void EditScope::TouchAll(ChangedAspect aspect)
{
    m_change.Add(aspect);
    m_change.surfaces.set();
}

} // namespace tvl
