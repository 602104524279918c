#include "ImageTestSupport.h"

#include "images/CxImage.h"

#include <QTemporaryDir>

namespace tvl {
namespace {

using test::colorNear;
using test::expectQuad;
using test::fixture;

struct RoundTrip
{
    const char* source;
    int type;
    int tolerance;
    bool keepsDepth;
};

void PrintTo(const RoundTrip& c, std::ostream* os)
{
    *os << c.source << " as " << c.type;
}

class EncodeRoundTrip : public testing::TestWithParam<RoundTrip>
{
};

TEST_P(EncodeRoundTrip, DecodesToTheSamePicture)
{
    const RoundTrip& c = GetParam();
    CxImage source;
    ASSERT_TRUE(source.LoadFile(fixture(c.source), CXIMAGE_FORMAT_DETECT));
    QByteArray encoded;
    ASSERT_TRUE(source.EncodeBuffer(encoded, c.type)) << source.lastError().toStdString();
    ASSERT_FALSE(encoded.isEmpty());

    CxImage decoded;
    ASSERT_TRUE(decoded.LoadBuffer(encoded, CXIMAGE_FORMAT_DETECT)) << decoded.lastError().toStdString();
    EXPECT_EQ(decoded.Type(), c.type);
    expectQuad(decoded, c.tolerance);
    if (c.keepsDepth) {
        EXPECT_EQ(decoded.Bpp(), source.Bpp());
    }

    // The same bytes through a reader that is not ours.
    QImage other;
    ASSERT_TRUE(other.loadFromData(encoded)) << "Qt's reader refused the file";
    EXPECT_TRUE(colorNear(other.pixel(24, 8), qRgb(0, 255, 0), c.tolerance));
    EXPECT_TRUE(colorNear(other.pixel(8, 24), qRgb(0, 0, 255), c.tolerance));
}

INSTANTIATE_TEST_SUITE_P(Formats, EncodeRoundTrip,
                         testing::Values(RoundTrip{"bmp24.bmp", CXIMAGE_FORMAT_BMP, 0, true},
                                         RoundTrip{"bmp8.bmp", CXIMAGE_FORMAT_BMP, 0, true},
                                         RoundTrip{"bmp4.bmp", CXIMAGE_FORMAT_BMP, 0, true},
                                         RoundTrip{"bmp24.bmp", CXIMAGE_FORMAT_JPG, 8, true},
                                         RoundTrip{"png-palette.png", CXIMAGE_FORMAT_PNG, 0, true},
                                         RoundTrip{"bmp24.bmp", CXIMAGE_FORMAT_PNG, 0, true},
                                         RoundTrip{"bmp8.bmp", CXIMAGE_FORMAT_PNG, 0, true},
                                         RoundTrip{"bmp4.bmp", CXIMAGE_FORMAT_PNG, 0, true}));

TEST(Encode, JpegOnlyForColourOrGrey)
{
    CxImage paletted;
    ASSERT_TRUE(paletted.LoadFile(fixture("bmp4.bmp"), CXIMAGE_FORMAT_BMP));
    QByteArray out;
    EXPECT_FALSE(paletted.EncodeBuffer(out, CXIMAGE_FORMAT_JPG));
    EXPECT_EQ(paletted.lastError(), QStringLiteral("JPEG can save only RGB or GreyScale images"));

    CxImage grey;
    ASSERT_TRUE(grey.LoadFile(fixture("png-grey8.png"), CXIMAGE_FORMAT_PNG));
    ASSERT_TRUE(grey.EncodeBuffer(out, CXIMAGE_FORMAT_JPG));
    CxImage decoded;
    ASSERT_TRUE(decoded.LoadBuffer(out, CXIMAGE_FORMAT_JPG));
    EXPECT_TRUE(decoded.IsGreyScale());
}

TEST(Encode, JpegQualityChangesTheFile)
{
    CxImage image;
    ASSERT_TRUE(image.LoadFile(fixture("jpeg-baseline.jpg"), CXIMAGE_FORMAT_JPG));
    QByteArray high;
    QByteArray low;
    ASSERT_TRUE(image.EncodeBuffer(high, CXIMAGE_FORMAT_JPG));
    image.SetJpegQuality(5);
    ASSERT_TRUE(image.EncodeBuffer(low, CXIMAGE_FORMAT_JPG));
    EXPECT_LT(low.size(), high.size());
}

TEST(Encode, AlphaSurvivesPngAndBmp)
{
    CxImage image;
    ASSERT_TRUE(image.LoadFile(fixture("png-half-alpha.png"), CXIMAGE_FORMAT_PNG));
    for (int type : {CXIMAGE_FORMAT_PNG, CXIMAGE_FORMAT_BMP}) {
        QByteArray out;
        ASSERT_TRUE(image.EncodeBuffer(out, type));
        CxImage decoded;
        ASSERT_TRUE(decoded.LoadBuffer(out, type));
        ASSERT_TRUE(decoded.HasAlpha()) << type;
        EXPECT_EQ(decoded.PixelColor(0, 0), image.PixelColor(0, 0)) << type;
        EXPECT_EQ(decoded.PixelColor(7, 7), image.PixelColor(7, 7)) << type;
    }
}

TEST(Encode, SaveFileWritesAndReportsFailures)
{
    QTemporaryDir dir;
    CxImage image;
    ASSERT_TRUE(image.LoadFile(fixture("bmp24.bmp"), CXIMAGE_FORMAT_BMP));
    const QString path = dir.filePath(QStringLiteral("out.png"));
    ASSERT_TRUE(image.SaveFile(path, CXIMAGE_FORMAT_PNG));
    CxImage reread;
    ASSERT_TRUE(reread.LoadFile(path, CXIMAGE_FORMAT_PNG));
    expectQuad(reread, 0);
    EXPECT_FALSE(image.SaveFile(dir.filePath(QStringLiteral("no/such/dir/out.png")), CXIMAGE_FORMAT_PNG));
    EXPECT_FALSE(image.lastError().isEmpty());
    EXPECT_FALSE(image.SaveFile(dir.filePath(QStringLiteral("out.wmf")), CXIMAGE_FORMAT_WMF));
    EXPECT_EQ(image.lastError(), QStringLiteral("Save WMF not supported"));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("out.wmf"))));
}

TEST(Encode, ResolutionTravelsWithTheFile)
{
    CxImage image;
    ASSERT_TRUE(image.LoadFile(fixture("bmp24.bmp"), CXIMAGE_FORMAT_BMP));
    image.SetResolution(300, 150);
    for (int type : {CXIMAGE_FORMAT_BMP, CXIMAGE_FORMAT_JPG, CXIMAGE_FORMAT_PNG}) {
        QByteArray out;
        ASSERT_TRUE(image.EncodeBuffer(out, type));
        CxImage decoded;
        ASSERT_TRUE(decoded.LoadBuffer(out, type));
        EXPECT_EQ(decoded.XDpi(), 300) << type;
        EXPECT_EQ(decoded.YDpi(), 150) << type;
    }
}

} // namespace
} // namespace tvl
