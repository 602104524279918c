#include "editing/HitTest.h"

#include "tests/render/SurfaceFixture.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

using namespace Qt::Literals::StringLiterals;

// The generic disc stock: disc 1 at (1938, 688), 4625 across with a 1600 hub; disc 2 5000 mils lower. The
// jewel case: a folded front of 9520 × 4760 at (800, 800), a back of 5910 × 4650 at (1300, 600) with a
// spine of 250.
class HitTestTest : public testing::Test
{
protected:
    void SetUp() override
    {
        f.geometry.SetZoom(10);
        f.Select(u"Disc 1"_s);
    }

    // The window pixel that shows the sheet point (x, y) in mils, nudged inside.
    QPoint At(int x, int y) const
    {
        const EdgeRect r = f.geometry.PageToDevice({x, y, x, y}, true, true);
        return {r.left + 1, r.top + 1};
    }

    QStringList Stack(int x, int y, bool directToDisc = false) const
    {
        return HitStack(f.design, f.geometry, At(x, y), directToDisc);
    }

    test::SurfaceFixture f;
};

TEST_F(HitTestTest, RepeatedClicksCycleFromTheSmallestToTheLargest)
{
    f.Add(u"Image(1)"_s, u"Image"_s, u"Disc 1"_s, 2500, 2000, 2000, 2000);
    f.Add(u"Text 1"_s, u"Text"_s, u"Disc 1"_s, 2700, 2600, 1500, 400);
    const QPoint spot = At(2900, 2700);
    EXPECT_EQ(HitStack(f.design, f.geometry, spot, false),
              (QStringList{u"Text 1"_s, u"Image(1)"_s, u"Disc 1"_s}))
        << "the sheet under them is left out";

    HitCycler cycler;
    QString selected = u"Disc 1"_s;
    QStringList picked;
    for (int click = 0; click < 4; ++click) {
        selected = cycler.Hit(f.design, f.geometry, spot, selected, false);
        picked.append(selected);
    }
    EXPECT_EQ(picked, (QStringList{u"Text 1"_s, u"Image(1)"_s, u"Disc 1"_s, u"Text 1"_s}));
    // A click elsewhere starts again from the smallest.
    EXPECT_EQ(cycler.Hit(f.design, f.geometry, At(2600, 3500), u"Text 1"_s, false), u"Image(1)"_s);
}

TEST_F(HitTestTest, OfEqualAreasTheLaterItemWins)
{
    f.Add(u"Image(1)"_s, u"Image"_s, u"Disc 1"_s, 2500, 2000, 1000, 1000);
    f.Add(u"Image(2)"_s, u"Image"_s, u"Disc 1"_s, 2500, 2000, 1000, 1000);
    EXPECT_EQ(Stack(2600, 2100).mid(0, 2), (QStringList{u"Image(2)"_s, u"Image(1)"_s}));
}

TEST_F(HitTestTest, ADiscIsHitOnItsRingOnly)
{
    const int cx = 1938 + 4625 / 2;
    const int cy = 688 + 4625 / 2;
    EXPECT_EQ(Stack(cx + 100, cy + 100), QStringList{u"Page 1"_s}) << "the hub hole";
    EXPECT_EQ(Stack(cx + 1000, cy), QStringList{u"Disc 1"_s});
    EXPECT_EQ(Stack(1938 + 150, 688 + 150), QStringList{u"Page 1"_s})
        << "the square's corner outside the circle";
    EXPECT_EQ(Stack(-400, 300), QStringList{u"Page 1"_s}) << "off the sheet";
    EXPECT_EQ(Stack(cx, 5688 + 400), QStringList{u"Disc 2"_s});
}

TEST_F(HitTestTest, AreasThatOnlyFrameSmallerOnesAreLeftOut)
{
    f.Select(u"Back Cover"_s);
    EXPECT_EQ(Stack(1400, 2000), QStringList{u"Left Tab"_s}) << "the tab, not the back cover beneath it";
    EXPECT_EQ(Stack(3000, 2000), QStringList{u"Back Cover"_s});

    f.Select(u"Front Cover"_s);
    EXPECT_EQ(Stack(1000, 1000), QStringList{u"Front Cover (Inside)"_s});
    EXPECT_EQ(Stack(9000, 1000), QStringList{u"Front Cover"_s});
}

TEST_F(HitTestTest, AnUnfoldedFrontHidesItsInsidePanelAndWhatBarelyReachesIt)
{
    CRichChild& front = *f.design.FindCover(u"Front Cover");
    front.coverFolded = 0;
    CRichChild& inside = *f.design.FindItem(u"Front Cover (Inside)");
    inside.left(front.left());
    f.Add(u"Image(1)"_s, u"Image"_s, u"Front Cover"_s, 100, 900, 720, 500);
    f.Add(u"Image(2)"_s, u"Image"_s, u"Front Cover"_s, 100, 1500, 760, 500);
    f.Select(u"Front Cover"_s);
    EXPECT_EQ(Stack(1000, 1000), QStringList{u"Front Cover"_s});
    EXPECT_EQ(Stack(200, 1000), QStringList{u"Page 2"_s}) << "its right edge lies 20 mils into the cover";
    EXPECT_EQ(Stack(200, 1600), QStringList{u"Image(2)"_s});
}

TEST_F(HitTestTest, ADirectToDiscSheetOffersOnlyTheShownDisc)
{
    f.Add(u"Text 2"_s, u"Text"_s, u"Disc 2"_s, 2600, 6800, 1500, 400);
    EXPECT_EQ(Stack(2800, 6900), (QStringList{u"Text 2"_s, u"Disc 2"_s}));
    EXPECT_TRUE(Stack(2800, 6900, true).isEmpty());
    HitCycler cycler;
    EXPECT_TRUE(cycler.Hit(f.design, f.geometry, At(2800, 6900), u"Disc 1"_s, true).isEmpty());
}

} // namespace
} // namespace tvl
