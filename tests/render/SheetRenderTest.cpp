#include "document/model/SurfaceNames.h"
#include "images/CxImage.h"
#include "render/surface/PixelOverlays.h"
#include "tests/render/RenderProbe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

namespace tvl {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::RenderedView;
using test::SurfaceFixture;

constexpr ItemColor kRedItem = 0x000000ff;
constexpr ItemColor kBlueItem = 0x00ff0000;

// The first pixel that is not white along a row, from x on.
int FirstInk(const RenderedView& view, const SurfaceFixture& f, int x, int y, int limit)
{
    for (; x < limit; ++x) {
        if (view.At(f, x, y) != test::kWhite)
            return x;
    }
    return -1;
}

TEST(SheetRenderTest, SingleDiscSheetShowsTealOutlinesWhiteHubAndEmptySecondDisc)
{
    SurfaceFixture f;
    f.Select(u"Disc 1"_s);
    RenderedView view;
    view.Render(f);
    for (const char16_t* name : {u"Disc 1", u"Disc 2"}) {
        const EdgeRect r =
            SurfaceBitmaps::CoverSheetRect(*f.design.FindCover(QString::fromUtf16(name)), f.geometry);
        const int middle = (r.top + r.bottom) / 2;
        const int edge = FirstInk(view, f, r.left - 3, middle, r.right);
        ASSERT_GE(edge, r.left);
        EXPECT_LE(edge, r.left + 1);
        EXPECT_EQ(view.At(f, edge, middle), test::kTealDisc);
        EXPECT_EQ(view.At(f, edge + 5, middle), test::kWhite);
        EXPECT_EQ(view.At(f, (r.left + r.right) / 2, middle), test::kWhite) << "hub";
    }
    // Outside the sheet lies the grey workspace.
    EXPECT_EQ(view.window.pixel(0, 0) & 0xffffff, 0xb9b9b9u);
}

TEST(SheetRenderTest, ColouredDiscInvertsItsOutlineAndKeepsItsHubWhite)
{
    SurfaceFixture f;
    f.design.FindCover(u"Disc 1")->colors[0] = kRedItem;
    f.Select(u"Disc 1"_s);
    RenderedView view;
    view.Render(f);
    const EdgeRect r = SurfaceBitmaps::CoverSheetRect(*f.design.FindCover(u"Disc 1"), f.geometry);
    const EdgeRect hub = SurfaceBitmaps::CoverSheetRect(*f.design.FindCover(u"Disc 1"), f.geometry, true);
    const int middle = (r.top + r.bottom) / 2;
    const int edge = FirstInk(view, f, r.left - 3, middle, r.right);
    EXPECT_EQ(view.At(f, edge, middle), 0x00ffffu) << "red inverted";
    EXPECT_EQ(view.At(f, edge + 5, middle), test::kRed);
    EXPECT_EQ(view.At(f, (hub.left + hub.right) / 2, middle), test::kWhite);
    // The hub outline inverts what lies beneath it (the disc's ring or the white hole), then the disc is red.
    const int hubEdge = FirstInk(view, f, (hub.left + hub.right) / 2, middle, r.right);
    const QRgb beneath =
        view.bitmaps.Bitmap(Disc1Surface).pixel(hubEdge - r.left, middle - r.top) & 0xffffffu;
    EXPECT_EQ(view.At(f, hubEdge, middle), beneath ^ 0xffffffu);
    EXPECT_EQ(view.At(f, hubEdge + 3, middle), test::kRed);
}

TEST(SheetRenderTest, DuplicateDiscShowsDiscOneAtTheSecondPosition)
{
    SurfaceFixture f(u"Jewel", u"Single", DiscPositionMode::DuplicateDisc);
    f.design.FindCover(u"Disc 1")->colors[0] = kRedItem;
    f.Select(u"Disc 1"_s);
    RenderedView view;
    view.Render(f);
    const EdgeRect second = SurfaceBitmaps::CoverSheetRect(*f.design.FindCover(u"Disc 2"), f.geometry);
    EXPECT_EQ(view.At(f, second.left + 20, (second.top + second.bottom) / 2), test::kRed);

    SurfaceFixture plain;
    plain.design.FindCover(u"Disc 1")->colors[0] = kRedItem;
    plain.Select(u"Disc 1"_s);
    RenderedView other;
    other.Render(plain);
    EXPECT_EQ(other.At(plain, second.left + 20, (second.top + second.bottom) / 2), test::kWhite);
}

TEST(SheetRenderTest, DirectToDiscSheetShowsOnlyTheCurrentDisc)
{
    for (const bool direct : {false, true}) {
        SurfaceFixture f;
        if (direct)
            f.disc.paper1 = QSize(5500, 5500);
        CRichChild& disc1 = *f.design.FindCover(u"Disc 1");
        CRichChild& disc2 = *f.design.FindCover(u"Disc 2");
        disc1.left(437);
        disc1.top(437);
        disc2.left(800);
        disc2.top(800);
        f.Select(u"Disc 1"_s);
        RenderedView view;
        view.Render(f);
        // The bottom of disc 2 lies below disc 1.
        const EdgeRect r = SurfaceBitmaps::CoverSheetRect(disc2, f.geometry);
        const int x = (r.left + r.right) / 2;
        bool teal = false;
        for (int y = r.bottom - 4; y < r.bottom + 2; ++y)
            teal = teal || view.At(f, x, y) == test::kTealDisc;
        EXPECT_EQ(teal, !direct);
    }
}

TEST(SheetRenderTest, TextGuideReachesOntoThePaperOnlyForTheSelectedItem)
{
    SurfaceFixture f;
    CRichChild& front = *f.design.FindCover(u"Front Cover");
    front.colors[0] = kBlueItem;
    const int coverRight = front.left() + front.width();
    f.Add(u"Text 1"_s, u"Text"_s, u"Front Cover"_s, coverRight - 500, 2000, 1000, 500);
    f.Select(u"Front Cover"_s);
    f.scene.guidesOn = true;
    f.scene.selectedItem = u"Text 1"_s;

    RenderedView view;
    view.Render(f);
    const EdgeRect cover = SurfaceBitmaps::CoverSheetRect(front, f.geometry);
    const EdgeRect item = f.geometry.GetItemSheetRect(*f.design.FindItem(u"Text 1"), true);
    const int line = item.bottom;
    // Over the paper the frame is the window's black rectangle; over the cover it is the bitmap's
    // inverted guide (blue turns yellow), not black.
    EXPECT_EQ(view.At(f, cover.right + 3, line), test::kBlack);
    EXPECT_EQ(view.At(f, cover.right - 10, line), 0xffff00u);
    EXPECT_EQ(view.At(f, cover.right - 10, line + 3), 0x0000ffu);

    f.scene.selectedItem.clear();
    view.Render(f);
    EXPECT_EQ(view.At(f, cover.right + 3, line), test::kWhite) << "case sheets frame only the selected item";
}

TEST(SheetRenderTest, FoldedFrontCoverColoursOnlyItsFrontPanelOnScreen)
{
    SurfaceFixture f;
    CRichChild& front = *f.design.FindCover(u"Front Cover");
    front.colors[0] = kRedItem;
    f.Select(u"Front Cover"_s);
    RenderedView view;
    view.Render(f);
    const EdgeRect r = SurfaceBitmaps::CoverSheetRect(front, f.geometry);
    const QImage& bitmap = view.bitmaps.Bitmap(FrontSurface);
    const int fold = r.width() / 2;
    EXPECT_EQ(bitmap.pixel(fold - 3, r.height() / 2) & 0xffffff, test::kWhite);
    EXPECT_EQ(bitmap.pixel(fold + 3, r.height() / 2) & 0xffffff, test::kRed);
    EXPECT_EQ(bitmap.pixel(fold, r.height() / 2) & 0xffffff, test::kRed)
        << "the bitmap holds the label alone";
    EXPECT_NE(view.At(f, r.left + fold, r.top + r.height() / 2), test::kRed)
        << "the fold line is drawn over it";
}

TEST(SheetRenderTest, PrintableAreaGuideIsDashDotDotAndTurnsWithALandscapeSheet)
{
    SurfaceFixture f;
    f.Select(u"Front Cover"_s); // an 11000 x 8500 sheet: the Letter rectangle with x and y exchanged
    f.scene.guidesOn = true;
    RenderedView view;
    view.Render(f);
    const EdgeRect area = f.geometry.PageToDevice({250, 250, 10750, 8250}, true, false);
    int black = 0;
    int white = 0;
    for (int y = area.top + 1; y < area.bottom - 1; ++y)
        (view.At(f, area.right - 1, y) == test::kBlack ? black : white)++;
    EXPECT_GT(black, (black + white) / 3) << "dashes";
    EXPECT_GT(white, (black + white) / 3) << "gaps";
    const int unswappedRight = f.geometry.PageToDevice({0, 0, 8250, 0}, true, false).right - 1;
    const EdgeRect cover = SurfaceBitmaps::CoverSheetRect(*f.design.FindCover(u"Front Cover"), f.geometry);
    for (int y = cover.bottom + 5; y < area.bottom - 5; ++y)
        ASSERT_EQ(view.At(f, unswappedRight, y), test::kWhite) << y;

    f.scene.guidesOn = false;
    view.Render(f);
    for (int y = area.top + 1; y < area.bottom - 1; ++y)
        ASSERT_EQ(view.At(f, area.right - 1, y), test::kWhite);
}

TEST(SheetRenderTest, SelectionHandlesAreInvertedSquaresAroundTheItem)
{
    SurfaceFixture f;
    f.Add(u"Text 1"_s, u"Text"_s, u"Disc 1"_s, 2800, 1000, 2000, 400);
    f.Select(u"Disc 1"_s);
    RenderedView plain;
    plain.Render(f);
    f.scene.selectedItem = u"Text 1"_s;
    f.scene.selectionMarksOn = true;
    RenderedView marked;
    marked.Render(f);
    const EdgeRect r = f.geometry.GetItemSheetRect(*f.design.FindItem(u"Text 1"), true);
    const int cx = (r.left + r.right) / 2;
    const auto& handles = marked.result.handles;
    EXPECT_EQ(handles[0], QRect(cx - 5, r.top - 11, 10, 10));
    EXPECT_EQ(handles[5], QRect(r.right + 1, r.bottom + 1, 10, 10));
    for (const QRect& handle : handles) {
        const QPoint c = handle.center();
        EXPECT_EQ(marked.At(f, c.x(), c.y()), plain.At(f, c.x(), c.y()) ^ 0xffffffu);
    }
    EXPECT_FALSE(marked.result.selectionMarksEnded);

    f.scene.selectedItem = u"Disc 1"_s;
    marked.Render(f);
    EXPECT_TRUE(marked.result.selectionMarksEnded);
}

TEST(SheetRenderTest, TransparentPictureShowsTheColourBeneath)
{
    SurfaceFixture f;
    f.design.FindCover(u"Disc 1")->colors[0] = kRedItem;
    const CRichChild& disc = *f.design.FindCover(u"Disc 1");
    for (const bool transparent : {true, false}) {
        CRichChild& picture =
            f.Add(u"Image(1)"_s, u"Image"_s, u"Disc 1"_s, disc.left() + 300, disc.top() + 2000, 600, 600);
        picture.image = std::make_shared<CxImage>();
        ASSERT_TRUE(picture.image->Create(8, 8, 8, CXIMAGE_FORMAT_BMP)); // index 0, black
        if (transparent)
            picture.image->SetTransparentIndex(0);
        f.Select(u"Disc 1"_s);
        RenderedView view;
        view.Render(f);
        const EdgeRect r = f.geometry.GetItemSheetRect(picture, true);
        EXPECT_EQ(view.At(f, (r.left + r.right) / 2, (r.top + r.bottom) / 2),
                  transparent ? test::kRed : test::kBlack);
        EXPECT_EQ(view.bitmaps.pictures().stretchCount(), transparent ? 0 : 1);
        f.design.DeleteItem(f.design.IndexOf(u"Image(1)"));
    }
}

TEST(SheetRenderTest, RepaintOnlyCopiesAndPicturesStretchOncePerZoom)
{
    SurfaceFixture f;
    const CRichChild& cover = *f.design.FindCover(u"Front Cover");
    for (const int panel : {0, 1}) {
        const int half = cover.width() / 2;
        CRichChild& picture = f.Add(f.design.MakeUniqueName(u"Image"_s), u"Image"_s, u"Front Cover"_s,
                                    cover.left() + panel * half, cover.top(), half, cover.height());
        picture.bBackground(panel == 0 ? 2 : 1);
        picture.image = std::make_shared<CxImage>();
        ASSERT_TRUE(picture.image->Create(300, 200, 24, CXIMAGE_FORMAT_JPG));
    }
    f.Select(u"Front Cover"_s);
    RenderedView view;
    view.Render(f);
    const int drawn = view.bitmaps.itemsDrawn();
    EXPECT_EQ(view.bitmaps.pictures().stretchCount(), 2);
    for (int i = 0; i < 3; ++i)
        view.Paint(f);
    f.geometry.SetScrollPosition(QPoint(10, 10));
    view.Paint(f);
    EXPECT_EQ(view.bitmaps.itemsDrawn(), drawn);
    EXPECT_EQ(view.bitmaps.pictures().stretchCount(), 2);

    view.Render(f); // rendering again at the same zoom copies the stretched pictures
    EXPECT_EQ(view.bitmaps.pictures().stretchCount(), 2);
    ASSERT_TRUE(f.geometry.ZoomIn(f.design, view.bitmaps.Sizes()));
    view.Render(f);
    EXPECT_EQ(view.bitmaps.pictures().stretchCount(), 4);
}

TEST(SheetRenderTest, PictureBehindADiscShowsOnScreenAsItExports)
{
    SurfaceFixture f;
    const CRichChild& disc = *f.design.FindCover(u"Disc 1");
    // A background picture placed with an overlap reaches past the disc on every side.
    CRichChild& picture = f.Add(u"Image(1)"_s, u"Image"_s, u"Disc 1"_s, disc.left() - 100, disc.top() - 100,
                                disc.width() + 200, disc.width() + 200);
    picture.bBackground(1);
    QImage green(16, 16, QImage::Format_RGB32);
    green.fill(Qt::green);
    picture.image = std::make_shared<CxImage>();
    ASSERT_TRUE(picture.image->FromBitmap(green));
    f.Select(u"Disc 1"_s);
    RenderedView view;
    view.Render(f);
    const EdgeRect r = SurfaceBitmaps::CoverSheetRect(disc, f.geometry);
    const int middle = (r.top + r.bottom) / 2;
    // Around the right-most edge: the picture, its inverted outline or the white paper, nothing else.
    for (int y = middle - 30; y <= middle + 30; ++y) {
        for (int x = r.right - 4; x <= r.right + 3; ++x) {
            const QRgb pixel = view.At(f, x, y);
            EXPECT_TRUE(pixel == 0x00ff00u || pixel == 0xff00ffu || pixel == test::kWhite)
                << std::hex << pixel << " at " << std::dec << x - r.right << ", " << y - middle;
        }
    }
    EXPECT_EQ(view.At(f, r.right - 3, middle), 0x00ff00u);
    EXPECT_EQ(view.At(f, r.right + 1, middle), test::kWhite);
}

TEST(SheetRenderTest, EditingAidsAreDrawnOverTheBitmapsWithoutDrawingAnItem)
{
    SurfaceFixture f;
    f.Add(u"Text 1"_s, u"Text"_s, u"Disc 1"_s, 3000, 1500, 2000, 400);
    f.Select(u"Disc 1"_s);
    RenderedView view;
    view.Render(f);
    const int drawn = view.bitmaps.itemsDrawn();
    const QImage before = view.window;
    f.scene.guidesOn = true;
    f.scene.showGrid = true;
    view.Paint(f);
    const EdgeRect item = SurfaceBitmaps::CoverSheetRect(*f.design.FindItem(u"Text 1"), f.geometry);
    EXPECT_EQ(view.At(f, item.left + 3, item.top - 1), test::kBlack) << "the guide inverts white";
    const QPoint handle((item.left + item.right) / 2, item.top - 6);
    const QRgb unselected = view.At(f, handle.x(), handle.y());
    f.scene.selectedItem = u"Text 1"_s;
    f.scene.selectionMarksOn = true;
    view.Paint(f);
    ASSERT_TRUE(view.result.handles[0].contains(handle));
    EXPECT_EQ(view.At(f, handle.x(), handle.y()), unselected ^ 0xffffffu) << "the handle inverts";
    EXPECT_EQ(view.bitmaps.itemsDrawn(), drawn);
    EXPECT_NE(view.window, before);
    f.scene.guidesOn = false;
    f.scene.showGrid = false;
    f.scene.selectionMarksOn = false;
    view.Paint(f);
    EXPECT_EQ(view.window, before) << "switching the aids off leaves the sheet as it was";
}

TEST(PixelOverlaysTest, GridStartsAtTheStepLeftOfTheCover)
{
    // One pixel per 10 mils; the cover's left edge 150 and top 150.
    const auto toPixels = [](QPoint mils) { return QPoint(mils.x() / 10, mils.y() / 10); };
    const std::vector<QPoint> dots = GridDots({150, 150, 450, 350}, QSize(100, 100), toPixels);
    const std::set<std::pair<int, int>> found = [&] {
        std::set<std::pair<int, int>> points;
        for (const QPoint dot : dots)
            points.insert({dot.x(), dot.y()});
        return points;
    }();
    // x = 100, 200, 300, 400; y = 100, 200, 300; each dot one up and one left of its point.
    std::set<std::pair<int, int>> expected;
    for (const int x : {9, 19, 29, 39}) {
        for (const int y : {9, 19, 29})
            expected.insert({x, y});
    }
    EXPECT_EQ(found, expected);
    EXPECT_TRUE(GridDots({150, 150, 450, 350}, QSize(0, 100), toPixels).empty());
}

TEST(PixelOverlaysTest, GuideFrameHoldsEachPixelOnce)
{
    const std::vector<QRect> frame = ItemGuideFrame({5, 5, 12, 10});
    std::map<std::pair<int, int>, int> hits;
    for (const QRect& r : frame) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x)
                ++hits[{x, y}];
        }
    }
    EXPECT_EQ(hits.size(), static_cast<size_t>(2 * (7 + 2) + 2 * 5));
    for (const auto& [pixel, count] : hits)
        EXPECT_EQ(count, 1) << pixel.first << "," << pixel.second;
    EXPECT_TRUE(hits.count({4, 4}));
    EXPECT_TRUE(hits.count({12, 10}));
    EXPECT_FALSE(hits.count({5, 5}));
    EXPECT_TRUE(ItemGuideFrame({5, 5, 5, 10}).empty());
}

TEST(PixelOverlaysTest, EllipseOutlineIsASmoothGapFreeOnePixelCurve)
{
    // The large circle is a disc's hub at a high zoom: a polygonal outline strays from the true curve.
    for (const EdgeRect r : {EdgeRect{0, 0, 266, 266}, EdgeRect{3, 7, 95, 95}, EdgeRect{0, 0, 400, 120},
                             EdgeRect{10, 10, 1410, 1410}}) {
        std::set<std::pair<int, int>> curve;
        for (const QRect& run : EllipseOutline(r)) {
            for (int x = run.left(); x <= run.right(); ++x)
                curve.insert({x, run.top()});
        }
        const double a = (r.width() - 1) / 2.0;
        const double b = (r.height() - 1) / 2.0;
        const double cx = r.left + a;
        const double cy = r.top + b;
        for (const auto& [x, y] : curve) {
            ASSERT_TRUE(x >= r.left && x < r.right && y >= r.top && y < r.bottom);
            // Distance from the true ellipse through the outermost pixel centres, along the radius.
            const double dx = (x - cx) / a;
            const double dy = (y - cy) / b;
            const double scale = std::sqrt(dx * dx + dy * dy);
            const double off = std::abs(1.0 - scale) * std::min(a, b);
            ASSERT_LE(off, 1.0) << x << "," << y;
            int neighbours = 0;
            for (int ny = -1; ny <= 1; ++ny) {
                for (int nx = -1; nx <= 1; ++nx)
                    neighbours += (nx || ny) && curve.count({x + nx, y + ny});
            }
            ASSERT_GE(neighbours, 2) << x << "," << y;
        }
        // It reaches every side of r.
        EXPECT_TRUE(curve.count({r.left, static_cast<int>(cy)}) ||
                    curve.count({r.left, static_cast<int>(cy) + 1}));
        EXPECT_TRUE(curve.count({r.right - 1, static_cast<int>(cy)}) ||
                    curve.count({r.right - 1, static_cast<int>(cy) + 1}));
        EXPECT_TRUE(curve.count({static_cast<int>(cx), r.top}) ||
                    curve.count({static_cast<int>(cx) + 1, r.top}));
    }
}

} // namespace
} // namespace tvl
