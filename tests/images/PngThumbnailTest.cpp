// PNG thumbnails are shrunk while the rows are read (only the first passes of an interlaced file): they
// must still look like the picture scaled down by a third-party tool, ImageMagick's pixel averaging.
#include "images/CxImage.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace tvl {
namespace {

using namespace Qt::Literals::StringLiterals;

struct ThumbnailCase
{
    const char* name;
    QSize size;
    bool sixteenBits;
    bool interlaced;
    QSize expected;
};

void PrintTo(const ThumbnailCase& c, std::ostream* out)
{
    *out << c.name;
}

// Smooth colour, an alpha ramp from clear to opaque, and opaque discs with hard edges.
QImage Scene(QSize size, bool sixteenBits)
{
    QImage image(size, sixteenBits ? QImage::Format_RGBA64 : QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const int alpha = x * 255 / (size.width() - 1);
            image.setPixelColor(x, y,
                                QColor(x * 255 / size.width(), y * 255 / size.height(),
                                       static_cast<int>(128 + 100 * std::sin(x * 0.01 + y * 0.02)), alpha));
        }
    }
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(20, 200, 60));
    painter.drawEllipse(QPoint(size.width() / 4, size.height() / 2), size.height() / 5, size.height() / 5);
    painter.setBrush(QColor(250, 40, 90));
    painter.drawEllipse(QPoint(size.width() * 3 / 4, size.height() / 3), size.height() / 6,
                        size.height() / 6);
    return image;
}

// Runs a tool to its end; false when it could not run or failed.
bool RunTool(const QString& program, const QStringList& arguments, QByteArray* output = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return false;
    if (output)
        *output = process.readAllStandardOutput();
    return true;
}

class PngThumbnailTest : public testing::TestWithParam<ThumbnailCase>
{
};

TEST_P(PngThumbnailTest, MatchesImageMagicksPixelAveraging)
{
    const ThumbnailCase& c = GetParam();
    QTemporaryDir dir;
    const QString plain = dir.filePath(u"plain.png"_s);
    ASSERT_TRUE(Scene(c.size, c.sixteenBits).save(plain));
    QString path = plain;
    if (c.interlaced) {
        path = dir.filePath(u"interlaced.png"_s);
        const QString out = (c.sixteenBits ? u"png64:"_s : u"png32:"_s) + path;
        ASSERT_TRUE(RunTool(u"convert"_s, {plain, u"-interlace"_s, u"PNG"_s, out}));
    }
    // The header says what the file is: bit depth at byte 24, interlace method at byte 28.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray header = file.read(29);
    ASSERT_EQ(header.size(), 29);
    ASSERT_EQ(header[24], c.sixteenBits ? 16 : 8);
    ASSERT_EQ(header[25], 6) << "RGBA";
    ASSERT_EQ(header[28], c.interlaced ? 1 : 0);

    CxImage thumbnail;
    ASSERT_TRUE(thumbnail.LoadThumbnail(path, CXIMAGE_FORMAT_PNG, QSize(110, 110)))
        << thumbnail.lastError().toStdString();
    // Shrunk by a whole factor first, the thumbnail may round one pixel apart from the exact fit.
    const QSize size(thumbnail.Width(), thumbnail.Height());
    ASSERT_LE(std::abs(size.width() - c.expected.width()) + std::abs(size.height() - c.expected.height()), 1)
        << size.width() << " x " << size.height();
    ASSERT_TRUE(thumbnail.HasAlpha());
    thumbnail.SetTransparentColor(qRgb(255, 255, 255));
    thumbnail.FlattenAlpha();
    const QImage ours = thumbnail.ToBitmap();

    const QString geometry = u"%1x%2!"_s.arg(size.width()).arg(size.height());
    QByteArray scaled;
    ASSERT_TRUE(RunTool(
        u"convert"_s, {path, u"-background"_s, u"white"_s, u"-flatten"_s, u"-scale"_s, geometry, u"ppm:-"_s},
        &scaled));
    const QImage reference = QImage::fromData(scaled);
    ASSERT_EQ(reference.size(), size) << "ImageMagick gave no picture";

    double total = 0;
    int far = 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const QRgb a = ours.pixel(x, y);
            const QRgb b = reference.pixel(x, y);
            int largest = 0;
            for (const int d : {qRed(a) - qRed(b), qGreen(a) - qGreen(b), qBlue(a) - qBlue(b)}) {
                total += std::abs(d);
                largest = std::max(largest, std::abs(d));
            }
            far += largest > 24 ? 1 : 0;
        }
    }
    const int pixels = size.width() * size.height();
    EXPECT_LE(total / (3.0 * pixels), 3.0);
    // Only on the hard edges of the discs, where a sampled grid meets them, may a pixel differ more.
    EXPECT_LE(far, pixels / 25);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PngThumbnailTest,
    testing::Values(ThumbnailCase{"interlaced_8bit", {1200, 800}, false, true, {110, 73}},
                    ThumbnailCase{"interlaced_16bit", {1200, 800}, true, true, {110, 73}},
                    ThumbnailCase{"interlaced_16bit_three_passes", {600, 800}, true, true, {82, 110}},
                    ThumbnailCase{"plain_16bit", {1000, 700}, true, false, {110, 77}}),
    [](const testing::TestParamInfo<ThumbnailCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace tvl
