#include "render/text/AutoFitSearch.h"
#include "render/text/DiscLineSegments.h"
#include "render/text/RotateRect.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tvl {
namespace {

TEST(RotateRect, TurnsIntoTheUprightFrameAndBack)
{
    const EdgeRect rect{100, 200, 1100, 3200};
    const int side = 4625;
    EXPECT_EQ(RotateRect(rect, 0, side, true), rect);
    EXPECT_EQ(RotateRect(rect, 1800, side, true),
              (EdgeRect{side - 1100, side - 3200, side - 100, side - 200}));
    const EdgeRect upright = RotateRect(rect, 900, side, true);
    EXPECT_EQ(upright, (EdgeRect{side - 3200, 100, side - 200, 1100}));
    EXPECT_EQ(upright.width(), 3000); // lines run along the block's height
    EXPECT_EQ(upright.height(), 1000);
    for (const int escapement : {900, -900, 1800})
        EXPECT_EQ(RotateRect(RotateRect(rect, escapement, side, true), escapement, side, false), rect);
    EXPECT_EQ(EscapementOfAngle(u"90 degrees"), 900);
    EXPECT_EQ(EscapementOfAngle(u"270 degrees"), -900);
    EXPECT_EQ(EscapementOfAngle(u"0 degrees"), 0);
}

LayoutFrame Disc()
{
    // A 4625-mil disc with a 1600-mil hub and a 50-mil margin; the item covers the whole square.
    return LayoutFrame{{0, 0, 4625, 4625}, true, {2312, 800, 50}};
}

TEST(DiscLineSegments, CoverGivesTheRectWidth)
{
    const LineSegments segments = DiscLineSegments(LayoutFrame{{10, 20, 900, 400}, false, {}}, 30, 100);
    EXPECT_EQ(segments.left0, 10);
    EXPECT_EQ(segments.left1, 900);
    EXPECT_FALSE(segments.hasRight);
}

TEST(DiscLineSegments, ChordsKeepTheMarginFromRimAndHub)
{
    const LayoutFrame disc = Disc();
    // Above the hub: the chord at the line's top, 2262 from the centre ring of the margin.
    const LineSegments top = DiscLineSegments(disc, 500, 200);
    const int w = static_cast<int>(std::sqrt(2262.0 * 2262 - (2312.0 - 500) * (2312.0 - 500)));
    EXPECT_EQ(top.left0, 2312 - w);
    EXPECT_EQ(top.left1, 2312 + w);
    EXPECT_FALSE(top.hasRight);

    // Across the hub: two segments that stop 850 (hub radius plus margin) from the centre.
    const LineSegments middle = DiscLineSegments(disc, 2200, 200);
    ASSERT_TRUE(middle.hasRight);
    EXPECT_EQ(middle.left1, 2312 - 850);
    EXPECT_EQ(middle.right0, 2312 + 850);
    // The rim is measured at the line's top edge, the one farther from the centre.
    const int chord = static_cast<int>(std::sqrt(2262.0 * 2262 - 112.0 * 112));
    EXPECT_EQ(middle.left0, 2312 - chord);
    EXPECT_EQ(middle.right1, 2312 + chord);

    // Beyond the rim's margin there is no room.
    const LineSegments outside = DiscLineSegments(disc, 0, 30);
    EXPECT_EQ(outside.LeftWidth(), 0);
}

TEST(DiscLineSegments, ItemBesideTheHubUsesItsSide)
{
    LayoutFrame disc = Disc();
    disc.rect = {0, 0, 1500, 4625}; // only the left part of the disc
    const LineSegments segments = DiscLineSegments(disc, 2200, 200);
    EXPECT_FALSE(segments.hasRight);
    EXPECT_EQ(segments.left0, 2312 - static_cast<int>(std::sqrt(2262.0 * 2262 - 112.0 * 112)));
    EXPECT_EQ(segments.left1, 2312 - 850);
}

TEST(AutoFitSearch, GrowsFrom405InMultiplesOfFive)
{
    AutoFitSearch search(400);
    std::vector<int> sizes{search.size()};
    while (search.Record(sizes.back() <= 700) == AutoFitSearch::Outcome::TryNext)
        sizes.push_back(search.size());
    EXPECT_EQ(sizes.front(), 405);
    EXPECT_EQ(sizes[1], 445); // trunc(405 × 1.1) = 445
    EXPECT_EQ(sizes[2], 490); // trunc(445 × 1.1) = 489, up to 490
    for (const int size : sizes)
        EXPECT_EQ(size % 5, 0) << size;
    EXPECT_EQ(sizes.back(), 700); // settles on the largest fitting multiple of 5
    EXPECT_LE(sizes.size(), 70u);
}

TEST(AutoFitSearch, ShrinksToTheSmallestSizeAndStops)
{
    AutoFitSearch search(120);
    std::vector<int> sizes{search.size()};
    AutoFitSearch::Outcome outcome;
    while ((outcome = search.Record(false)) == AutoFitSearch::Outcome::TryNext)
        sizes.push_back(search.size());
    EXPECT_EQ(outcome, AutoFitSearch::Outcome::Stopped);
    EXPECT_EQ(sizes.front(), 125);
    EXPECT_EQ(sizes[1], 115); // trunc(125 × 0.9) = 112, up to 115
    EXPECT_EQ(search.size(), AutoFitSearch::kMinSize);
}

TEST(AutoFitSearch, GrowsToTheLargestSizeWithinTheBound)
{
    AutoFitSearch search(20);
    EXPECT_EQ(search.size(), AutoFitSearch::kMinSize);
    int passes = 1;
    while (search.Record(true) == AutoFitSearch::Outcome::TryNext)
        ++passes;
    EXPECT_EQ(search.size(), AutoFitSearch::kMaxSize);
    EXPECT_LE(passes, AutoFitSearch::kMaxSearchPasses);
}

} // namespace
} // namespace tvl
