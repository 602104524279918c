#include "ImageTestSupport.h"

#include "images/CxImage.h"

#include <QtEndian>

namespace tvl {
namespace {

// A BMP file around the given pixel bytes, with a 40-byte header.
QByteArray bmpFile(int width, int height, int bpp, quint32 compression, const QList<QRgb>& palette,
                   const QByteArray& pixels)
{
    QByteArray header(54, '\0');
    uchar* p = reinterpret_cast<uchar*>(header.data());
    p[0] = 'B';
    p[1] = 'M';
    const quint32 offset = quint32(54 + palette.size() * 4);
    qToLittleEndian<quint32>(quint32(offset + pixels.size()), p + 2);
    qToLittleEndian<quint32>(offset, p + 10);
    qToLittleEndian<quint32>(40, p + 14);
    qToLittleEndian<qint32>(width, p + 18);
    qToLittleEndian<qint32>(height, p + 22);
    qToLittleEndian<quint16>(1, p + 26);
    qToLittleEndian<quint16>(quint16(bpp), p + 28);
    qToLittleEndian<quint32>(compression, p + 30);
    qToLittleEndian<quint32>(quint32(palette.size()), p + 46);
    for (QRgb entry : palette) {
        uchar bgr0[4];
        qToLittleEndian<quint32>(entry & 0x00ffffffu, bgr0);
        header.append(reinterpret_cast<const char*>(bgr0), 4);
    }
    return header + pixels;
}

const QList<QRgb> fourColours = {0x000000, 0xff0000, 0x00ff00, 0x0000ff};

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

TEST(DecodeDib, Rle4EncodedAndAbsoluteRuns)
{
    // Bottom row: a run of 4 pixels alternating 1 and 2; top row: an absolute run 3, 1, 2; then the end.
    const QByteArray file = bmpFile(4, 2, 4, 2, fourColours, bytes({4, 0x12, 0, 0, 0, 3, 0x31, 0x20, 0, 1}));
    CxImage image;
    ASSERT_TRUE(image.LoadBuffer(file, CXIMAGE_FORMAT_BMP)) << image.lastError().toStdString();
    EXPECT_EQ(image.Bpp(), 4);
    const QRgb top[] = {0xff0000ff, 0xffff0000, 0xff00ff00, 0xff000000};
    const QRgb bottom[] = {0xffff0000, 0xff00ff00, 0xffff0000, 0xff00ff00};
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(image.PixelColor(x, 0), top[x]) << x;
        EXPECT_EQ(image.PixelColor(x, 1), bottom[x]) << x;
    }
}

TEST(DecodeDib, Rle8DeltaSkipsPixels)
{
    const QByteArray file = bmpFile(4, 3, 8, 1, fourColours, bytes({0, 2, 2, 1, 2, 1, 0, 1}));
    CxImage image;
    ASSERT_TRUE(image.LoadBuffer(file, CXIMAGE_FORMAT_BMP)) << image.lastError().toStdString();
    EXPECT_EQ(image.PixelColor(2, 1), qRgb(255, 0, 0));
    EXPECT_EQ(image.PixelColor(3, 1), qRgb(255, 0, 0));
    EXPECT_EQ(image.PixelColor(1, 1), qRgb(0, 0, 0));
    EXPECT_EQ(image.PixelColor(2, 2), qRgb(0, 0, 0));
}

TEST(DecodeDib, RunLengthDataEndingEarlyIsRefused)
{
    const QByteArray file = bmpFile(4, 3, 8, 1, fourColours, bytes({4, 1, 0, 0}));
    CxImage image;
    EXPECT_FALSE(image.LoadBuffer(file, CXIMAGE_FORMAT_BMP));
    EXPECT_FALSE(image.lastError().isEmpty());
}

TEST(DecodeDib, TopDownRowsAndSixteenBitDefaultMasks)
{
    // Two rows of 24-bit pixels given top first (negative height): red above blue.
    const QByteArray topDown = bmpFile(1, -2, 24, 0, {}, bytes({0, 0, 255, 0, 255, 0, 0, 0}));
    CxImage image;
    ASSERT_TRUE(image.LoadBuffer(topDown, CXIMAGE_FORMAT_BMP)) << image.lastError().toStdString();
    EXPECT_EQ(image.Height(), 2);
    EXPECT_EQ(image.PixelColor(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.PixelColor(0, 1), qRgb(0, 0, 255));

    // 5-5-5 without masks: 0x7c00 is full red, 0x03e0 full green.
    const QByteArray sixteen = bmpFile(2, 1, 16, 0, {}, bytes({0x00, 0x7c, 0xe0, 0x03}));
    ASSERT_TRUE(image.LoadBuffer(sixteen, CXIMAGE_FORMAT_BMP)) << image.lastError().toStdString();
    EXPECT_EQ(image.PixelColor(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.PixelColor(1, 0), qRgb(0, 255, 0));
}

TEST(DecodeDib, RefusesDepthsAndCompressionsItCannotRead)
{
    CxImage image;
    EXPECT_FALSE(image.LoadBuffer(bmpFile(1, 1, 2, 0, fourColours, bytes({0, 0, 0, 0})), CXIMAGE_FORMAT_BMP));
    EXPECT_FALSE(image.LoadBuffer(bmpFile(1, 1, 24, 4, {}, bytes({0, 0, 0, 0})), CXIMAGE_FORMAT_BMP));
    EXPECT_EQ(image.lastError(), QStringLiteral("compression type not supported"));
    EXPECT_FALSE(image.LoadBuffer(bmpFile(1, 1, 8, 2, fourColours, bytes({0, 0, 0, 0})), CXIMAGE_FORMAT_BMP))
        << "RLE4 needs 4 bits";
    EXPECT_FALSE(image.LoadBuffer(bmpFile(1, 1, 24, 0, {}, bytes({0, 0})), CXIMAGE_FORMAT_BMP))
        << "too few pixels";
    EXPECT_FALSE(image.LoadBuffer(QByteArrayView("BM"), CXIMAGE_FORMAT_BMP));
    EXPECT_EQ(image.lastError(), QStringLiteral("Not a BMP"));
}

} // namespace
} // namespace tvl
