#include "render/text/LayoutTextItem.h"

#include "document/model/SurfaceNames.h"
#include "render/text/LayoutText.h"
#include "render/text/LayoutTrackFlow.h"
#include "render/text/LayoutTrackTable.h"
#include "render/text/RotateRect.h"
#include "render/text/TrackCells.h"

#include <algorithm>
#include <cstdint>

namespace tvl {
namespace {

// Far beyond any sheet (about 250 m), yet small enough that sums of such lengths stay within int.
constexpr std::int64_t kFarMils = 10'000'000;

void RotateBack(std::vector<EdgeRect>& cells, int escapement, int side)
{
    for (EdgeRect& cell : cells) {
        if (!(cell == EdgeRect{}))
            cell = RotateRect(cell, escapement, side, false);
    }
}

} // namespace

std::optional<LayoutFrame> FrameOfItem(const CRichChild& item, const LabelDesign& design)
{
    const CRichChild* surface = design.FindCover(item.surface);
    const CRichChild* disc = design.FindItem(kDisc1);
    if (!surface || !disc)
        return std::nullopt;
    // Damaged designs may hold any 32-bit values; keep the arithmetic of layout far from overflow.
    auto bounded = [](std::int64_t value) {
        return static_cast<int>(std::clamp<std::int64_t>(value, -kFarMils, kFarMils));
    };
    const std::int64_t left = std::int64_t{item.left()} - surface->left();
    const std::int64_t top = std::int64_t{item.top()} - surface->top();
    const EdgeRect rect{bounded(left), bounded(top), bounded(left + item.width()),
                        bounded(top + item.height())};
    LayoutFrame frame;
    frame.rect = RotateRect(rect, EscapementOfAngle(item.angle()), disc->width(), true);
    frame.onDisc = item.pageCode == u"1" && surface->IsDiscSurface();
    if (frame.onDisc) {
        frame.disc = {bounded(surface->width() / 2), bounded(surface->height() / 2),
                      bounded(surface->textMargin())};
    }
    return frame;
}

const ItemLayout* LayoutTextItem(CRichChild& item, const LabelDesign& design, FontEngine& engine)
{
    const bool isText = item.kind == ItemKind::Text;
    if (!isText && item.kind != ItemKind::Track)
        return nullptr;
    if (item.layout && !item.layout->lineCells.empty())
        return item.layout.get();
    const std::optional<LayoutFrame> frame = FrameOfItem(item, design);
    if (!frame)
        return nullptr;

    ItemLayout layout;
    if (isText) {
        layout = LayoutText(item, *frame, engine);
    } else {
        const std::vector<TrackCells> tracks = IndexTracks(item);
        if (item.textLayout() == u"Table Format" && !tracks.empty())
            layout = LayoutTrackTable(item, *frame, engine, tracks);
        else
            layout = LayoutTrackFlow(item, *frame, engine, tracks);
    }
    const int escapement = EscapementOfAngle(item.angle());
    if (escapement != 0) {
        const int side = design.FindItem(kDisc1)->width();
        RotateBack(layout.lineCells, escapement, side);
        RotateBack(layout.glyphCells, escapement, side);
    }
    item.layout = std::make_shared<const ItemLayout>(std::move(layout));
    return item.layout.get();
}

void ClearLayout(const CRichChild& item)
{
    item.layout.reset();
}

} // namespace tvl
