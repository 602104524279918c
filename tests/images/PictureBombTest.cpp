#include "ImageTestSupport.h"
#include "PictureBombs.h"

#include "images/CxImage.h"
#include "images/codecs/ImageCodecs.h"

#include <QtEndian>

namespace tvl {
namespace {

using test::fixtureBytes;

// Changes the width and height entries of a little-endian TIFF's first directory.
QByteArray TiffDeclaring(QByteArray tiff, quint32 width, quint32 height)
{
    const quint32 directory = qFromLittleEndian<quint32>(tiff.constData() + 4);
    const quint16 count = qFromLittleEndian<quint16>(tiff.constData() + directory);
    for (quint16 i = 0; i < count; ++i) {
        char* entry = tiff.data() + directory + 2 + 12 * i;
        const quint16 tag = qFromLittleEndian<quint16>(entry);
        const quint16 kind = qFromLittleEndian<quint16>(entry + 2);
        const quint32 value = tag == 256 ? width : height;
        if (tag != 256 && tag != 257)
            continue;
        if (kind == 3)
            qToLittleEndian(quint16(value), entry + 8);
        else
            qToLittleEndian(value, entry + 8);
    }
    return tiff;
}

QByteArray WithLittleEndian(QByteArray bytes, qsizetype offset, quint32 value, int size)
{
    if (size == 2)
        qToLittleEndian(quint16(value), bytes.data() + offset);
    else
        qToLittleEndian(value, bytes.data() + offset);
    return bytes;
}

struct Bomb
{
    const char* name;
    QByteArray bytes;
    int type;
};

void PrintTo(const Bomb& bomb, std::ostream* os)
{
    *os << bomb.name;
}

class PictureBomb : public testing::TestWithParam<Bomb>
{
};

// Each file declares a picture of hundreds of megabytes that its data cannot fill: it is refused from its
// headers, before a pixel is allocated, and a header probe refuses it alike.
TEST_P(PictureBomb, IsRefusedBeforeAllocating)
{
    const Bomb& bomb = GetParam();
    ASSERT_FALSE(bomb.bytes.isEmpty());
    // Detection tries every decoder and reports only that none took the file.
    const QString refusal = bomb.type == CXIMAGE_FORMAT_DETECT
                                ? QStringLiteral("Decode: Unknown or wrong format")
                                : QStringLiteral("Image data too short for its size");
    CxImage image;
    EXPECT_FALSE(image.LoadBuffer(bomb.bytes, bomb.type));
    EXPECT_FALSE(image.IsValid());
    EXPECT_EQ(image.lastError().toStdString(), refusal.toStdString());

    const auto probed = ImageCodecs::probe(bomb.bytes, bomb.type);
    ASSERT_FALSE(probed);
    EXPECT_EQ(probed.error().toStdString(), refusal.toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    All, PictureBomb,
    testing::Values(
        Bomb{"png-rgba-14142", test::PngBomb(14142, 14142, 6, 4), CXIMAGE_FORMAT_PNG},
        Bomb{"png-garbage-data", test::PngWithData(14142, 14142, 2, QByteArray(9, 'x')), CXIMAGE_FORMAT_PNG},
        Bomb{"png-detected", test::PngBomb(14142, 14142, 6, 4), CXIMAGE_FORMAT_DETECT},
        Bomb{"jpeg-20000x10000", test::JpegBomb(20000, 10000), CXIMAGE_FORMAT_JPG},
        Bomb{"gif-screen",
             WithLittleEndian(WithLittleEndian(fixtureBytes("gif-quad.gif"), 6, 20000, 2), 8, 10000, 2),
             CXIMAGE_FORMAT_GIF},
        Bomb{"bmp-rle",
             WithLittleEndian(WithLittleEndian(fixtureBytes("bmp8rle.bmp"), 18, 10000, 4), 22, 10000, 4),
             CXIMAGE_FORMAT_BMP},
        Bomb{"tiff-uncompressed", TiffDeclaring(fixtureBytes("tiff-none.tif"), 15000, 13000),
             CXIMAGE_FORMAT_TIF},
        Bomb{"tiff-lzw", TiffDeclaring(fixtureBytes("tiff-lzw.tif"), 15000, 13000), CXIMAGE_FORMAT_TIF}));

// Data compressed as far as its format allows still decodes: the checks bound the ratio, not the size.
TEST(PictureBombs, MaximallyCompressedPicturesStillDecode)
{
    CxImage png;
    ASSERT_TRUE(png.LoadBuffer(test::PngBomb(2000, 2000, 6, 2000), CXIMAGE_FORMAT_PNG))
        << png.lastError().toStdString();
    EXPECT_EQ(png.Width(), 2000);
    EXPECT_TRUE(png.HasAlpha());
    EXPECT_EQ(png.PixelColor(1999, 1999), 0u);

    CxImage grey;
    ASSERT_TRUE(grey.Create(2048, 2048, 8, CXIMAGE_FORMAT_JPG));
    QByteArray jpeg;
    ASSERT_TRUE(grey.EncodeBuffer(jpeg, CXIMAGE_FORMAT_JPG));
    CxImage decoded;
    ASSERT_TRUE(decoded.LoadBuffer(jpeg, CXIMAGE_FORMAT_JPG)) << decoded.lastError().toStdString();
    EXPECT_EQ(decoded.Height(), 2048);
}

// A JPEG whose coded data stops at a marker before the picture is complete is broken, as one whose file
// ends early is.
TEST(PictureBombs, JpegDataEndingAtAMarkerIsRefused)
{
    QByteArray jpeg = fixtureBytes("jpeg-baseline.jpg");
    const qsizetype scan = jpeg.indexOf(QByteArray("\xff\xda", 2));
    ASSERT_GT(scan, 0);
    const qsizetype data = scan + 2 + qFromBigEndian<quint16>(jpeg.constData() + scan + 2);
    jpeg = jpeg.left(data + 4) + QByteArray("\xff\xd9", 2);
    CxImage image;
    EXPECT_FALSE(image.LoadBuffer(jpeg, CXIMAGE_FORMAT_JPG));
    EXPECT_FALSE(image.lastError().isEmpty());
}

struct Probe
{
    const char* file;
    int type;
};

void PrintTo(const Probe& probe, std::ostream* os)
{
    *os << probe.file;
}

class HeaderProbe : public testing::TestWithParam<Probe>
{
};

// The probe gives the format and size a full decode gives, orientation and detection included.
TEST_P(HeaderProbe, AgreesWithTheDecoder)
{
    const QByteArray bytes = fixtureBytes(GetParam().file);
    CxImage decoded;
    ASSERT_TRUE(decoded.LoadBuffer(bytes, GetParam().type)) << decoded.lastError().toStdString();
    const auto probed = ImageCodecs::probe(bytes, GetParam().type);
    ASSERT_TRUE(probed) << probed.error().toStdString();
    EXPECT_EQ(probed.value().type, decoded.Type());
    EXPECT_EQ(probed.value().size, QSize(decoded.Width(), decoded.Height()));
}

INSTANTIATE_TEST_SUITE_P(
    All, HeaderProbe,
    testing::Values(
        Probe{"bmp24.bmp", CXIMAGE_FORMAT_BMP}, Probe{"bmp8rle.bmp", CXIMAGE_FORMAT_BMP},
        Probe{"jpeg-progressive.jpg", CXIMAGE_FORMAT_JPG},
        Probe{"jpeg-exif-rotate90.jpg", CXIMAGE_FORMAT_JPG}, Probe{"png-interlaced.png", CXIMAGE_FORMAT_PNG},
        Probe{"png-half-alpha.png", CXIMAGE_FORMAT_PNG}, Probe{"png-palette.png", CXIMAGE_FORMAT_DETECT},
        Probe{"gif-animated.gif", CXIMAGE_FORMAT_GIF}, Probe{"tiff-g4.tif", CXIMAGE_FORMAT_TIF},
        Probe{"tiff-jpeg.tif", CXIMAGE_FORMAT_DETECT}, Probe{"ico-png.ico", CXIMAGE_FORMAT_ICO},
        Probe{"ico-quad.ico", CXIMAGE_FORMAT_ICO}, Probe{"pcx-4planes.pcx", CXIMAGE_FORMAT_PCX},
        Probe{"wmf-shapes.wmf", CXIMAGE_FORMAT_WMF}, Probe{"emf-shapes.emf", CXIMAGE_FORMAT_DETECT}));

} // namespace
} // namespace tvl
