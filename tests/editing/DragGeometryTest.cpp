#include "editing/DragGeometry.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

TEST(DragGeometryTest, SnapRoundsHalfDownAndNegativeValuesByFloor)
{
    const struct
    {
        int value;
        int step;
        int snapped;
    } cases[] = {
        {1249, 100, 1200},   {1250, 100, 1200},   {1251, 100, 1300},   {1200, 100, 1200}, {0, 100, 0},
        {-1249, 100, -1200}, {-1250, 100, -1300}, {-1251, 100, -1300}, {-49, 100, 0},     {-51, 100, -100},
        {62, 125, 0},        {63, 125, 125},      {1249, 0, 1249},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SnapToGrid(c.value, c.step), c.snapped) << c.value << " on a grid of " << c.step;
}

TEST(DragGeometryTest, DraggedEdgesSnapAndTheOthersStay)
{
    DragRules rules;
    rules.snap = true;
    const EdgeRect start{210, 330, 1000, 700};
    EXPECT_EQ(DragRect(start, DragMode::Right, {249, 5}, rules), (EdgeRect{210, 330, 1200, 700}));
    EXPECT_EQ(DragRect(start, DragMode::Right, {251, 5}, rules), (EdgeRect{210, 330, 1300, 700}));
    EXPECT_EQ(DragRect(start, DragMode::Right, {250, 5}, rules), (EdgeRect{210, 330, 1200, 700}));
    EXPECT_EQ(DragRect(start, DragMode::TopLeft, {-50, -80}, rules), (EdgeRect{200, 200, 1000, 700}));
    // A move snaps the left and top edges and keeps the size.
    EXPECT_EQ(DragRect(start, DragMode::Move, {1000, 1000}, rules), (EdgeRect{1200, 1300, 1990, 1670}));
    rules.snap = false;
    EXPECT_EQ(DragRect(start, DragMode::Move, {7, -3}, rules), start.translated(7, -3));
    EXPECT_EQ(DragRect(start, DragMode::Select, {7, -3}, rules), start);
}

TEST(DragGeometryTest, TextStaysOnItsSurfaceAndPicturesMayLeaveIt)
{
    DragRules rules;
    rules.bounds = {1000, 1000, 5000, 5000};
    const EdgeRect text{1500, 1500, 3500, 1900};
    EXPECT_EQ(DragRect(text, DragMode::Move, {-800, 0}, rules), (EdgeRect{1000, 1500, 3000, 1900}));
    EXPECT_EQ(DragRect(text, DragMode::Move, {4000, 4000}, rules), (EdgeRect{3000, 4600, 5000, 5000}));
    EXPECT_EQ(DragRect(text, DragMode::Left, {-900, 0}, rules), (EdgeRect{1000, 1500, 3500, 1900}));
    EXPECT_EQ(DragRect(text, DragMode::BottomRight, {3000, 3000}, rules), (EdgeRect{1500, 1500, 5000, 4900}));
    rules.image = true;
    EXPECT_EQ(DragRect(text, DragMode::Move, {-800, 0}, rules), (EdgeRect{700, 1500, 2700, 1900}));
    EXPECT_EQ(DragRect(text, DragMode::Left, {-900, 0}, rules), (EdgeRect{600, 1500, 3500, 1900}));
    // Without a surface there is no bound.
    rules.image = false;
    rules.bounds = {};
    EXPECT_EQ(DragRect(text, DragMode::Move, {-800, 0}, rules), (EdgeRect{700, 1500, 2700, 1900}));
}

TEST(DragGeometryTest, ShrinkingStopsAtTheMinimumWithTheOppositeEdgesFixed)
{
    DragRules rules;
    const EdgeRect start{1000, 1000, 3000, 1400};
    EXPECT_EQ(DragRect(start, DragMode::Right, {-1950, 0}, rules), (EdgeRect{1000, 1000, 1100, 1400}));
    EXPECT_EQ(DragRect(start, DragMode::Left, {5000, 0}, rules), (EdgeRect{2900, 1000, 3000, 1400}))
        << "an edge pulled past the opposite one";
    EXPECT_EQ(DragRect(start, DragMode::TopRight, {-5000, 390}, rules), (EdgeRect{1000, 1300, 1100, 1400}));
    rules.snap = true;
    EXPECT_EQ(DragRect(start, DragMode::Bottom, {0, -390}, rules), (EdgeRect{1000, 1000, 3000, 1100}))
        << "snapped to 1000, then raised to the minimum";
}

TEST(DragGeometryTest, ALockedPictureKeepsItsProportions)
{
    DragRules rules;
    rules.image = true;
    rules.lockedPicture = QSize(400, 200);
    const EdgeRect start{1000, 1000, 3000, 2000};
    // Sideways the height follows the width and the picture stays centred where it was.
    EXPECT_EQ(DragRect(start, DragMode::Right, {1000, 0}, rules), (EdgeRect{1000, 750, 4000, 2250}));
    EXPECT_EQ(DragRect(start, DragMode::Left, {1000, 0}, rules), (EdgeRect{2000, 1250, 3000, 1750}));
    // Up or down the width follows the height.
    EXPECT_EQ(DragRect(start, DragMode::Bottom, {0, 500}, rules), (EdgeRect{500, 1000, 3500, 2500}));
    // A corner keeps the opposite corner and fits the box inside what was dragged.
    EXPECT_EQ(DragRect(start, DragMode::BottomRight, {1000, 1000}, rules),
              (EdgeRect{1000, 1000, 4000, 2500}));
    EXPECT_EQ(DragRect(start, DragMode::TopLeft, {0, -1000}, rules), (EdgeRect{1000, 1000, 3000, 2000}));
    // A picture that cannot be fitted takes the dragged size.
    rules.lockedPicture = QSize(100000, 10);
    EXPECT_EQ(DragRect(start, DragMode::Right, {1000, 0}, rules), (EdgeRect{1000, 1000, 4000, 2000}));
}

TEST(DragGeometryTest, FittingToAPicture)
{
    double w = 1000;
    double h = 1000;
    EXPECT_TRUE(FitToPicture(QSize(300, 200), w, h));
    EXPECT_EQ(w, 1000);
    EXPECT_EQ(h, 666) << "truncated";
    w = 1000;
    h = 1000;
    EXPECT_TRUE(FitToPicture(QSize(200, 300), w, h));
    EXPECT_EQ(w, 666);
    EXPECT_EQ(h, 1000);
    for (const QSize picture : {QSize(0, 10), QSize(10, 0), QSize(5010, 10), QSize(10, 5010)}) {
        w = 1000;
        h = 500;
        EXPECT_FALSE(FitToPicture(picture, w, h)) << picture.width() << " x " << picture.height();
        EXPECT_EQ(w, 1000);
        EXPECT_EQ(h, 500);
    }
}

} // namespace
} // namespace tvl
