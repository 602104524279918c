#include "document/model/SurfaceNames.h"
#include "images/CxImage.h"
#include "print/export/LabelExport.h"
#include "render/picture/PlaceBackground.h"
#include "render/surface/RenderSurfaceImage.h"
#include "tests/render/SurfaceFixture.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::SurfaceFixture;

constexpr ItemColor kRedItem = 0x000000ff;
constexpr QRgb kRed = 0xff0000;
constexpr QRgb kWhite = 0xffffff;
constexpr QRgb kBlack = 0x000000;

QRgb Pixel(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xffffffu;
}

std::shared_ptr<CxImage> SolidPicture(QColor colour)
{
    QImage pixels(16, 16, QImage::Format_RGB32);
    pixels.fill(colour);
    auto picture = std::make_shared<CxImage>();
    picture->FromBitmap(pixels);
    return picture;
}

TEST(SurfaceImageTest, SizeFollowsResolutionAndOverlap)
{
    SurfaceFixture f;
    struct Case
    {
        int label, resolution, overlap;
        const char* text;
    };
    for (const Case& c : {Case{2, 300, 0, "1387 x 1387 pixels "}, Case{3, 600, 2, "2895 x 2895 pixels "},
                          Case{0, 150, 0, "1428 x 714 pixels "}, Case{1, 300, 3, "1863 x 1485 pixels "},
                          Case{2, 96, 0, "444 x 444 pixels "}}) {
        EXPECT_EQ(ExportSizeText(f.design, {c.label, c.resolution, 0, c.overlap}),
                  QString::fromLatin1(c.text));
    }
    SurfaceImageRequest request;
    request.surface = Disc1Surface;
    EXPECT_EQ(RenderSurfaceImage(f.design, request).size(), QSize(1387, 1387));
    request.dpiY = 150;
    EXPECT_EQ(RenderSurfaceImage(f.design, request).size(), QSize(1387, 693))
        << "any resolution, either axis";
    request.dpiX = 0;
    EXPECT_TRUE(RenderSurfaceImage(f.design, request).isNull());
    EXPECT_FALSE(RequestForCodes(Disc1Surface, 5, 0, 0));
    EXPECT_EQ(RequestForCodes(Disc1Surface, 7, 3, 2)->borderMode, NoBorder) << "previews draw no borders";
    EXPECT_EQ(RequestForCodes(Disc1Surface, 8, 0, 2, 30)->overlap, 30);
}

TEST(SurfaceImageTest, DiscIsClippedToItsRingGrownByTheOverlap)
{
    SurfaceFixture f;
    f.design.FindCover(u"Disc 1")->colors[0] = kRedItem;
    SurfaceImageRequest request;
    request.surface = Disc1Surface;
    request.dpiX = request.dpiY = 150; // the disc is 693 pixels, its hub 240
    for (const int overlapCode : {0, 2}) {
        request.overlap = OverlapMils(overlapCode);
        const QImage image = RenderSurfaceImage(f.design, request);
        const int grow = overlapCode ? 15 : 0;
        const int centre = image.width() / 2;
        EXPECT_EQ(Pixel(image, 2, 2), kWhite) << "corner";
        EXPECT_EQ(Pixel(image, centre, centre), kWhite) << "hub";
        EXPECT_EQ(Pixel(image, grow + 3, centre), kRed) << "ring at the outer edge";
        // The hub hole (radius 120 pixels) shrinks by the overlap.
        EXPECT_EQ(Pixel(image, centre - 120 + grow + 3, centre), kWhite);
        EXPECT_EQ(Pixel(image, centre - 120 + grow - 3, centre), kRed);
    }
}

TEST(SurfaceImageTest, CoverInTheBackgroundColourStillCoversWhatIsDrawnBeforeIt)
{
    SurfaceFixture f;
    const CRichChild& disc = *f.design.FindCover(u"Disc 1");
    f.Add(u"Image(1)"_s, u"Image"_s, u"Disc 1"_s, disc.left(), disc.top(), disc.width(), disc.width()).image =
        SolidPicture(Qt::green);
    SurfaceImageRequest request;
    request.surface = Disc1Surface;
    request.dpiX = request.dpiY = 150;
    const int ring = 20;
    EXPECT_EQ(Pixel(RenderSurfaceImage(f.design, request), ring, 693 / 2), 0x00ff00u);

    // The white disc now lies on the picture.
    f.design.InsertItem(f.design.TakeItem(f.design.IndexOf(u"Image(1)")), f.design.IndexOf(u"Disc 1"));
    EXPECT_EQ(Pixel(RenderSurfaceImage(f.design, request), ring, 693 / 2), kWhite);
}

TEST(SurfaceImageTest, BordersAndFoldLinesFollowTheBorderMode)
{
    SurfaceFixture f;
    SurfaceImageRequest request;
    request.dpiX = request.dpiY = 150;
    for (const int mode : {0, 1, 2, 3}) {
        request.borderMode = mode;
        request.surface = FrontSurface;
        const QImage front = RenderSurfaceImage(f.design, request);
        const int fold = front.width() / 2;
        EXPECT_EQ(Pixel(front, 0, 100) == kBlack, (mode & 1) != 0) << mode;
        EXPECT_EQ(Pixel(front, front.width() - 1, 100) == kBlack, (mode & 1) != 0) << mode;
        EXPECT_EQ(Pixel(front, fold, 100) == kBlack, (mode & 2) != 0) << mode;

        request.surface = BackSurface;
        const QImage back = RenderSurfaceImage(f.design, request);
        const int spine = 250 * 150 / 1000;
        EXPECT_EQ(Pixel(back, spine, 100) == kBlack, (mode & 2) != 0) << mode;
        EXPECT_EQ(Pixel(back, back.width() - spine, 100) == kBlack, (mode & 2) != 0) << mode;

        request.surface = Disc1Surface;
        const QImage disc = RenderSurfaceImage(f.design, request);
        EXPECT_EQ(Pixel(disc, 0, disc.height() / 2) == kBlack, (mode & 1) != 0) << mode;
    }
}

TEST(SurfaceImageTest, FoldedBookletInsidePictureRunsPastTheOuterEdgeButNotTheFold)
{
    SurfaceFixture f;
    const CRichChild& front = *f.design.FindCover(u"Front Cover");
    CRichChild& picture =
        f.Add(u"Image(1)"_s, u"Image"_s, u"Front Cover"_s, front.left() + 500, front.top() + 500, 1000, 1000);
    picture.image = SolidPicture(Qt::green);
    f.Add(u"Text 1"_s, u"Text"_s, u"Front Cover"_s, front.left() + 6000, front.top() + 500, 1000, 500);
    ASSERT_TRUE(PlaceBackground(f.design, picture, {100, 0, 0}, u"Jewel"));
    EXPECT_EQ(picture.bBackground(), 2);
    EXPECT_EQ(picture.left(), front.left() - 100);
    EXPECT_EQ(picture.left() + picture.width(), front.left() + front.width() / 2);
    EXPECT_EQ(picture.top(), front.top() - 100);
    EXPECT_EQ(picture.height(), front.height() + 200);
    EXPECT_EQ(picture.bAspectRatio(), 0);
    // Drawn before the content of its surface, after its structural items.
    EXPECT_LT(f.design.IndexOf(u"Image(1)"), f.design.IndexOf(u"Text 1"));
    EXPECT_GT(f.design.IndexOf(u"Image(1)"), f.design.IndexOf(u"Front Cover (Inside)"));

    SurfaceImageRequest request;
    request.surface = FrontSurface;
    request.dpiX = request.dpiY = 150;
    request.overlap = 100;
    const QImage image = RenderSurfaceImage(f.design, request);
    const int fold = 15 + 1428 / 2;
    EXPECT_EQ(Pixel(image, 2, 2), 0x00ff00u) << "past the outer edge";
    EXPECT_EQ(Pixel(image, fold - 3, 100), 0x00ff00u);
    EXPECT_EQ(Pixel(image, fold + 3, 100), kWhite) << "not past the fold";

    CRichChild& right =
        f.Add(u"Image(2)"_s, u"Image"_s, u"Front Cover"_s, front.left() + 6000, front.top(), 100, 100);
    ASSERT_TRUE(PlaceBackground(f.design, right, {100, 0, 0}, u"Jewel"));
    EXPECT_EQ(right.bBackground(), 1);
    EXPECT_EQ(right.left(), front.left() + front.width() / 2);
    EXPECT_EQ(right.left() + right.width(), front.left() + front.width() + 100);
}

TEST(SurfaceImageTest, DvdWrapAroundPictureGoesToTheNearerTab)
{
    SurfaceFixture f(u"DVD");
    const CRichChild& left = *f.design.FindItem(u"Left Tab");
    CRichChild& right = *f.design.FindItem(u"Right Tab");
    // An even gap between the tabs, so that a picture can sit exactly in its middle.
    if ((right.left() - left.left() - left.width()) % 2 != 0) {
        right.left(right.left() - 1);
        right.width(right.width() + 1);
    }
    const int between = (left.left() + left.width() + right.left()) / 2;
    struct Case
    {
        int centreX;
        int background;
    };
    for (const Case& c :
         {Case{between, 4}, Case{between - 1, 3}, Case{left.left() + 10, 3}, Case{right.left() + 1, 4}}) {
        CRichChild& picture = f.Add(f.design.MakeUniqueName(u"Image"_s), u"Image"_s, u"Back Cover"_s,
                                    c.centreX - 100, right.top() + 1000, 200, 200);
        ASSERT_TRUE(PlaceBackground(f.design, picture, {0, 150, 0}, u"DVD"));
        EXPECT_EQ(picture.bBackground(), c.background) << c.centreX;
        const CRichChild& tab = c.background == 4 ? right : left;
        EXPECT_EQ(picture.top(), tab.top() - 150);
        EXPECT_EQ(picture.width(), tab.width() + 150);
        EXPECT_EQ(picture.left(), c.background == 4 ? tab.left() : tab.left() - 150);
    }
    CRichChild text;
    text.kind = ItemKind::Text;
    EXPECT_FALSE(PlaceBackground(f.design, text, {}, u"DVD"));
}

TEST(SurfaceImageTest, CoverColoursGrowByTheOverlapOnTheirOwnSides)
{
    SurfaceFixture f;
    f.design.FindItem(u"Left Tab")->colors[0] = kRedItem;
    SurfaceImageRequest request;
    request.surface = BackSurface;
    request.dpiX = request.dpiY = 150;
    request.overlap = 100; // 15 pixels
    const QImage image = RenderSurfaceImage(f.design, request);
    EXPECT_EQ(Pixel(image, 2, 2), kRed) << "the left tab grows left and up";
    EXPECT_EQ(Pixel(image, 15 + 37 + 3, 100), kWhite) << "but not to the right";
    EXPECT_EQ(Pixel(image, image.width() - 2, 100), kWhite);
}

} // namespace
} // namespace tvl
