// Images large enough to be compressed in several pieces on several threads, decoded by netpbm's and
// ImageMagick's readers and compared pixel by pixel with what was encoded.
#include "images/CxImage.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tvl {
namespace {

using namespace Qt::Literals::StringLiterals;

enum class Kind
{
    Rgb,
    Rgba,
    Grey,
    Palette8,
    Palette4Keyed,
    Mono,
};

struct LargeCase
{
    const char* name;
    Kind kind;
    int type;
};

// Sets a palette index in a row packed most significant bits first, as DIB rows are.
void SetIndex(uchar* row, int x, int bpp, int index)
{
    const int perByte = 8 / bpp;
    const int shift = (perByte - 1 - x % perByte) * bpp;
    uchar& byte = row[x / perByte];
    byte = uchar((byte & ~(((1 << bpp) - 1) << shift)) | (index << shift));
}

// Smooth colour with noise, flat runs and sharp edges, so that every filter and both short and long
// matches occur; 1100 x 1000 pixels are several compression pieces even for the smallest depth.
CxImage MakeImage(Kind kind)
{
    constexpr int width = 1100;
    constexpr int height = 1000;
    const int bpp = kind == Kind::Rgb || kind == Kind::Rgba ? 24
                    : kind == Kind::Palette4Keyed           ? 4
                    : kind == Kind::Mono                    ? 1
                                                            : 8;
    CxImage image;
    EXPECT_TRUE(image.Create(width, height, bpp, CXIMAGE_FORMAT_PNG));
    if (kind == Kind::Grey)
        image.SetGreyPalette();
    if (kind == Kind::Palette8 || kind == Kind::Palette4Keyed || kind == Kind::Mono) {
        QList<QRgb> palette;
        for (int i = 0; i < (1 << bpp); ++i)
            palette.append(qRgb(i * 37 % 256, 255 - i * 11 % 256, i * 73 % 256));
        image.SetPalette(palette);
    }
    if (kind == Kind::Palette4Keyed)
        image.SetTransparentIndex(5);
    if (kind == Kind::Rgba)
        image.AlphaCreate();
    quint32 seed = 7;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = int(seed >> 29);
            const bool flat = (x / 100 + y / 100) % 3 == 0;
            const int red = flat ? 40 : (x * 255 / width + noise) & 255;
            const int green = flat ? 200 : (y * 255 / height + noise) & 255;
            const int blue = flat ? 90 : ((x ^ y) & 255);
            uchar* row = image.ScanLine(y);
            if (bpp == 24) {
                row[3 * x] = uchar(blue);
                row[3 * x + 1] = uchar(green);
                row[3 * x + 2] = uchar(red);
            } else {
                SetIndex(row, x, bpp, flat ? 3 % (1 << bpp) : (x / 7 + y / 5 + noise) % (1 << bpp));
            }
            if (kind == Kind::Rgba)
                image.AlphaScanLine(y)[x] = uchar(flat ? 255 : (x + 3 * y) & 255);
        }
    }
    image.SetResolution(600, 600);
    return image;
}

// Runs a converter that writes the picture as PNM to its output; the picture, or a null image.
QImage Read(const QString& converter, const QStringList& args)
{
    QProcess process;
    process.start(converter, args);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return {};
    return QImage::fromData(process.readAllStandardOutput());
}

class LargeEncode : public testing::TestWithParam<LargeCase>
{
};

TEST_P(LargeEncode, ThirdPartyReadersSeeEveryPixel)
{
    const LargeCase& c = GetParam();
    CxImage image = MakeImage(c.kind);
    QByteArray encoded;
    ASSERT_TRUE(image.EncodeBuffer(encoded, c.type)) << image.lastError().toStdString();
    QTemporaryDir dir;
    const QString path = dir.filePath(u"image"_s);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(encoded), encoded.size());
    file.close();

    // netpbm's tifftopnm premultiplies colours by their alpha, so TIFF with alpha is read by ImageMagick.
    const bool png = c.type == CXIMAGE_FORMAT_PNG;
    const bool withAlpha = c.kind == Kind::Rgba || (png && c.kind == Kind::Palette4Keyed);
    const QImage colors = png ? Read(u"pngtopnm"_s, {path})
                          : c.kind == Kind::Rgba
                              ? Read(u"convert"_s, {path, u"-alpha"_s, u"off"_s, u"ppm:-"_s})
                              : Read(u"tifftopnm"_s, {path});
    ASSERT_FALSE(colors.isNull()) << "the reader refused the file";
    ASSERT_EQ(colors.size(), QSize(image.Width(), image.Height()));
    QImage alpha;
    if (withAlpha) {
        alpha = png ? Read(u"pngtopnm"_s, {u"-alpha"_s, path})
                    : Read(u"convert"_s, {path, u"-alpha"_s, u"extract"_s, u"pgm:-"_s});
        ASSERT_EQ(alpha.size(), colors.size());
    }
    const QRgb keyColor = image.Palette().value(5) & 0xffffffu;
    int wrong = 0;
    for (int y = 0; y < image.Height() && wrong < 5; ++y) {
        for (int x = 0; x < image.Width() && wrong < 5; ++x) {
            const QRgb expected = image.PixelColor(x, y) & 0xffffffu;
            if ((colors.pixel(x, y) & 0xffffffu) != expected) {
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << colors.pixel(x, y);
                ++wrong;
            }
            const int expectedAlpha = c.kind == Kind::Rgba   ? image.AlphaScanLine(y)[x]
                                      : expected == keyColor ? 0
                                                             : 255;
            if (withAlpha && qGray(alpha.pixel(x, y)) != expectedAlpha) {
                ADD_FAILURE() << "alpha at " << x << "," << y << " is " << qGray(alpha.pixel(x, y));
                ++wrong;
            }
        }
    }

    // The resolution is recorded.
    CxImage decoded;
    ASSERT_TRUE(decoded.LoadBuffer(encoded, c.type)) << decoded.lastError().toStdString();
    EXPECT_EQ(decoded.XDpi(), 600);
    EXPECT_EQ(decoded.YDpi(), 600);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, LargeEncode,
    testing::Values(LargeCase{"PngRgb", Kind::Rgb, CXIMAGE_FORMAT_PNG},
                    LargeCase{"PngRgba", Kind::Rgba, CXIMAGE_FORMAT_PNG},
                    LargeCase{"PngGrey", Kind::Grey, CXIMAGE_FORMAT_PNG},
                    LargeCase{"PngPalette8", Kind::Palette8, CXIMAGE_FORMAT_PNG},
                    LargeCase{"PngPalette4Keyed", Kind::Palette4Keyed, CXIMAGE_FORMAT_PNG},
                    LargeCase{"PngMono", Kind::Mono, CXIMAGE_FORMAT_PNG},
                    LargeCase{"TiffRgb", Kind::Rgb, CXIMAGE_FORMAT_TIF},
                    LargeCase{"TiffRgba", Kind::Rgba, CXIMAGE_FORMAT_TIF},
                    LargeCase{"TiffGrey", Kind::Grey, CXIMAGE_FORMAT_TIF},
                    LargeCase{"TiffPalette8", Kind::Palette8, CXIMAGE_FORMAT_TIF},
                    LargeCase{"TiffPalette4", Kind::Palette4Keyed, CXIMAGE_FORMAT_TIF},
                    LargeCase{"TiffMono", Kind::Mono, CXIMAGE_FORMAT_TIF}),
    [](const testing::TestParamInfo<LargeCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace tvl
