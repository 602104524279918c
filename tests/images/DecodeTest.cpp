#include "ImageTestSupport.h"

#include "images/CxImage.h"

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
