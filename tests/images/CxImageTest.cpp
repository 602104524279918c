#include "ImageTestSupport.h"

#include "images/CxImage.h"
#include "images/ImageFormat.h"

#include <QPainter>

namespace tvl {
namespace {

using test::colorNear;
using test::expectQuad;
using test::fixture;

TEST(ImageTypeFromExtension, MapsNamesToFormatNumbers)
{
    const struct
    {
        const char* name;
        int type;
    } cases[] = {
        {"Photo.JPEG", 1}, {"photo.jpg", 1},   {"photo. jpg ", 1}, {"scan.TIFF", 7}, {"scan.tif", 7},
        {"clip.emf", 5},   {"clip.WMF", 5},    {"a.bmp", 0},       {"a.dib", 0},     {"a.png", 2},
        {"a.ico", 3},      {"a.pcx", 4},       {"a.gif", 6},       {"readme", -1},   {"archive.zip", -1},
        {"trailing.", -1}, {"dir.d/file", -1}, {"png", 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ImageTypeFromExtension(QString::fromUtf8(c.name)), c.type) << c.name;
}

TEST(CxImageCreate, RefusesEmptyAndOversizedPictures)
{
    CxImage image;
    EXPECT_FALSE(image.Create(0, 0, 24, CXIMAGE_FORMAT_BMP));
    EXPECT_EQ(image.lastError(),
              QStringLiteral("CxImage::Create : width and height must be greater than zero"));
    EXPECT_FALSE(image.IsValid());
    EXPECT_FALSE(image.Create(10, 0, 24, CXIMAGE_FORMAT_BMP));
    EXPECT_FALSE(image.Create(20001, 1, 24, CXIMAGE_FORMAT_BMP));
    EXPECT_FALSE(image.Create(15000, 15000, 1, CXIMAGE_FORMAT_BMP));
    EXPECT_FALSE(image.IsValid());
    EXPECT_TRUE(image.Create(20000, 1, 1, CXIMAGE_FORMAT_BMP));
}

TEST(CxImageCreate, NormalisesDepthAndStartsBlank)
{
    const int cases[][3] = {{0, 1, 2},   {1, 1, 2},  {2, 4, 16},  {4, 4, 16}, {5, 8, 256},
                            {8, 8, 256}, {9, 24, 0}, {16, 24, 0}, {32, 24, 0}};
    for (const auto& c : cases) {
        CxImage image;
        ASSERT_TRUE(image.Create(5, 3, c[0], CXIMAGE_FORMAT_PNG));
        EXPECT_EQ(image.Bpp(), c[1]) << c[0];
        EXPECT_EQ(image.Palette().size(), c[2]) << c[0];
        EXPECT_EQ(image.BytesPerLine() % 4, 0);
        EXPECT_EQ(image.PixelColor(4, 2), 0xff000000u);
        EXPECT_EQ(image.Type(), CXIMAGE_FORMAT_PNG);
    }
}

TEST(CxImage, DefaultsOfANewImage)
{
    CxImage image(CXIMAGE_FORMAT_JPG);
    EXPECT_FALSE(image.IsValid());
    EXPECT_EQ(image.Type(), CXIMAGE_FORMAT_JPG);
    EXPECT_EQ(image.TransparentIndex(), -1);
    EXPECT_FALSE(image.HasTransparency());
    EXPECT_FALSE(image.HasAlpha());
    EXPECT_EQ(image.Opacity(), 255);
    EXPECT_EQ(image.JpegQuality(), 90);
    EXPECT_EQ(image.XDpi(), 96);
    EXPECT_EQ(image.YDpi(), 96);
}

TEST(CxImage, ReportsUnknownFormatsAndNonEmptyBuffers)
{
    CxImage image;
    EXPECT_FALSE(image.LoadBuffer(QByteArrayView("BM"), 42));
    EXPECT_EQ(image.lastError(), QStringLiteral("Decode: Unknown or wrong format"));
    EXPECT_FALSE(image.LoadBuffer(QByteArrayView("not an image at all"), CXIMAGE_FORMAT_DETECT));
    EXPECT_EQ(image.lastError(), QStringLiteral("Decode: Unknown or wrong format"));

    ASSERT_TRUE(image.Create(4, 4, 24, CXIMAGE_FORMAT_BMP));
    QByteArray out("x");
    EXPECT_FALSE(image.EncodeBuffer(out, CXIMAGE_FORMAT_BMP));
    EXPECT_EQ(image.lastError(), QStringLiteral("the buffer must be empty"));
    out.clear();
    EXPECT_FALSE(image.EncodeBuffer(out, CXIMAGE_FORMAT_WMF));
    EXPECT_EQ(image.lastError(), QStringLiteral("Save WMF not supported"));
    EXPECT_TRUE(out.isEmpty());
    EXPECT_FALSE(image.EncodeBuffer(out, CXIMAGE_FORMAT_DETECT));
    EXPECT_EQ(image.lastError(), QStringLiteral("Encode: Unknown format"));
    EXPECT_FALSE(image.EncodeBuffer(out, -1));

    CxImage invalid;
    EXPECT_FALSE(invalid.EncodeBuffer(out, CXIMAGE_FORMAT_PNG));
}

TEST(CxImage, LoadResourceImage)
{
    CxImage image;
    EXPECT_FALSE(image.LoadResourceImage(QStringLiteral(":/no/such/image.png"), CXIMAGE_FORMAT_PNG));
    EXPECT_EQ(image.lastError(), QStringLiteral("Unable to load resource!"));
    ASSERT_TRUE(image.LoadResourceImage(QStringLiteral(":/fixtures/bmp24.bmp"), CXIMAGE_FORMAT_BMP));
    expectQuad(image, 0);
}

class DrawTo : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(quad.LoadFile(fixture("bmp24.bmp"), CXIMAGE_FORMAT_BMP));
        canvas.fill(grey);
    }
    CxImage quad;
    QImage canvas{64, 64, QImage::Format_RGB32};
    const QRgb grey = qRgb(128, 128, 128);
};

TEST_F(DrawTo, NegativeSizeDrawsAtOwnPixelSize)
{
    QPainter painter(&canvas);
    EXPECT_TRUE(quad.DrawTo(&painter, 10, 10, -1, -1));
    painter.end();
    EXPECT_EQ(canvas.pixel(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(canvas.pixel(41, 41), qRgb(255, 255, 255));
    EXPECT_EQ(canvas.pixel(42, 42), grey);
    EXPECT_EQ(canvas.pixel(9, 9), grey);
}

TEST_F(DrawTo, StretchesOntoTheRectangle)
{
    QPainter painter(&canvas);
    EXPECT_TRUE(quad.DrawTo(&painter, QRect(0, 0, 64, 64)));
    painter.end();
    EXPECT_TRUE(colorNear(canvas.pixel(4, 4), qRgb(255, 0, 0), 0));
    EXPECT_TRUE(colorNear(canvas.pixel(60, 4), qRgb(0, 255, 0), 0));
    EXPECT_TRUE(colorNear(canvas.pixel(4, 60), qRgb(0, 0, 255), 0));
}

TEST_F(DrawTo, DrawsNothingWithoutPictureDeviceOrSize)
{
    QPainter painter(&canvas);
    EXPECT_FALSE(quad.DrawTo(&painter, 0, 0, 0, 10));
    EXPECT_FALSE(quad.DrawTo(&painter, 0, 0, 10, 0));
    EXPECT_FALSE(quad.DrawTo(nullptr, 0, 0));
    EXPECT_FALSE(CxImage().DrawTo(&painter, 0, 0));
    painter.end();
    EXPECT_EQ(canvas.pixel(0, 0), grey);
}

TEST_F(DrawTo, TransparentColourLeavesTargetUntouched)
{
    quad.SetTransparentColor(qRgb(255, 255, 255));
    quad.SetTransparentIndex(0);
    QPainter painter(&canvas);
    EXPECT_TRUE(quad.DrawTo(&painter, 0, 0));
    painter.end();
    EXPECT_EQ(canvas.pixel(24, 24), grey);
    EXPECT_EQ(canvas.pixel(8, 8), qRgb(255, 0, 0));
}

TEST_F(DrawTo, TransparentIndexOfAPalettedImage)
{
    CxImage paletted;
    ASSERT_TRUE(paletted.Create(2, 1, 8, CXIMAGE_FORMAT_GIF));
    paletted.SetPalette({qRgb(0, 0, 255) & 0xffffff, qRgb(0, 255, 0) & 0xffffff});
    paletted.ScanLine(0)[1] = 1;
    paletted.SetTransparentIndex(1);
    EXPECT_TRUE(paletted.HasTransparency());
    QPainter painter(&canvas);
    EXPECT_TRUE(paletted.DrawTo(&painter, 0, 0));
    painter.end();
    EXPECT_EQ(canvas.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(canvas.pixel(1, 0), grey);
}

TEST(FlattenAlpha, HalfTransparentPngOverWhite)
{
    CxImage image;
    ASSERT_TRUE(image.LoadFile(fixture("png-half-alpha.png"), CXIMAGE_FORMAT_PNG));
    ASSERT_TRUE(image.HasAlpha());
    EXPECT_TRUE(colorNear(image.PixelColor(0, 0), qRgba(255, 0, 0, 128), 1));
    image.SetTransparentColor(qRgb(255, 255, 255));
    image.FlattenAlpha();
    EXPECT_FALSE(image.HasAlpha());
    EXPECT_TRUE(colorNear(image.PixelColor(0, 0), qRgb(255, 127, 127), 1));
    EXPECT_EQ(image.PixelColor(7, 7), qRgb(0, 0, 255));
}

TEST(FlattenAlpha, OpacityAndPaletteReservedBytes)
{
    CxImage plain;
    ASSERT_TRUE(plain.Create(1, 1, 24, CXIMAGE_FORMAT_BMP));
    plain.SetOpacity(0);
    plain.FlattenAlpha();
    EXPECT_EQ(plain.PixelColor(0, 0), qRgb(0, 0, 0)) << "no alpha and no palette opacity: untouched";

    CxImage paletted;
    ASSERT_TRUE(paletted.Create(2, 1, 1, CXIMAGE_FORMAT_PNG));
    paletted.SetPalette({qRgba(0, 0, 0, 0), qRgba(0, 0, 0, 255)});
    paletted.ScanLine(0)[0] = 0x40;
    paletted.SetTransparentColor(qRgb(255, 255, 255));
    paletted.FlattenAlpha();
    EXPECT_EQ(paletted.Bpp(), 24);
    EXPECT_EQ(paletted.PixelColor(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(paletted.PixelColor(1, 0), qRgb(0, 0, 0));

    CxImage faded;
    ASSERT_TRUE(faded.Create(1, 1, 24, CXIMAGE_FORMAT_PNG));
    faded.AlphaCreate();
    faded.SetOpacity(51);
    faded.SetTransparentColor(qRgb(255, 255, 255));
    faded.FlattenAlpha();
    EXPECT_EQ(faded.PixelColor(0, 0), qRgb(204, 204, 204));
}

TEST(ResampleTo, AveragesWhenShrinking)
{
    CxImage image;
    ASSERT_TRUE(image.LoadFile(fixture("bmp24.bmp"), CXIMAGE_FORMAT_BMP));
    ASSERT_TRUE(image.ResampleTo(2, 2));
    EXPECT_EQ(image.PixelColor(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.PixelColor(1, 0), qRgb(0, 255, 0));
    EXPECT_EQ(image.PixelColor(0, 1), qRgb(0, 0, 255));
    EXPECT_EQ(image.PixelColor(1, 1), qRgb(255, 255, 255));
    ASSERT_TRUE(image.ResampleTo(1, 1));
    EXPECT_TRUE(colorNear(image.PixelColor(0, 0), qRgb(128, 128, 128), 1));

    CxImage stripes;
    ASSERT_TRUE(stripes.Create(3, 1, 24, CXIMAGE_FORMAT_BMP));
    std::fill_n(stripes.ScanLine(0) + 3, 3, uchar(255));
    ASSERT_TRUE(stripes.ResampleTo(2, 1));
    EXPECT_TRUE(colorNear(stripes.PixelColor(0, 0), qRgb(85, 85, 85), 1))
        << "covers 1.5 pixels: 0 and half of 255";
}

TEST(ResampleTo, InterpolatesWhenGrowing)
{
    CxImage image;
    ASSERT_TRUE(image.Create(2, 1, 24, CXIMAGE_FORMAT_BMP));
    std::fill_n(image.ScanLine(0) + 3, 3, uchar(255));
    image.AlphaCreate();
    image.AlphaScanLine(0)[0] = 0;
    ASSERT_TRUE(image.ResampleTo(4, 1));
    const int expected[] = {0, 64, 191, 255};
    for (int x = 0; x < 4; ++x) {
        EXPECT_TRUE(
            colorNear(image.PixelColor(x, 0), qRgba(expected[x], expected[x], expected[x], expected[x]), 1))
            << x;
    }
}

TEST(ResampleTo, RefusesBadSizesAndKeepsGreyPalettes)
{
    CxImage image;
    EXPECT_FALSE(image.ResampleTo(10, 10)) << "invalid image";
    ASSERT_TRUE(image.Create(4, 4, 8, CXIMAGE_FORMAT_JPG));
    EXPECT_FALSE(image.ResampleTo(0, 3));
    EXPECT_FALSE(image.ResampleTo(3, -1));
    EXPECT_EQ(image.Width(), 4);
    ASSERT_TRUE(image.ResampleTo(2, 2));
    EXPECT_EQ(image.Bpp(), 8);
    EXPECT_TRUE(image.IsGreyScale());

    CxImage colour;
    ASSERT_TRUE(colour.LoadFile(fixture("bmp4.bmp"), CXIMAGE_FORMAT_BMP));
    ASSERT_EQ(colour.Bpp(), 4);
    ASSERT_TRUE(colour.ResampleTo(2, 2));
    EXPECT_EQ(colour.Bpp(), 24);
    EXPECT_EQ(colour.PixelColor(1, 0), qRgb(0, 255, 0));
}

TEST(CxImage, BitmapAndDibRoundTrips)
{
    CxImage quad;
    ASSERT_TRUE(quad.LoadFile(fixture("bmp8.bmp"), CXIMAGE_FORMAT_BMP));
    ASSERT_EQ(quad.Bpp(), 8);

    const QImage bitmap = quad.ToBitmap();
    EXPECT_EQ(bitmap.format(), QImage::Format_Indexed8);
    EXPECT_EQ(bitmap.pixel(24, 8), qRgb(0, 255, 0));
    CxImage fromBitmap;
    ASSERT_TRUE(fromBitmap.FromBitmap(bitmap));
    EXPECT_EQ(fromBitmap.Bpp(), 8);
    expectQuad(fromBitmap, 0);

    CxImage fromDib;
    ASSERT_TRUE(fromDib.FromDibHandle(quad.DibBytes()));
    EXPECT_EQ(fromDib.Bpp(), 8);
    EXPECT_EQ(fromDib.Palette(), quad.Palette());
    expectQuad(fromDib, 0);
    EXPECT_EQ(quad.DibBytes().size(), 40 + 256 * 4 + 32 * 32);

    QImage argb(2, 1, QImage::Format_ARGB32);
    argb.setPixel(0, 0, qRgba(10, 20, 30, 40));
    argb.setPixel(1, 0, qRgba(50, 60, 70, 255));
    CxImage withAlpha;
    ASSERT_TRUE(withAlpha.FromBitmap(argb));
    EXPECT_EQ(withAlpha.Bpp(), 24);
    EXPECT_TRUE(withAlpha.HasAlpha());
    EXPECT_EQ(withAlpha.PixelColor(0, 0), qRgba(10, 20, 30, 40));
    EXPECT_EQ(withAlpha.ToBitmap().pixel(1, 0), qRgba(50, 60, 70, 255));

    CxImage none;
    EXPECT_FALSE(none.FromBitmap(QImage()));
    EXPECT_EQ(none.lastError(), QStringLiteral("GetDIBits failed"));
}

TEST(CxImage, FromDibHandleRefusesOtherCompressions)
{
    CxImage quad;
    ASSERT_TRUE(quad.LoadFile(fixture("bmp24.bmp"), CXIMAGE_FORMAT_BMP));
    QByteArray dib = quad.DibBytes();
    const struct
    {
        uchar compression;
        const char* error;
    } cases[] = {{4, "compression type not supported"},
                 {5, "compression type not supported"},
                 {9, "unknown compression"},
                 {200, "unknown compression"}};
    for (const auto& c : cases) {
        dib[16] = char(c.compression);
        CxImage image;
        EXPECT_FALSE(image.FromDibHandle(dib));
        EXPECT_EQ(image.lastError(), QLatin1StringView(c.error));
    }
}

TEST(CxImage, CopyImageChoosesParts)
{
    CxImage source;
    ASSERT_TRUE(source.LoadFile(fixture("png-half-alpha.png"), CXIMAGE_FORMAT_PNG));
    source.SetJpegQuality(70);
    CxImage full;
    ASSERT_TRUE(full.CopyImage(source));
    EXPECT_EQ(full.PixelColor(7, 0), source.PixelColor(7, 0));
    EXPECT_TRUE(full.HasAlpha());
    EXPECT_EQ(full.JpegQuality(), 70);

    CxImage shape;
    ASSERT_TRUE(shape.CopyImage(source, false, false));
    EXPECT_EQ(shape.Width(), source.Width());
    EXPECT_FALSE(shape.HasAlpha());
    EXPECT_EQ(shape.PixelColor(7, 0), qRgb(0, 0, 0));

    full.ScanLine(0)[0] = 1;
    EXPECT_NE(full.PixelColor(0, 0), source.PixelColor(0, 0)) << "copies do not share changes";
}

TEST(CxImage, JpegKeepsItsSourceBytesUntilThePixelsChange)
{
    const QByteArray bytes = test::fixtureBytes("jpeg-baseline.jpg");
    CxImage image;
    ASSERT_TRUE(image.LoadBuffer(bytes, CXIMAGE_FORMAT_DETECT));
    EXPECT_EQ(image.Type(), CXIMAGE_FORMAT_JPG);
    EXPECT_EQ(image.SourceBytes(), bytes);
    ASSERT_TRUE(image.ResampleTo(16, 16));
    EXPECT_TRUE(image.SourceBytes().isEmpty());

    CxImage png;
    ASSERT_TRUE(png.LoadFile(fixture("png-rgb.png"), CXIMAGE_FORMAT_PNG));
    EXPECT_TRUE(png.SourceBytes().isEmpty());
    png.SetSourceBytes(QByteArray("kept"));
    EXPECT_EQ(png.SourceBytes(), QByteArray("kept"));
}

// A deferred JPEG knows its size from its headers and gives every caller the pixels a decoded one gives:
// whole-picture results (drawing, ToBitmap, DibBytes, encoding) from a passing copy that leaves it
// deferred, rows and edits by decoding it in place.
TEST(CxImage, DeferredJpegGivesTheDecodedPixelsWhenAsked)
{
    for (const char* name :
         {"jpeg-baseline.jpg", "jpeg-grey.jpg", "jpeg-progressive.jpg", "jpeg-exif-rotate90.jpg"}) {
        SCOPED_TRACE(name);
        const QByteArray bytes = test::fixtureBytes(name);
        CxImage decoded;
        ASSERT_TRUE(decoded.LoadBuffer(bytes, CXIMAGE_FORMAT_JPG));
        CxImage deferred;
        ASSERT_TRUE(deferred.LoadBufferDeferred(bytes, CXIMAGE_FORMAT_JPG));
        ASSERT_TRUE(deferred.IsDeferred());
        EXPECT_TRUE(deferred.IsValid());
        EXPECT_EQ(QSize(deferred.Width(), deferred.Height()), QSize(decoded.Width(), decoded.Height()));
        EXPECT_FALSE(deferred.HasAlpha());
        EXPECT_EQ(deferred.SourceBytes(), bytes);

        EXPECT_EQ(deferred.ToBitmap(), decoded.ToBitmap());
        EXPECT_EQ(deferred.DibBytes(), decoded.DibBytes());
        QByteArray fromDeferred;
        QByteArray fromDecoded;
        ASSERT_TRUE(deferred.EncodeBuffer(fromDeferred, CXIMAGE_FORMAT_PNG));
        ASSERT_TRUE(decoded.EncodeBuffer(fromDecoded, CXIMAGE_FORMAT_PNG));
        EXPECT_EQ(fromDeferred, fromDecoded);
        QImage drawnDeferred(40, 30, QImage::Format_RGB32);
        QImage drawnDecoded(40, 30, QImage::Format_RGB32);
        for (auto [image, target] :
             {std::pair{&deferred, &drawnDeferred}, std::pair{&decoded, &drawnDecoded}}) {
            target->fill(Qt::white);
            QPainter painter(target);
            EXPECT_TRUE(image->DrawTo(&painter, QRect(0, 0, 40, 30)));
        }
        EXPECT_EQ(drawnDeferred, drawnDecoded);
        EXPECT_TRUE(deferred.IsDeferred()) << "whole-picture results leave it deferred";

        CxImage copy = deferred;
        EXPECT_EQ(copy.PixelColor(3, 5), decoded.PixelColor(3, 5));
        EXPECT_FALSE(copy.IsDeferred()) << "reading a pixel decodes in place";
        EXPECT_EQ(copy.Bpp(), decoded.Bpp());
        EXPECT_EQ(copy.Palette(), decoded.Palette());
        EXPECT_TRUE(deferred.IsDeferred()) << "a copy decodes apart from the original";

        CxImage resampled = deferred;
        CxImage reference = decoded;
        ASSERT_TRUE(resampled.ResampleTo(7, 9));
        ASSERT_TRUE(reference.ResampleTo(7, 9));
        EXPECT_EQ(resampled.ToBitmap(), reference.ToBitmap());
    }
}

// Only JPEGs wait: other formats decode at once, and bytes whose headers no decoder takes are refused.
TEST(CxImage, OnlyJpegIsDeferred)
{
    CxImage png;
    ASSERT_TRUE(png.LoadBufferDeferred(test::fixtureBytes("png-rgb.png"), CXIMAGE_FORMAT_PNG));
    EXPECT_FALSE(png.IsDeferred());
    EXPECT_TRUE(png.IsValid());
    CxImage damaged;
    EXPECT_FALSE(damaged.LoadBufferDeferred(QByteArray("\xff\xd8 not a JPEG"), CXIMAGE_FORMAT_JPG));
    EXPECT_FALSE(damaged.IsValid());
    EXPECT_FALSE(damaged.lastError().isEmpty());
}

} // namespace
} // namespace tvl
