#include "document/model/SurfaceNames.h"
#include "images/CxImage.h"
#include "render/surface/PixelOverlays.h"
#include "tests/render/RenderProbe.h"

#include <gtest/gtest.h>

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
    // Just outside the hub's outline the disc is red again, the hub outline itself inverted.
    const int hubEdge = FirstInk(view, f, (hub.left + hub.right) / 2, middle, r.right);
    EXPECT_EQ(view.At(f, hubEdge, middle), 0x00ffffu);
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
    EXPECT_NE(bitmap.pixel(fold, r.height() / 2) & 0xffffff, test::kRed) << "the fold line";
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

TEST(PixelOverlaysTest, GridStartsAtTheStepLeftOfTheCover)
{
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    // One pixel per 10 mils; the cover's left edge 150 and top 150, the bitmap starting at the cover.
    const auto toPixels = [](QPoint mils) { return QPoint(mils.x() / 10, mils.y() / 10); };
    DrawGrid(image, {150, 150, 450, 350}, QSize(100, 100), QPoint(15, 15), toPixels);
    std::set<std::pair<int, int>> dots;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xffffff) == 0)
                dots.insert({x, y});
        }
    }
    // x = 100 (outside the cover, clipped), 200, 300, 400; y = 100 (clipped), 200, 300.
    const std::set<std::pair<int, int>> expected{{4, 4}, {14, 4}, {24, 4}, {4, 14}, {14, 14}, {24, 14}};
    EXPECT_EQ(dots, expected);
    DrawGrid(image, {150, 150, 450, 350}, QSize(100, 100), QPoint(15, 15), toPixels);
    EXPECT_EQ(image.pixel(4, 4) & 0xffffff, 0xffffffu) << "drawing again removes the dots";
}

TEST(PixelOverlaysTest, GuideFrameInvertsEachPixelOnce)
{
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    DrawItemGuide(image, {5, 5, 12, 10});
    int inverted = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x)
            inverted += (image.pixel(x, y) & 0xffffff) == 0;
    }
    EXPECT_EQ(inverted, 2 * (7 + 2) + 2 * 5);
    EXPECT_EQ(image.pixel(4, 4) & 0xffffff, 0u);
    EXPECT_EQ(image.pixel(12, 10) & 0xffffff, 0u);
    EXPECT_EQ(image.pixel(5, 5) & 0xffffff, 0xffffffu);
    DrawItemGuide(image, {5, 5, 12, 10});
    EXPECT_EQ(image.pixel(4, 4) & 0xffffff, 0xffffffu);
}

TEST(PixelOverlaysTest, EllipseOutlineIsAGapFreeOnePixelCurve)
{
    for (const EdgeRect r : {EdgeRect{0, 0, 266, 266}, EdgeRect{3, 7, 95, 95}, EdgeRect{0, 0, 400, 120}}) {
        std::set<std::pair<int, int>> curve;
        for (const QRect& run : EllipseOutline(r)) {
            for (int x = run.left(); x <= run.right(); ++x)
                curve.insert({x, run.top()});
        }
        const QRegion filled(r.toQRect(), QRegion::Ellipse);
        for (const auto& [x, y] : curve) {
            ASSERT_TRUE(filled.contains(QPoint(x, y)));
            int neighbours = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx)
                    neighbours += (dx || dy) && curve.count({x + dx, y + dy});
            }
            ASSERT_GE(neighbours, 2) << x << "," << y;
        }
        // Every pixel of the filled ellipse that touches the outside is on the curve.
        for (const QRect& band : filled) {
            for (int y = band.top(); y <= band.bottom(); ++y) {
                for (int x = band.left(); x <= band.right(); ++x) {
                    const bool edge =
                        !filled.contains(QPoint(x - 1, y)) || !filled.contains(QPoint(x + 1, y)) ||
                        !filled.contains(QPoint(x, y - 1)) || !filled.contains(QPoint(x, y + 1));
                    if (edge) {
                        ASSERT_TRUE(curve.count({x, y})) << x << "," << y;
                    }
                }
            }
        }
    }
}

} // namespace
} // namespace tvl
