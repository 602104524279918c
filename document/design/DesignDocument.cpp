#include "document/design/DesignDocument.h"

#include "document/design/AutoFitter.h"
#include "document/design/EditScope.h"

#include <algorithm>

namespace tvl {

DesignDocument::DesignDocument()
    : m_history(m_design, *this)
{
    m_design.SetRecorder(&m_history);
}

DesignDocument::~DesignDocument() = default;

void DesignDocument::SetDesignKind(const QString& discMode, const QString& caseKind)
{
    m_discMode = discMode.isEmpty() ? QStringLiteral("Single") : discMode;
    m_caseKind = caseKind.isEmpty() ? QStringLiteral("Jewel") : caseKind;
}

void DesignDocument::SetDiscPositionMode(DiscPositionMode mode)
{
    m_discPosition = mode;
}

void DesignDocument::ShowSurface(const QString& surface)
{
    const CRichChild* cover = m_design.FindCover(surface);
    if ((!cover && !m_design.itemList.empty()) || surface == m_currentSurface)
        return;
    m_currentSurface = surface;
    if (cover)
        m_currentPageCode = cover->pageCode;
    // While a step is applied, listeners first hear what changed and then which surface shows it.
    if (m_applyingStep) {
        m_surfaceChanged = true;
        return;
    }
    const std::vector<DesignListener*> listeners = m_listeners;
    for (DesignListener* listener : listeners)
        listener->SurfaceShown();
}

void DesignDocument::Select(const QString& name)
{
    if (name == m_selected)
        return;
    m_selected = name;
    const std::vector<DesignListener*> listeners = m_listeners;
    for (DesignListener* listener : listeners)
        listener->SelectionChanged();
}

LiveDesignState DesignDocument::LiveState() const
{
    return {m_currentSurface, m_currentPageCode, m_discMode, m_caseKind};
}

void DesignDocument::BeginReplace()
{
    m_history.SetRecording(false);
    m_history.ClearHistory();
    m_selected.clear();
}

void DesignDocument::EndReplace(const LiveDesignState& live)
{
    SetDesignKind(live.discMode, live.caseKind);
    m_currentSurface = live.currentSurface;
    m_currentPageCode = live.currentPageCode;
    if (const CRichChild* cover = m_design.FindCover(m_currentSurface))
        m_currentPageCode = cover->pageCode;
    StoreFittedHeights(SurfaceSet().set(), nullptr);
    m_file.modified = false;
    m_editsSinceSave = 0;
    m_history.SetRecording(true);
    DesignChange change;
    change.replaced = true;
    change.surfaces.set();
    Notify(change);
}

void DesignDocument::MarkSaved()
{
    m_file.modified = false;
    m_editsSinceSave = 0;
}

void DesignDocument::AddListener(DesignListener* listener)
{
    m_listeners.push_back(listener);
}

void DesignDocument::RemoveListener(DesignListener* listener)
{
    std::erase(m_listeners, listener);
}

void DesignDocument::Notify(const DesignChange& change)
{
    const std::vector<DesignListener*> listeners = m_listeners;
    for (DesignListener* listener : listeners)
        listener->DesignChanged(change);
}

void DesignDocument::StoreFittedHeights(SurfaceSet surfaces, EditScope* scope)
{
    if (!m_autoFitter)
        return;
    for (const auto& owned : m_design.itemList) {
        CRichChild& item = *owned;
        if (!item.IsTextual() || item.bAutoFit() == 0 || (SurfacesOf(item, m_design) & surfaces).none())
            continue;
        const int height = m_autoFitter->FittedHeight(item, m_design);
        const bool differs = std::any_of(item.fonts.begin(), item.fonts.end(), [height](const auto& font) {
            return font && font->height != height;
        });
        if (height == 0 || !differs)
            continue;
        m_history.RecordChange(UndoKey::PrevFont, &item, {}, {});
        for (std::optional<ItemFont>& font : item.fonts) {
            if (font)
                font->height = height;
        }
        item.MarkChanged();
        m_history.RecordChange(UndoKey::NextFont, &item, {}, {});
        m_autoFitter->HeightsStored(item, m_design);
        if (scope)
            scope->Touch(item, ChangedAspect::Runs);
    }
}

void DesignDocument::CaretRange(const CRichChild&, int& start, int& end)
{
    // Text is not edited in place yet, so there is no caret to remember.
    start = 0;
    end = 0;
}

bool DesignDocument::ReloadPicture(CRichChild& item)
{
    return m_pictureLoader && m_pictureLoader(item);
}

void DesignDocument::ShowAfterUndo(const QString& surface, const QString& itemName, bool select)
{
    if (select)
        m_selected = itemName;
    ShowSurface(surface);
}

void DesignDocument::Undo()
{
    ApplyHistoryStep(true);
}

void DesignDocument::Redo()
{
    ApplyHistoryStep(false);
}

void DesignDocument::ApplyHistoryStep(bool undo)
{
    if (undo ? !m_history.CanUndo() : !m_history.CanRedo())
        return;
    const int index = undo ? m_history.currentIndex() : m_history.currentIndex() + 1;
    const UndoStep* step = m_history.StepAt(index);
    if (!step)
        return;
    DesignChange change;
    change.kind = undo ? EditKind::Undo : EditKind::Redo;
    const auto touch = [&](const CRichChild& item) {
        if (!change.items.contains(item.name))
            change.items.append(item.name);
        change.surfaces |= SurfacesOf(item, m_design);
    };
    for (const auto* side : {&step->before, &step->after}) {
        for (const auto& snapshot : *side)
            touch(*snapshot);
    }
    const bool reordered = !step->orderBefore.isEmpty() || !step->orderAfter.isEmpty();
    if (reordered)
        change.Add(ChangedAspect::Order);
    if (reordered || (!step->albumFields.empty() && change.items.isEmpty()))
        change.surfaces.set();
    change.Add(ChangedAspect::Geometry);
    change.Add(ChangedAspect::Properties);
    change.Add(ChangedAspect::Text);
    change.Add(ChangedAspect::Runs);
    m_applyingStep = true;
    m_surfaceChanged = false;
    if (undo)
        m_history.Undo();
    else
        m_history.Redo();
    m_applyingStep = false;
    m_file.modified = true;
    ++m_editsSinceSave;
    Notify(change);
    if (m_surfaceChanged) {
        const std::vector<DesignListener*> listeners = m_listeners;
        for (DesignListener* listener : listeners)
            listener->SurfaceShown();
    }
}

} // namespace tvl
