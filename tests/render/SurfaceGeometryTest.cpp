#include "render/surface/DeviceRect.h"
#include "render/surface/SurfaceBitmaps.h"
#include "tests/render/SurfaceFixture.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::SurfaceFixture;

TEST(DeviceRectTest, DiscGivesOuterSquareAndCentredHubThatInflationShrinks)
{
    CRichChild disc;
    disc.name = u"Disc 1"_s;
    disc.left(1000);
    disc.top(2000);
    disc.width(4625);
    disc.height(1600);
    EXPECT_EQ(GetDeviceRect(disc, false, 0, 0, 0, 1.0f, 0, 0), (EdgeRect{1000, 2000, 5625, 6625}));
    EXPECT_EQ(GetDeviceRect(disc, true, 0, 0, 0, 1.0f, 0, 0), (EdgeRect{2512, 3512, 4112, 5112}));
    EXPECT_EQ(GetDeviceRect(disc, false, 50, 0, 0, 1.0f, 0, 0), (EdgeRect{950, 1950, 5675, 6675}));
    EXPECT_EQ(GetDeviceRect(disc, true, 50, 0, 0, 1.0f, 0, 0), (EdgeRect{2562, 3562, 4062, 5062}));
    // Offsets scale with the resolution of their axis, the inflation with the horizontal one.
    EXPECT_EQ(GetDeviceRect(disc, false, 100, 300, 600, 1.0f, -1000, -2000),
              (EdgeRect{-30, -30, 1417, 2805}));
}

TEST(ViewGeometryTest, MilsToScreenPixels)
{
    ViewGeometry geometry;
    geometry.SetScreenDpi(96, 96);
    geometry.SetZoom(10);
    EXPECT_EQ(geometry.PageToDevice({0, 0, 4625, 4625}, true, false).right, 444);
    geometry.SetZoom(6);
    EXPECT_EQ(geometry.PageToDevice({0, 0, 4625, 4625}, true, false).right, 266);
    EXPECT_EQ(geometry.PageToDevice({0, 0, 4625, 4625}, false, false).right, 444);
    EXPECT_EQ(geometry.PageToDevice({0, 0, 8500, 11000}, true, false).right, 489);
    // The screen's own mapping of an item agrees with the page mapping.
    CRichChild disc;
    disc.name = u"Disc 1"_s;
    disc.width(4625);
    disc.height(1600);
    EXPECT_EQ(GetDeviceRect(disc, false, 0, 96, 96, geometry.zoomFactor(), 0, 0).right, 266);
}

TEST(ViewGeometryTest, LetterSheetIsCentredOrStartsAtTheMargin)
{
    SurfaceFixture f;
    f.geometry.SetClientSize(QSize(600, 800));
    f.Select(u"Disc 1"_s);
    EXPECT_EQ(f.geometry.pageOrigin().x(), -57);
    f.geometry.SetClientSize(QSize(510, 800));
    f.geometry.UpdateScrollSizes(f.design);
    f.geometry.UpdatePageOrigin();
    EXPECT_EQ(f.geometry.pageOrigin().x(), -17);
    EXPECT_EQ(f.geometry.scrollSize().width(), 523);
    // A sheet pixel lands at x - origin - scroll in the window.
    f.geometry.SetScrollPosition(QPoint(5, 0));
    EXPECT_EQ(f.geometry.PageToDevice({0, 0, 0, 0}, true, true).left, 12);

    LabelDesign empty;
    f.geometry.UpdateScrollSizes(empty);
    EXPECT_EQ(f.geometry.scrollSize(), QSize(3, 3));
}

TEST(ViewGeometryTest, SelectingSurfacesChangesSheet)
{
    SurfaceFixture f;
    f.Select(u"Back Cover"_s);
    EXPECT_EQ(f.geometry.currentPageCode(), u"3"_s);
    EXPECT_EQ(f.geometry.pageRect(), (EdgeRect{0, 0, 8500, 11000}));
    f.Select(u"Front Cover"_s);
    EXPECT_EQ(f.geometry.currentPageCode(), u"2"_s);
    EXPECT_EQ(f.geometry.pageRect(), (EdgeRect{0, 0, 11000, 8500}));
    EXPECT_FALSE(f.geometry.SelectSurface(f.design, f.disc, f.caseStock, u"Nowhere"_s));
    EXPECT_EQ(f.geometry.currentSurface(), u"Front Cover"_s);

    CRichChild& text = f.Add(u"Text 1"_s, u"Text"_s, u"Back Cover"_s, 2000, 1000, 1000, 500);
    f.geometry.FollowSelectedItem(text);
    EXPECT_EQ(f.geometry.currentSurface(), u"Back Cover"_s);
    EXPECT_EQ(f.geometry.currentPageCode(), u"3"_s);
    f.geometry.FollowSelectedItem(*f.design.FindItem(u"Page 1"));
    EXPECT_EQ(f.geometry.currentPageCode(), u"3"_s);
}

TEST(ViewGeometryTest, ZoomStopsWhereTheSurfaceNoLongerFitsItsBitmap)
{
    SurfaceBitmaps bitmaps;
    ASSERT_TRUE(bitmaps.Create());
    struct Case
    {
        const char16_t* surface;
        int largest;
    };
    for (const Case& c : {Case{u"Front Cover", 18}, Case{u"Disc 1", 24}}) {
        SurfaceFixture f;
        f.Select(QString::fromUtf16(c.surface));
        while (f.geometry.ZoomIn(f.design, bitmaps.Sizes())) {
        }
        EXPECT_EQ(f.geometry.zoom(), c.largest) << c.largest;
    }

    SurfaceFixture f;
    f.Select(u"Disc 1"_s);
    for (const auto& [from, to] : {std::pair{6, 6}, {7, 7}, {8, 6}, {12, 10}}) {
        f.geometry.SetZoom(from);
        EXPECT_EQ(f.geometry.ZoomOut(f.design), from != to);
        EXPECT_EQ(f.geometry.zoom(), to);
    }
}

TEST(ViewGeometryTest, ZoomKeepsTheWindowCentreOnTheSamePointOfAScrollingSheet)
{
    SurfaceFixture f;
    f.geometry.SetClientSize(QSize(300, 300));
    f.Select(u"Disc 1"_s);
    f.geometry.SetScrollPosition(QPoint(100, 150));
    const QPoint before = f.geometry.WindowToPage(QPoint(150, 150));
    const std::array<QSize, 4> sizes{QSize(1800, 1078), QSize(1500, 1095), QSize(1080, 1080),
                                     QSize(1080, 1080)};
    ASSERT_TRUE(f.geometry.ZoomIn(f.design, sizes));
    const QPoint after = f.geometry.WindowToPage(QPoint(150, 150));
    EXPECT_NEAR(after.x(), before.x(), 15);
    EXPECT_NEAR(after.y(), before.y(), 15);
}

} // namespace
} // namespace tvl
