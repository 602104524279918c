#include "document/design/InsertEdits.h"

#include "document/design/DesignDocument.h"
#include "document/design/EditScope.h"
#include "document/design/FitToPicture.h"
#include "document/design/NewItems.h"

namespace tvl {
namespace {

// The surface a new rectangle goes on, made current; null when it has no cover.
const CRichChild* TargetSurface(DesignDocument& document, const QRect& rect)
{
    const LabelDesign& design = document.design();
    if (!design.FindCover(document.currentSurface()))
        return nullptr;
    document.ShowSurface(NearestSurface(design, document.currentSurface(), rect, UsesTwoDiscs(document)));
    return design.FindCover(document.currentSurface());
}

} // namespace

bool UsesTwoDiscs(const DesignDocument& document)
{
    return document.IsDouble() || document.discPositionMode() == DiscPositionMode::DuplicateDisc;
}

CRichChild* CreateTextItem(DesignDocument& document, const QString& name, const QRect& rect, bool select)
{
    const CRichChild* cover = TargetSurface(document, rect);
    if (!cover)
        return nullptr;
    std::unique_ptr<CRichChild> item =
        MakeTextItem(document.design(), name, cover->name, ShiftInside(rect, cover->Rect()));
    if (!item)
        return nullptr;
    CRichChild* inserted = document.InsertItem(std::move(item));
    if (inserted && select)
        document.Select(inserted->name);
    return inserted;
}

CRichChild* CreatePictureItem(DesignDocument& document, const QRect& rect, const QString& path,
                              const std::function<bool(CRichChild&)>& load, bool background,
                              const std::function<bool(CRichChild&)>& makeBackground)
{
    const CRichChild* cover = TargetSurface(document, rect);
    if (!cover)
        return nullptr;
    std::unique_ptr<CRichChild> item =
        MakePictureItem(document.design(), cover->name, ShiftInside(rect, cover->Rect()), path);
    // The picture is read before the step opens, so a file that cannot be read leaves no trace.
    if (!item || !load || !load(*item))
        return nullptr;
    if (!background) {
        int width = item->width();
        int height = item->height();
        if (FitToPicture(*item, width, height)) {
            item->width(width);
            item->height(height);
        }
    }
    EditScope scope(document, EditKind::InsertItem);
    CRichChild* inserted = document.InsertItem(std::move(item));
    if (!inserted)
        return nullptr;
    if (background && makeBackground)
        makeBackground(*inserted);
    document.Select(inserted->name);
    return inserted;
}

} // namespace tvl
