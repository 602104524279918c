#include "ImageTestSupport.h"

#include "images/CxImage.h"

#include <QProcess>
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

// Decodes with a reader that is not ours: Qt's image plugins, or netpbm's converters for TIFF and PCX.
QImage thirdPartyDecode(const QByteArray& bytes, int type)
{
    const char* converter = type == CXIMAGE_FORMAT_TIF   ? "tifftopnm"
                            : type == CXIMAGE_FORMAT_PCX ? "pcxtoppm"
                                                         : nullptr;
    if (!converter)
        return QImage::fromData(bytes);
    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("input"));
    QFile file(input);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QImage();
    file.close();
    QProcess process;
    process.start(QString::fromLatin1(converter), {input});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QImage();
    return QImage::fromData(process.readAllStandardOutput());
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
    const QImage other = thirdPartyDecode(encoded, c.type);
    ASSERT_FALSE(other.isNull()) << "the third-party reader refused the file";
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
                                         RoundTrip{"bmp4.bmp", CXIMAGE_FORMAT_PNG, 0, true},
                                         RoundTrip{"bmp24.bmp", CXIMAGE_FORMAT_ICO, 0, true},
                                         RoundTrip{"bmp4.bmp", CXIMAGE_FORMAT_ICO, 0, true},
                                         RoundTrip{"bmp24.bmp", CXIMAGE_FORMAT_PCX, 0, true},
                                         RoundTrip{"bmp8.bmp", CXIMAGE_FORMAT_PCX, 0, true},
                                         RoundTrip{"bmp4.bmp", CXIMAGE_FORMAT_PCX, 0, true},
                                         RoundTrip{"bmp24.bmp", CXIMAGE_FORMAT_GIF, 0, false},
                                         RoundTrip{"bmp8.bmp", CXIMAGE_FORMAT_GIF, 0, true},
                                         RoundTrip{"bmp24.bmp", CXIMAGE_FORMAT_TIF, 0, true},
                                         RoundTrip{"bmp8.bmp", CXIMAGE_FORMAT_TIF, 0, false},
                                         RoundTrip{"png-palette.png", CXIMAGE_FORMAT_TIF, 0, false}));

TEST(Encode, OneBitImagesInEveryFormat)
{
    CxImage mono;
    ASSERT_TRUE(mono.LoadFile(fixture("bmp1.bmp"), CXIMAGE_FORMAT_BMP));
    for (int type : {CXIMAGE_FORMAT_BMP, CXIMAGE_FORMAT_PNG, CXIMAGE_FORMAT_ICO, CXIMAGE_FORMAT_PCX,
                     CXIMAGE_FORMAT_GIF, CXIMAGE_FORMAT_TIF}) {
        QByteArray out;
        ASSERT_TRUE(mono.EncodeBuffer(out, type)) << type;
        CxImage decoded;
        ASSERT_TRUE(decoded.LoadBuffer(out, type)) << type << decoded.lastError().toStdString();
        EXPECT_EQ(decoded.PixelColor(3, 3), qRgb(0, 0, 0)) << type;
        EXPECT_EQ(decoded.PixelColor(12, 3), qRgb(255, 255, 255)) << type;
        const QImage other = thirdPartyDecode(out, type);
        ASSERT_FALSE(other.isNull()) << type;
        EXPECT_EQ(other.pixel(12, 3), qRgb(255, 255, 255)) << type;
    }
}

TEST(Encode, TransparencyInGifAndIcon)
{
    CxImage image;
    ASSERT_TRUE(image.LoadFile(fixture("png-half-alpha.png"), CXIMAGE_FORMAT_PNG));
    image.AlphaScanLine(0)[0] = 0;
    QByteArray gif;
    ASSERT_TRUE(image.EncodeBuffer(gif, CXIMAGE_FORMAT_GIF));
    CxImage decoded;
    ASSERT_TRUE(decoded.LoadBuffer(gif, CXIMAGE_FORMAT_GIF));
    ASSERT_TRUE(decoded.HasTransparency());
    EXPECT_EQ(decoded.ScanLine(0)[0], decoded.TransparentIndex());
    EXPECT_NE(decoded.ScanLine(7)[7], decoded.TransparentIndex());
    EXPECT_EQ(qAlpha(QImage::fromData(gif).pixel(0, 0)), 0);

    QByteArray ico;
    ASSERT_TRUE(image.EncodeBuffer(ico, CXIMAGE_FORMAT_ICO));
    ASSERT_TRUE(decoded.LoadBuffer(ico, CXIMAGE_FORMAT_ICO));
    EXPECT_EQ(decoded.PixelColor(0, 0), image.PixelColor(0, 0));
    EXPECT_EQ(decoded.PixelColor(1, 1), image.PixelColor(1, 1));
    const QRgb other = QImage::fromData(ico).pixel(1, 1);
    EXPECT_EQ(qAlpha(other), qAlpha(image.PixelColor(1, 1)));
    EXPECT_GT(qRed(other), 100);
    EXPECT_EQ(qGreen(other), 0);
}

TEST(Encode, GifReducesManyColoursToAClosePalette)
{
    CxImage gradient;
    ASSERT_TRUE(gradient.Create(64, 64, 24, CXIMAGE_FORMAT_BMP));
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            uchar* p = gradient.ScanLine(y) + 3 * x;
            p[0] = 128;
            p[1] = uchar(y * 4);
            p[2] = uchar(x * 4);
        }
    }
    QByteArray out;
    ASSERT_TRUE(gradient.EncodeBuffer(out, CXIMAGE_FORMAT_GIF));
    CxImage decoded;
    ASSERT_TRUE(decoded.LoadBuffer(out, CXIMAGE_FORMAT_GIF));
    int worst = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const QRgb a = gradient.PixelColor(x, y);
            const QRgb b = decoded.PixelColor(x, y);
            worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
        }
    }
    EXPECT_LE(worst, 32);
}

TEST(Encode, IconsAreAtMost256Pixels)
{
    CxImage image;
    ASSERT_TRUE(image.Create(257, 10, 24, CXIMAGE_FORMAT_ICO));
    QByteArray out;
    EXPECT_FALSE(image.EncodeBuffer(out, CXIMAGE_FORMAT_ICO));
    EXPECT_EQ(image.lastError(), QStringLiteral("Can't save this image as icon"));
    ASSERT_TRUE(image.Create(256, 256, 24, CXIMAGE_FORMAT_ICO));
    EXPECT_TRUE(image.EncodeBuffer(out, CXIMAGE_FORMAT_ICO));
    CxImage decoded;
    ASSERT_TRUE(decoded.LoadBuffer(out, CXIMAGE_FORMAT_ICO));
    EXPECT_EQ(decoded.Width(), 256);
}

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
