#include "TextFixture.h"
#include "render/text/FontEngine.h"
#include "render/text/LayoutTextItem.h"
#include "render/text/TrackCells.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

using test::AddItem;
using test::IndexOf;
using test::LayOut;
using test::MakeDesign;
using test::TextSpec;
using test::TrackText;

int CellWidth(const CRichChild& item, int start, int end, int height)
{
    const FontFace& face =
        FontEngine::ForThisThread().Face(ItemFont{QStringLiteral("Arial"), height, 400, 0});
    int width = 0;
    for (int i = start; i < end; ++i)
        width += face.Extent(item.characters[static_cast<size_t>(i)], height).width;
    return width;
}

// Left edge of the first visible character of a range.
int FirstLeft(const ItemLayout& layout, int start, int end)
{
    for (int i = start; i <= end; ++i) {
        if (!layout.lineCells[static_cast<size_t>(i)].isEmpty())
            return layout.lineCells[static_cast<size_t>(i)].left;
    }
    return -1;
}

int MaxRight(const ItemLayout& layout, int start, int end)
{
    int right = -1;
    for (int i = start; i <= end; ++i)
        right = std::max(right, layout.lineCells[static_cast<size_t>(i)].right);
    return right;
}

TextSpec TrackSpec(int tracks)
{
    TextSpec spec;
    spec.kind = ItemKind::Track;
    spec.surface = QStringLiteral("Back Cover");
    spec.left = 500;
    spec.top = 300;
    spec.width = 4000;
    spec.height = 4000;
    spec.text = TrackText(tracks);
    return spec;
}

TEST(IndexTracks, RecordsCompleteTracksOnly)
{
    CRichChild item;
    item.characters = ToCharacters(u"1. \bOne\b 0:01\b2. \bTwo\b");
    const std::vector<TrackCells> tracks = IndexTracks(item);
    ASSERT_EQ(tracks.size(), 1u);
    EXPECT_EQ(tracks[0], (TrackCells{0, 3, 4, 7, 8, 13}));
}

TEST(LayoutTrackTable, TimesEndAtTheRightEdgeAndTitlesFollowTheWidestNumber)
{
    LabelDesign design = MakeDesign();
    CRichChild& item = AddItem(design, TrackSpec(12));
    const ItemLayout& layout = LayOut(item, design);
    ASSERT_EQ(layout.trackCells.size(), 12u);
    int widestNumber = 0;
    for (const TrackCells& track : layout.trackCells)
        widestNumber = std::max(widestNumber, CellWidth(item, track.numberStart, track.numberEnd, 120));
    EXPECT_EQ(widestNumber,
              CellWidth(item, layout.trackCells[9].numberStart, layout.trackCells[9].numberEnd, 120));
    int previousTop = -1;
    for (const TrackCells& track : layout.trackCells) {
        EXPECT_EQ(FirstLeft(layout, track.numberStart, track.numberEnd), 500);
        EXPECT_EQ(FirstLeft(layout, track.titleStart, track.titleEnd), 500 + widestNumber);
        EXPECT_EQ(MaxRight(layout, track.timeStart, track.timeEnd), 4500);
        const int top = layout.lineCells[static_cast<size_t>(track.numberStart)].top;
        EXPECT_GT(top, previousTop);
        EXPECT_EQ(layout.lineCells[static_cast<size_t>(track.timeStart)].top, top);
        previousTop = top;
    }
}

TEST(LayoutTrackTable, TrackTimesStartTitlesAtTheLeftEdge)
{
    LabelDesign design = MakeDesign();
    TextSpec spec = TrackSpec(3);
    spec.trackNumbers = QStringLiteral("Track Times");
    CRichChild& item = AddItem(design, spec);
    const ItemLayout& layout = LayOut(item, design);
    for (const TrackCells& track : layout.trackCells) {
        for (int i = track.numberStart; i <= track.numberEnd; ++i)
            EXPECT_TRUE(layout.lineCells[static_cast<size_t>(i)] == EdgeRect{});
        EXPECT_EQ(FirstLeft(layout, track.titleStart, track.titleEnd), 500);
        EXPECT_EQ(MaxRight(layout, track.timeStart, track.timeEnd), 4500);
    }
}

TEST(LayoutTrackTable, AutoFitStopsGrowingWhenTheWidestCellsFillTheWidth)
{
    LabelDesign design = MakeDesign();
    TextSpec spec = TrackSpec(3);
    spec.width = 2000;
    spec.autoFit = true;
    CRichChild& item = AddItem(design, spec);
    const ItemLayout& layout = LayOut(item, design);
    const int size = layout.fittedHeight;
    EXPECT_GT(size, 120);
    auto widest = [&](int height) {
        int number = 0;
        int title = 0;
        int time = 0;
        for (const TrackCells& track : layout.trackCells) {
            number = std::max(number, CellWidth(item, track.numberStart, track.numberEnd, height));
            title = std::max(title, CellWidth(item, track.titleStart, track.titleEnd, height));
            time = std::max(time, CellWidth(item, track.timeStart, track.timeEnd, height));
        }
        return number + title + time;
    };
    EXPECT_LE(widest(size), 2000);
    EXPECT_GT(widest(size + 5), 2000);

    // On a cover the table is centred vertically, to within a mil.
    int top = 1 << 30;
    int bottom = 0;
    for (const EdgeRect& cell : layout.lineCells) {
        if (cell == EdgeRect{})
            continue;
        top = std::min(top, cell.top);
        bottom = std::max(bottom, cell.bottom);
    }
    EXPECT_LE(std::abs((top - 300) - (4300 - bottom)), 1);
}

TEST(LayoutTrackTable, AutoFitOnADiscStaysAtTheTop)
{
    LabelDesign design = MakeDesign();
    TextSpec spec = TrackSpec(3);
    spec.surface = QStringLiteral("Disc 1");
    spec.left = 1000;
    spec.top = 2000;
    spec.width = 2600;
    spec.height = 2000;
    spec.autoFit = true;
    CRichChild& item = AddItem(design, spec);
    const ItemLayout& layout = LayOut(item, design);
    EXPECT_EQ(layout.lineCells[0].top, 2000);
}

TEST(LayoutTrackTable, WordWrapTitlesStillTooLongAtTheSmallestSizeOverflow)
{
    LabelDesign design = MakeDesign();
    TextSpec spec = TrackSpec(0);
    spec.width = 400;
    spec.height = 300;
    spec.autoFit = true;
    spec.wrapStyle = QStringLiteral("Word-Wrap");
    for (int n = 1; n <= 20; ++n)
        spec.text += QStringLiteral("%1. \ba title of many short words that wraps\b 3:%1\b").arg(n);
    CRichChild& item = AddItem(design, spec);
    const ItemLayout& layout = LayOut(item, design);
    EXPECT_EQ(layout.fittedHeight, 25);
    int bottom = 0;
    for (const EdgeRect& cell : layout.lineCells)
        bottom = std::max(bottom, cell.bottom);
    EXPECT_GT(bottom, 600);
    // Titles wrapped: a title has characters on more than one line, all from the title column.
    const TrackCells& first = layout.trackCells[0];
    const int titleLeft = FirstLeft(layout, first.titleStart, first.titleEnd);
    EXPECT_NE(layout.lineCells[static_cast<size_t>(first.titleStart)].top,
              layout.lineCells[static_cast<size_t>(first.titleEnd - 1)].top);
    EXPECT_GE(layout.lineCells[static_cast<size_t>(first.titleEnd - 1)].left, titleLeft);
}

struct ColumnCase
{
    int tracks;
    int inFirstColumn;
};

TEST(LayoutTrackFlow, TwoColumnsSplitAfterTheFirstHalf)
{
    for (const ColumnCase split : {ColumnCase{5, 3}, ColumnCase{4, 2}}) {
        SCOPED_TRACE(split.tracks);
        LabelDesign design = MakeDesign();
        TextSpec spec = TrackSpec(split.tracks);
        spec.textLayout = QStringLiteral("2 Columns");
        spec.alignment = QStringLiteral("Left");
        CRichChild& item = AddItem(design, spec);
        const ItemLayout& layout = LayOut(item, design);
        const int gapLeft = 500 + 2000 - 15;
        const int gapRight = 500 + 2000 + 15;
        for (int t = 0; t < split.tracks; ++t) {
            const TrackCells& track = layout.trackCells[static_cast<size_t>(t)];
            const int left = FirstLeft(layout, track.numberStart, track.timeEnd);
            const int right = MaxRight(layout, track.numberStart, track.timeEnd);
            const int top = layout.lineCells[static_cast<size_t>(track.numberStart)].top;
            const int row = t < split.inFirstColumn ? t : t - split.inFirstColumn;
            EXPECT_EQ(top, 300 + row * 186) << t;
            if (t < split.inFirstColumn) {
                EXPECT_EQ(left, 500) << t; // "Left" sets the first column against the outer edge
                EXPECT_LE(right, gapLeft);
            } else {
                EXPECT_GE(left, gapRight) << t;
                EXPECT_EQ(right, 4500) << t; // and the second against the other outer edge
            }
        }
    }
}

TEST(LayoutTrackFlow, TrackWrapPutsThreeSpacesBetweenTracks)
{
    LabelDesign design = MakeDesign();
    TextSpec spec = TrackSpec(2);
    spec.textLayout = QStringLiteral("1 Column");
    spec.wrapStyle = QStringLiteral("Track-Wrap");
    CRichChild& item = AddItem(design, spec);
    const ItemLayout& layout = LayOut(item, design);
    const TrackCells& first = layout.trackCells[0];
    const TrackCells& second = layout.trackCells[1];
    const EdgeRect& end = layout.lineCells[static_cast<size_t>(first.timeEnd)];
    const EdgeRect& next = layout.lineCells[static_cast<size_t>(second.numberStart)];
    EXPECT_EQ(next.top, end.top);
    const int space = CellWidth(item, first.numberEnd - 1, first.numberEnd, 120); // "1. " ends in a space
    EXPECT_EQ(next.left - end.left, 3 * space);
    EXPECT_EQ(end.width(), 0); // the terminator itself keeps no box

    // Without Track-Wrap each track has its own line.
    TextSpec single = spec;
    single.wrapStyle = QStringLiteral("Multi-Line");
    CRichChild& lines = AddItem(design, single);
    const ItemLayout& own = LayOut(lines, design);
    EXPECT_GT(own.lineCells[static_cast<size_t>(second.numberStart)].top, own.lineCells[0].top);
}

TEST(LayoutTrackFlow, EmptyCellKeepsASpaceWideBoxForTheCaret)
{
    LabelDesign design = MakeDesign();
    TextSpec spec = TrackSpec(0);
    spec.textLayout = QStringLiteral("1 Column");
    spec.text = QStringLiteral("1. \b\b 0:01\b");
    CRichChild& item = AddItem(design, spec);
    const ItemLayout& layout = LayOut(item, design);
    EXPECT_EQ(layout.lineCells[3].width(), 0);                          // ends "1. "
    EXPECT_EQ(layout.lineCells[4].width(), CellWidth(item, 2, 3, 120)); // the empty title
}

TEST(LayoutTrackFlow, TopAndBottomLeavesTheHubBandEmpty)
{
    LabelDesign design = MakeDesign();
    TextSpec spec = TrackSpec(20);
    spec.surface = QStringLiteral("Disc 1");
    spec.left = 0;
    spec.top = 0;
    spec.width = 4625;
    spec.height = 4625;
    spec.textLayout = QStringLiteral("Top && Bottom");
    spec.alignment = QStringLiteral("Center");
    CRichChild& item = AddItem(design, spec);
    const ItemLayout& layout = LayOut(item, design);
    const int bandTop = 2312 - 800 - 50;
    const int bandBottom = 2312 + 800 + 50;
    bool below = false;
    for (const EdgeRect& cell : layout.lineCells) {
        if (cell == EdgeRect{})
            continue;
        EXPECT_TRUE(cell.bottom <= bandTop || cell.top >= bandBottom) << cell.top;
        below = below || cell.top >= bandBottom;
    }
    EXPECT_TRUE(below);
    // The first line below the band starts exactly at its edge.
    int firstBelow = 1 << 30;
    for (const EdgeRect& cell : layout.lineCells)
        firstBelow = cell.top >= bandBottom ? std::min(firstBelow, cell.top) : firstBelow;
    EXPECT_EQ(firstBelow, bandBottom);
}

TEST(LayoutTrackFlow, AutoFitOnACoverCentresTheList)
{
    LabelDesign design = MakeDesign();
    TextSpec spec = TrackSpec(7);
    spec.textLayout = QStringLiteral("1 Column");
    spec.autoFit = true;
    CRichChild& item = AddItem(design, spec);
    const ItemLayout& layout = LayOut(item, design);
    int top = 1 << 30;
    int bottom = 0;
    for (const EdgeRect& cell : layout.lineCells) {
        if (cell == EdgeRect{})
            continue;
        top = std::min(top, cell.top);
        bottom = std::max(bottom, cell.bottom);
    }
    EXPECT_GT(layout.fittedHeight, 120);
    EXPECT_LE(std::abs((top - 300) - (4300 - bottom)), 1);
}

} // namespace
} // namespace tvl
