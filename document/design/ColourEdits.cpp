#include "document/design/ColourEdits.h"

#include "document/design/DesignDocument.h"
#include "document/design/EditScope.h"
#include "document/design/FormatEdits.h"
#include "document/model/RunSlots.h"
#include "document/model/SurfaceNames.h"

#include <algorithm>

namespace tvl {
namespace {

constexpr int kCoverReach = 2;

bool IsArea(const CRichChild* item)
{
    return item && HasAreaColor(item->kind);
}

bool CodeFits(int code, const CRichChild& area)
{
    switch (code) {
    case 1:
        return true;
    case 2:
        return area.name == kFrontInside;
    case 3:
        return area.name == kLeftTab;
    case 4:
        return area.name == kRightTab;
    default:
        return false;
    }
}

int IndexOfBackground(const LabelDesign& design, const QString& surface, int code)
{
    for (size_t i = 0; i < design.itemList.size(); ++i) {
        const CRichChild& item = *design.itemList[i];
        if (item.bBackground() == code && item.surface == surface)
            return static_cast<int>(i);
    }
    return -1;
}

// The colour colours the item gets: the whole text or the selected ranges, or the area's one slot.
ColourSlots ColouredSlots(const CRichChild& item, int start, int end, ItemColor colour)
{
    if (!item.IsTextual())
        return {colour};
    RichText text = RichText::Of(item);
    if (start == end) {
        std::fill(text.colors.begin(), text.colors.end(), std::nullopt);
        if (!text.colors.empty())
            text.colors[0] = colour;
    } else {
        FormatColor(text, start, end, colour);
    }
    return text.colors;
}

bool ValidTarget(const CRichChild* item, int start, int end)
{
    if (IsArea(item))
        return true;
    return item && item->IsTextual() && start >= 0 && start <= end &&
           static_cast<size_t>(end) <= item->characters.size();
}

// Sets the colours without recording a step; the listeners still hear of it, so the label shows it.
bool SetSlotsUnrecorded(DesignDocument& document, CRichChild& item, const ColourSlots& colours)
{
    if (item.colors == colours)
        return false;
    UndoHistory& history = document.history();
    const bool recording = history.recording();
    history.SetRecording(false);
    {
        EditScope scope(document, EditKind::SetColorRun);
        item.colors = colours;
        item.MarkChanged();
        scope.Touch(item, ChangedAspect::Runs);
    }
    history.SetRecording(recording);
    return true;
}

// Brings an area that its background hides in front of the picture, deleting the pictures that no
// longer show.
void BringAreaInFront(DesignDocument& document, const QString& name, QStringView caseKind)
{
    const LabelDesign& design = document.design();
    const CRichChild& area = *design.FindItem(name);
    const QString surface = area.surface;
    const int picture = IndexOfBackground(design, surface, AreaBackgroundCode(area, caseKind));
    if (picture < 0 || picture < design.IndexOf(name) || !IsAreaCovered(design, area))
        return;
    const QString pictureName = design.itemList[static_cast<size_t>(picture)]->name;
    const bool frontOrDisc = area.pageCode == u"1" || surface == kFrontCover;
    document.Select(QString());
    document.MoveInOrder(name, picture);

    QStringList doomed;
    if (frontOrDisc) {
        doomed.append(pictureName);
    } else {
        int firstBackground = -1;
        int firstArea = -1;
        for (size_t i = 0; i < design.itemList.size(); ++i) {
            const CRichChild& item = *design.itemList[i];
            if (item.surface != surface)
                continue;
            if (item.kind == ItemKind::Image && item.bBackground() != 0) {
                doomed.append(item.name);
                if (firstBackground < 0)
                    firstBackground = static_cast<int>(i);
            } else if (IsArea(&item) && firstArea < 0) {
                firstArea = static_cast<int>(i);
            }
        }
        if (firstBackground < 0 || (firstArea >= 0 && firstBackground > firstArea))
            doomed.clear();
    }
    for (const QString& doomedName : std::as_const(doomed))
        document.DeleteItem(doomedName);
    document.Select(name);
}

} // namespace

std::optional<ItemColor> ColourAt(const CRichChild& item, int index)
{
    if (item.colors.empty())
        return std::nullopt;
    if (!item.IsTextual())
        return item.colors.front();
    const size_t at = static_cast<size_t>(std::clamp(index, 0, static_cast<int>(item.colors.size()) - 1));
    return RunAt(item.colors, at);
}

int AreaBackgroundCode(const CRichChild& area, QStringView caseKind)
{
    if (area.name == kFrontInside)
        return 2;
    if (caseKind == u"DVD" && area.name == kLeftTab)
        return 3;
    if (caseKind == u"DVD" && area.name == kRightTab)
        return 4;
    return 1;
}

bool IsAreaCovered(const LabelDesign& design, const CRichChild& area)
{
    const CRichChild* picture = nullptr;
    for (const auto& item : design.itemList) {
        if (item->bBackground() != 0 && item->surface == area.surface &&
            CodeFits(item->bBackground(), area)) {
            picture = item.get();
            break;
        }
    }
    if (!picture)
        return false;
    int left = area.left();
    int right = area.left() + area.width();
    if (area.name == kBackCover) {
        left += area.coverSpine;
        right -= area.coverSpine;
    } else if (area.name == kFrontCover && area.coverFolded != 0) {
        left += area.width() / 2;
    }
    const int top = area.top();
    const int bottom = area.top() + area.height();
    return picture->left() <= left + kCoverReach && picture->top() <= top + kCoverReach &&
           picture->left() + picture->width() + kCoverReach >= right &&
           picture->top() + picture->height() + kCoverReach >= bottom;
}

bool ApplyTextColour(DesignDocument& document, const QString& name, int start, int end, ItemColor colour,
                     QStringView caseKind)
{
    CRichChild* item = document.MutableDesign().FindItem(name);
    if (!ValidTarget(item, start, end))
        return false;
    if (item->IsTextual())
        return ApplyColor(document, name, start, end, colour);
    EditScope scope(document, EditKind::SetColorRun);
    UndoHistory& history = document.history();
    history.RecordChange(UndoKey::PrevOrder, nullptr, {}, {});
    history.RecordChange(UndoKey::PrevColor, item, {}, {});
    item->colors = ColouredSlots(*item, start, end, colour);
    item->MarkChanged();
    history.RecordChange(UndoKey::NextColor, item, {}, {});
    scope.Touch(*item, ChangedAspect::Runs);
    BringAreaInFront(document, name, caseKind);
    history.RecordChange(UndoKey::NextOrder, nullptr, {}, {});
    return true;
}

bool PreviewTextColour(DesignDocument& document, const QString& name, int start, int end, ItemColor colour)
{
    CRichChild* item = document.MutableDesign().FindItem(name);
    if (!ValidTarget(item, start, end))
        return false;
    return SetSlotsUnrecorded(document, *item, ColouredSlots(*item, start, end, colour));
}

bool RestoreColourSlots(DesignDocument& document, const QString& name, const ColourSlots& colours)
{
    CRichChild* item = document.MutableDesign().FindItem(name);
    if (!ValidTarget(item, 0, 0) || (item->IsTextual() && colours.size() != item->characters.size()))
        return false;
    return SetSlotsUnrecorded(document, *item, colours);
}

} // namespace tvl
