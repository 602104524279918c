#include "render/text/LayoutTextItem.h"

#include "document/model/SurfaceNames.h"
#include "render/text/LayoutText.h"
#include "render/text/LayoutTrackFlow.h"
#include "render/text/LayoutTrackTable.h"
#include "render/text/RotateRect.h"
#include "render/text/RunMeasurer.h"
#include "render/text/TrackCells.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

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

// Layouts by item, each valid while the item, its surface and "Disc 1" keep their revisions. Entries
// of deleted items are forgotten once the cache grows large.
class LayoutCache
{
public:
    struct Key
    {
        std::uint64_t item = 0;
        std::uint64_t surface = 0;
        std::uint64_t disc = 0;
        size_t characters = 0;

        bool operator==(const Key&) const = default;
    };

    std::shared_ptr<const ItemLayout> Find(const CRichChild& item, const Key& key) const
    {
        const auto found = m_entries.find(&item);
        if (found == m_entries.end() || !(found->second.key == key))
            return nullptr;
        return found->second.layout;
    }

    void Store(const CRichChild& item, const Key& key, std::shared_ptr<const ItemLayout> layout)
    {
        if (m_entries.size() >= kMaxEntries && !m_entries.count(&item))
            m_entries.clear();
        m_entries[&item] = {key, std::move(layout)};
    }

private:
    static constexpr size_t kMaxEntries = 4096;
    struct Entry
    {
        Key key;
        std::shared_ptr<const ItemLayout> layout;
    };
    std::unordered_map<const CRichChild*, Entry> m_entries;
};

LayoutCache& Cache()
{
    thread_local LayoutCache cache;
    return cache;
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

std::shared_ptr<const ItemLayout> LayoutTextItem(const CRichChild& item, const LabelDesign& design,
                                                 FontEngine& engine)
{
    const bool isText = item.kind == ItemKind::Text;
    if (!isText && item.kind != ItemKind::Track)
        return nullptr;
    const CRichChild* surface = design.FindCover(item.surface);
    const CRichChild* disc = design.FindItem(kDisc1);
    if (!surface || !disc)
        return nullptr;
    LayoutCache& cache = Cache();
    const LayoutCache::Key key{item.revision(), surface->revision(), disc->revision(),
                               item.characters.size()};
    if (auto found = cache.Find(item, key))
        return found;
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
        RotateBack(layout.lineCells, escapement, disc->width());
        RotateBack(layout.glyphCells, escapement, disc->width());
    }
    auto shared = std::make_shared<const ItemLayout>(std::move(layout));
    cache.Store(item, key, shared);
    return shared;
}

void KeepLayout(const CRichChild& item, const LabelDesign& design, std::shared_ptr<const ItemLayout> layout)
{
    const CRichChild* surface = design.FindCover(item.surface);
    const CRichChild* disc = design.FindItem(kDisc1);
    if (!layout || !surface || !disc)
        return;
    Cache().Store(item, {item.revision(), surface->revision(), disc->revision(), item.characters.size()},
                  std::move(layout));
}

} // namespace tvl
