#include "ImageTestSupport.h"

#include "images/CxImage.h"
#include "images/codecs/ImageCodecs.h"

namespace tvl {
namespace {

using test::colorNear;
using test::expectQuad;
using test::fixture;

struct QuadCase
{
    const char* file;
    int type;
    int bpp;
    int tolerance;
};

void PrintTo(const QuadCase& c, std::ostream* os)
{
    *os << c.file;
}

class DecodeQuad : public testing::TestWithParam<QuadCase>
{
};

// Every fixture shows the same four-colour square, written by a third-party tool in one format variant.
TEST_P(DecodeQuad, ShowsTheFourQuadrants)
{
    const QuadCase& c = GetParam();
    CxImage image;
    ASSERT_TRUE(image.LoadFile(fixture(c.file), c.type)) << image.lastError().toStdString();
    EXPECT_EQ(image.Bpp(), c.bpp);
    expectQuad(image, c.tolerance);

    CxImage detected;
    ASSERT_TRUE(detected.LoadFile(fixture(c.file), CXIMAGE_FORMAT_DETECT));
    EXPECT_EQ(detected.Type(), c.type);
}

INSTANTIATE_TEST_SUITE_P(Bmp, DecodeQuad,
                         testing::Values(QuadCase{"bmp24.bmp", CXIMAGE_FORMAT_BMP, 24, 0},
                                         QuadCase{"bmp8.bmp", CXIMAGE_FORMAT_BMP, 8, 0},
                                         QuadCase{"bmp8rle.bmp", CXIMAGE_FORMAT_BMP, 8, 0},
                                         QuadCase{"bmp4.bmp", CXIMAGE_FORMAT_BMP, 4, 0},
                                         QuadCase{"bmpos2.bmp", CXIMAGE_FORMAT_BMP, 8, 0},
                                         QuadCase{"bmp16.bmp", CXIMAGE_FORMAT_BMP, 24, 0}));

INSTANTIATE_TEST_SUITE_P(Jpeg, DecodeQuad,
                         testing::Values(QuadCase{"jpeg-baseline.jpg", CXIMAGE_FORMAT_JPG, 24, 8},
                                         QuadCase{"jpeg-progressive.jpg", CXIMAGE_FORMAT_JPG, 24, 8},
                                         QuadCase{"jpeg-cmyk.jpg", CXIMAGE_FORMAT_JPG, 24, 8}));

INSTANTIATE_TEST_SUITE_P(Png, DecodeQuad,
                         testing::Values(QuadCase{"png-rgb.png", CXIMAGE_FORMAT_PNG, 24, 0},
                                         QuadCase{"png-palette.png", CXIMAGE_FORMAT_PNG, 8, 0},
                                         QuadCase{"png-rgb16.png", CXIMAGE_FORMAT_PNG, 24, 0},
                                         QuadCase{"png-interlaced.png", CXIMAGE_FORMAT_PNG, 24, 0}));

INSTANTIATE_TEST_SUITE_P(Gif, DecodeQuad,
                         testing::Values(QuadCase{"gif-quad.gif", CXIMAGE_FORMAT_GIF, 8, 0},
                                         QuadCase{"gif-interlaced.gif", CXIMAGE_FORMAT_GIF, 8, 0},
                                         QuadCase{"gif-animated.gif", CXIMAGE_FORMAT_GIF, 8, 0}));

INSTANTIATE_TEST_SUITE_P(Tiff, DecodeQuad,
                         testing::Values(QuadCase{"tiff-none.tif", CXIMAGE_FORMAT_TIF, 24, 0},
                                         QuadCase{"tiff-lzw.tif", CXIMAGE_FORMAT_TIF, 24, 0},
                                         QuadCase{"tiff-deflate.tif", CXIMAGE_FORMAT_TIF, 24, 0},
                                         QuadCase{"tiff-jpeg.tif", CXIMAGE_FORMAT_TIF, 24, 8},
                                         QuadCase{"tiff-packbits.tif", CXIMAGE_FORMAT_TIF, 24, 0},
                                         QuadCase{"tiff-palette.tif", CXIMAGE_FORMAT_TIF, 24, 0},
                                         QuadCase{"tiff-rgb16.tif", CXIMAGE_FORMAT_TIF, 24, 0},
                                         QuadCase{"tiff-tiled.tif", CXIMAGE_FORMAT_TIF, 24, 0},
                                         QuadCase{"tiff-pages.tif", CXIMAGE_FORMAT_TIF, 24, 0}));

INSTANTIATE_TEST_SUITE_P(Ico, DecodeQuad,
                         testing::Values(QuadCase{"ico-quad.ico", CXIMAGE_FORMAT_ICO, 24, 0}));

INSTANTIATE_TEST_SUITE_P(Pcx, DecodeQuad,
                         testing::Values(QuadCase{"pcx-24.pcx", CXIMAGE_FORMAT_PCX, 24, 0},
                                         QuadCase{"pcx-8.pcx", CXIMAGE_FORMAT_PCX, 8, 0},
                                         QuadCase{"pcx-4planes.pcx", CXIMAGE_FORMAT_PCX, 4, 0},
                                         QuadCase{"pcx-4packed.pcx", CXIMAGE_FORMAT_PCX, 4, 0}));

// Grey renderings of the square: red, lime, blue, white by luminance.
struct GreyCase
{
    const char* file;
    int type;
    int tolerance;
};

class DecodeGreyQuad : public testing::TestWithParam<GreyCase>
{
};

TEST_P(DecodeGreyQuad, IsAnEightBitGreyRamp)
{
    const GreyCase& c = GetParam();
    CxImage image;
    ASSERT_TRUE(image.LoadFile(fixture(c.file), c.type)) << image.lastError().toStdString();
    EXPECT_EQ(image.Bpp(), 8);
    EXPECT_TRUE(image.IsGreyScale());
    const int red = qGray(image.PixelColor(8, 8));
    const int lime = qGray(image.PixelColor(24, 8));
    const int blue = qGray(image.PixelColor(8, 24));
    EXPECT_NEAR(qGray(image.PixelColor(24, 24)), 255, c.tolerance);
    EXPECT_LT(blue, red);
    EXPECT_LT(red, lime);
}

INSTANTIATE_TEST_SUITE_P(All, DecodeGreyQuad,
                         testing::Values(GreyCase{"jpeg-grey.jpg", CXIMAGE_FORMAT_JPG, 4},
                                         GreyCase{"png-grey8.png", CXIMAGE_FORMAT_PNG, 0},
                                         GreyCase{"png-grey16.png", CXIMAGE_FORMAT_PNG, 0}));

TEST(DecodeBmp, OneBitAndThirtyTwoBitWithAlpha)
{
    CxImage mono;
    ASSERT_TRUE(mono.LoadFile(fixture("bmp1.bmp"), CXIMAGE_FORMAT_BMP));
    EXPECT_EQ(mono.Bpp(), 1);
    EXPECT_EQ(mono.Width(), 16);
    EXPECT_EQ(mono.PixelColor(3, 3), qRgb(0, 0, 0));
    EXPECT_EQ(mono.PixelColor(12, 3), qRgb(255, 255, 255));

    CxImage alpha;
    ASSERT_TRUE(alpha.LoadFile(fixture("bmp32alpha.bmp"), CXIMAGE_FORMAT_BMP));
    EXPECT_EQ(alpha.Bpp(), 24);
    ASSERT_TRUE(alpha.HasAlpha());
    EXPECT_TRUE(colorNear(alpha.PixelColor(1, 1), qRgba(255, 0, 0, 128), 1));
    EXPECT_EQ(alpha.PixelColor(6, 6), qRgba(0, 0, 255, 255));
}

TEST(DecodeMono, OneBitFilesInEveryFormat)
{
    const struct
    {
        const char* file;
        int type;
    } cases[] = {{"bmp1.bmp", CXIMAGE_FORMAT_BMP},
                 {"png-grey1.png", CXIMAGE_FORMAT_PNG},
                 {"tiff-g4.tif", CXIMAGE_FORMAT_TIF},
                 {"pcx-1.pcx", CXIMAGE_FORMAT_PCX}};
    for (const auto& c : cases) {
        CxImage image;
        ASSERT_TRUE(image.LoadFile(fixture(c.file), c.type)) << c.file;
        EXPECT_EQ(image.Width(), 16) << c.file;
        EXPECT_EQ(image.Height(), 8) << c.file;
        EXPECT_EQ(image.PixelColor(3, 3), qRgb(0, 0, 0)) << c.file;
        EXPECT_EQ(image.PixelColor(12, 3), qRgb(255, 255, 255)) << c.file;
    }
}

TEST(DecodeGif, TransparentIndex)
{
    CxImage image;
    ASSERT_TRUE(image.LoadFile(fixture("gif-transparent.gif"), CXIMAGE_FORMAT_GIF));
    ASSERT_TRUE(image.HasTransparency());
    const int index = image.ScanLine(24)[24];
    EXPECT_EQ(index, image.TransparentIndex());
    EXPECT_NE(image.ScanLine(8)[8], image.TransparentIndex());
}

TEST(DecodeIco, LargestEntryWithItsMaskOrPng)
{
    CxImage alpha;
    ASSERT_TRUE(alpha.LoadFile(fixture("ico-alpha.ico"), CXIMAGE_FORMAT_ICO));
    ASSERT_TRUE(alpha.HasAlpha());
    EXPECT_TRUE(colorNear(alpha.PixelColor(1, 1), qRgba(255, 0, 0, 128), 1));
    EXPECT_EQ(alpha.PixelColor(6, 6), qRgba(0, 0, 255, 255));

    CxImage png;
    ASSERT_TRUE(png.LoadFile(fixture("ico-png.ico"), CXIMAGE_FORMAT_DETECT));
    EXPECT_EQ(png.Type(), CXIMAGE_FORMAT_ICO);
    EXPECT_EQ(png.Width(), 256);
    EXPECT_TRUE(colorNear(png.PixelColor(200, 200), qRgba(255, 255, 255, 255), 0));
}

TEST(DecodeTiff, AlphaIsNotPremultiplied)
{
    CxImage image;
    ASSERT_TRUE(image.LoadFile(fixture("tiff-alpha.tif"), CXIMAGE_FORMAT_TIF));
    ASSERT_TRUE(image.HasAlpha());
    EXPECT_TRUE(colorNear(image.PixelColor(1, 1), qRgba(255, 0, 0, 128), 2));
    EXPECT_EQ(image.PixelColor(6, 6), qRgba(0, 0, 255, 255));
}

TEST(DecodePng, TransparencyBecomesAlpha)
{
    CxImage palette;
    ASSERT_TRUE(palette.LoadFile(fixture("png-palette-trns.png"), CXIMAGE_FORMAT_PNG));
    ASSERT_TRUE(palette.HasAlpha());
    EXPECT_EQ(palette.PixelColor(8, 8), qRgba(255, 0, 0, 255));
    EXPECT_EQ(qAlpha(palette.PixelColor(24, 24)), 0);

    CxImage greyAlpha;
    ASSERT_TRUE(greyAlpha.LoadFile(fixture("png-grey-alpha.png"), CXIMAGE_FORMAT_PNG));
    ASSERT_TRUE(greyAlpha.HasAlpha());
    EXPECT_TRUE(colorNear(greyAlpha.PixelColor(0, 0), qRgba(54, 54, 54, 128), 25));

    CxImage mono;
    ASSERT_TRUE(mono.LoadFile(fixture("png-grey1.png"), CXIMAGE_FORMAT_PNG));
    EXPECT_EQ(mono.PixelColor(3, 3), qRgb(0, 0, 0));
    EXPECT_EQ(mono.PixelColor(12, 3), qRgb(255, 255, 255));
}

TEST(DecodeJpeg, TurnsTaggedPhotosUpright)
{
    CxImage image;
    ASSERT_TRUE(image.LoadFile(fixture("jpeg-exif-rotate90.jpg"), CXIMAGE_FORMAT_JPG));
    EXPECT_EQ(image.Width(), 16);
    EXPECT_EQ(image.Height(), 32);
    EXPECT_TRUE(colorNear(image.PixelColor(8, 4), qRgb(255, 0, 0), 8));
    EXPECT_TRUE(colorNear(image.PixelColor(8, 28), qRgb(0, 255, 0), 8));
}

TEST(DecodeDetect, PngIsFoundAfterTheEarlierDecodersRefuseIt)
{
    CxImage image;
    ASSERT_TRUE(image.LoadFile(fixture("png-rgb.png"), CXIMAGE_FORMAT_DETECT));
    EXPECT_EQ(image.Type(), CXIMAGE_FORMAT_PNG);
    for (int earlier : {CXIMAGE_FORMAT_BMP, CXIMAGE_FORMAT_JPG, CXIMAGE_FORMAT_ICO, CXIMAGE_FORMAT_GIF}) {
        CxImage attempt;
        EXPECT_FALSE(attempt.LoadFile(fixture("png-rgb.png"), earlier)) << earlier;
        EXPECT_FALSE(attempt.lastError().isEmpty());
    }
}

TEST(DecodeThumbnail, FitsTheBoxAndKeepsTheAspect)
{
    CxImage image;
    ASSERT_TRUE(image.LoadThumbnail(fixture("jpeg-exif-rotate90.jpg"), CXIMAGE_FORMAT_JPG, QSize(10, 10)));
    EXPECT_EQ(image.Width(), 5);
    EXPECT_EQ(image.Height(), 10);
    EXPECT_TRUE(colorNear(image.PixelColor(2, 1), qRgb(255, 0, 0), 12));
    EXPECT_TRUE(image.SourceBytes().isEmpty());

    ASSERT_TRUE(image.LoadThumbnail(fixture("png-rgb.png"), CXIMAGE_FORMAT_DETECT, QSize(100, 100)));
    EXPECT_EQ(image.Width(), 32) << "never enlarged";
    EXPECT_FALSE(image.LoadThumbnail(fixture("png-rgb.png"), CXIMAGE_FORMAT_PNG, QSize(0, 10)));
    EXPECT_FALSE(image.LoadThumbnail(fixture("missing.png"), CXIMAGE_FORMAT_PNG, QSize(10, 10)));
}

} // namespace
} // namespace tvl

namespace tvl {
namespace {

TEST(DecodeMetafile, WmfRecordsDrawTheirShapes)
{
    CxImage image;
    ASSERT_TRUE(image.LoadFile(test::fixture("wmf-shapes.wmf"), CXIMAGE_FORMAT_WMF))
        << image.lastError().toStdString();
    EXPECT_EQ(image.Width(), 200);
    EXPECT_EQ(image.Height(), 100);
    ASSERT_TRUE(image.HasAlpha());
    EXPECT_EQ(image.PixelColor(50, 30), qRgb(255, 0, 0));
    EXPECT_EQ(image.PixelColor(50, 85), qRgb(0, 255, 0)) << "the triangle";
    EXPECT_EQ(image.PixelColor(180, 50), qRgb(0, 0, 255)) << "the ellipse";
    EXPECT_EQ(image.PixelColor(195, 5), qRgb(0, 0, 255)) << "the brush after the restore";
    EXPECT_EQ(qAlpha(image.PixelColor(150, 5)), 0) << "nothing painted there";
    EXPECT_TRUE(test::colorNear(image.PixelColor(102, 2), qRgb(255, 0, 255), 8));
    EXPECT_TRUE(test::colorNear(image.PixelColor(102, 18), qRgb(255, 255, 0), 8));
    int white = 0;
    for (int y = 30; y < 70; ++y) {
        for (int x = 130; x < 175; ++x)
            white += image.PixelColor(x, y) == qRgb(255, 255, 255);
    }
    EXPECT_GT(white, 20) << "the text";
}

TEST(DecodeMetafile, EmfFromFig2dev)
{
    CxImage image;
    ASSERT_TRUE(image.LoadFile(test::fixture("emf-shapes.emf"), CXIMAGE_FORMAT_DETECT))
        << image.lastError().toStdString();
    EXPECT_EQ(image.Type(), CXIMAGE_FORMAT_WMF);
    // Two inches by one plus fig2dev's margin, at 96 dots per inch.
    EXPECT_NEAR(image.Width(), 199, 2);
    EXPECT_NEAR(image.Height(), 103, 2);
    EXPECT_EQ(image.PixelColor(52, 51), qRgb(255, 0, 0));
    EXPECT_EQ(image.PixelColor(52, 10), qRgb(255, 0, 0));
    EXPECT_EQ(image.PixelColor(147, 51), qRgb(0, 0, 255));
    EXPECT_EQ(qAlpha(image.PixelColor(195, 5)), 0);
    int black = 0;
    for (int y = 60; y < 100; ++y) {
        for (int x = 5; x < 50; ++x)
            black += image.PixelColor(x, y) == qRgb(0, 0, 0);
    }
    EXPECT_GT(black, 20) << "the text";

    QByteArray out;
    EXPECT_FALSE(image.EncodeBuffer(out, CXIMAGE_FORMAT_WMF));
    EXPECT_EQ(image.lastError(), QStringLiteral("Save WMF not supported"));
    EXPECT_TRUE(image.EncodeBuffer(out, CXIMAGE_FORMAT_PNG)) << "stored as PNG instead";
}

// Drawing a photograph decodes it straight into the rows the painter reads: the pixels are those of the
// ordinary decode made drawable, and pictures those rows cannot hold as they are (grey, CMYK, turned) are
// left to the ordinary decode.
TEST(DecodeDrawable, GivesTheOrdinaryDecodesPixelsOrLeavesThePictureToIt)
{
    for (const char* name : {"jpeg-baseline.jpg", "jpeg-progressive.jpg"}) {
        const QByteArray bytes = test::fixtureBytes(name);
        CxImage decoded;
        ASSERT_TRUE(decoded.LoadBuffer(bytes, CXIMAGE_FORMAT_JPG)) << name;
        const QImage drawable = ImageCodecs::decodeDrawable(bytes, CXIMAGE_FORMAT_JPG);
        ASSERT_EQ(drawable.format(), QImage::Format_RGB32) << name;
        EXPECT_TRUE(drawable == decoded.ToBitmap()) << name;
    }
    for (const char* name : {"jpeg-grey.jpg", "jpeg-cmyk.jpg", "jpeg-exif-rotate90.jpg"})
        EXPECT_TRUE(ImageCodecs::decodeDrawable(test::fixtureBytes(name), CXIMAGE_FORMAT_JPG).isNull())
            << name;
    const QByteArray baseline = test::fixtureBytes("jpeg-baseline.jpg");
    EXPECT_TRUE(ImageCodecs::decodeDrawable(baseline.left(baseline.size() / 2), CXIMAGE_FORMAT_JPG).isNull())
        << "a file cut short";
    EXPECT_TRUE(ImageCodecs::decodeDrawable(test::fixtureBytes("bmp24.bmp"), CXIMAGE_FORMAT_BMP).isNull());
}

} // namespace
} // namespace tvl
