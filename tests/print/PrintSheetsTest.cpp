#include "print/page/PrintSheets.h"
#include "document/model/SurfaceNames.h"
#include "render/paint/PaintSheet.h"
#include "render/surface/RenderSurfaceImage.h"
#include "tests/render/SurfaceFixture.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <gtest/gtest.h>

namespace tvl {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::SurfaceFixture;

constexpr QRgb kWhite = 0xffffff;

// The disc sheet at 150 dots per inch, painted from its top-left corner.
QImage DiscSheet(const SurfaceFixture& f, const SheetSpec& spec)
{
    QImage sheet(static_cast<int>(8500 * 0.15), static_cast<int>(11000 * 0.15), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    PaintSheet(painter, f.design, u"1", spec);
    return sheet;
}

SheetSpec At150Dpi()
{
    SheetSpec spec;
    spec.dpiX = spec.dpiY = 150;
    return spec;
}

int FirstInkInRow(const QImage& image, int y)
{
    for (int x = 0; x < image.width(); ++x) {
        if ((image.pixel(x, y) & 0xffffffu) != kWhite)
            return x;
    }
    return -1;
}

TEST(PaintSheetTest, ASheetShowsEachLabelAsItsExportDoes)
{
    SurfaceFixture f;
    f.design.FindCover(u"Disc 1")->colors[0] = 0x00204080;
    const CRichChild& disc = *f.design.FindCover(u"Disc 1");
    f.Add(u"Image(1)"_s, u"Image"_s, u"Disc 1"_s, disc.left() + 600, disc.top() + 1800, 900, 900);
    const QImage sheet = DiscSheet(f, At150Dpi());

    SurfaceImageRequest request;
    request.surface = Disc1Surface;
    request.dpiX = request.dpiY = 150;
    const QImage label = RenderSurfaceImage(f.design, request);
    const QPoint at(static_cast<int>(disc.left() * 0.15), static_cast<int>(disc.top() * 0.15));
    int differing = 0;
    for (int y = 0; y < label.height(); ++y) {
        for (int x = 0; x < label.width(); ++x)
            differing += label.pixel(x, y) != sheet.pixel(at.x() + x, at.y() + y);
    }
    EXPECT_EQ(differing, 0);
    EXPECT_NE(label.pixel(label.width() / 2, 30) & 0xffffffu, kWhite);
}

TEST(PaintSheetTest, CalibrationMovesThePrintButNotThePreview)
{
    SurfaceFixture f;
    f.design.FindCover(u"Disc 1")->colors[0] = 0x000000ff;
    const int row = static_cast<int>((f.design.FindCover(u"Disc 1")->top() + 2312) * 0.15);
    const int plain = FirstInkInRow(DiscSheet(f, At150Dpi()), row);
    ASSERT_GT(plain, 0);

    SheetSpec calibrated = At150Dpi();
    calibrated.calibration = QPoint(2, -1); // 50 mils right, 25 up on a portrait sheet
    EXPECT_EQ(FirstInkInRow(DiscSheet(f, calibrated), row), plain + 7);
    calibrated.preview = true;
    calibrated.printable = {0, 0, 8500, 11000};
    EXPECT_EQ(FirstInkInRow(DiscSheet(f, calibrated), row), plain);

    // The printer's unprintable margin: the device origin lies 100 mils into the sheet.
    SheetSpec offset = At150Dpi();
    offset.physicalOffset = QPoint(15, 0);
    EXPECT_EQ(FirstInkInRow(DiscSheet(f, offset), row), plain - 15);
}

TEST(PaintSheetTest, DuplicateDiscPrintsDiscOneTwiceAndASingleDesignNoDiscTwo)
{
    SurfaceFixture f(u"Jewel", u"Single", DiscPositionMode::DuplicateDisc);
    f.design.FindCover(u"Disc 1")->colors[0] = 0x000000ff;
    f.design.FindCover(u"Disc 2")->colors[0] = 0x0000ff00;
    const CRichChild& disc2 = *f.design.FindCover(u"Disc 2");
    const int x = static_cast<int>((disc2.left() + 200) * 0.15);
    const int y = static_cast<int>((disc2.top() + 2312) * 0.15);
    SheetSpec spec = At150Dpi();
    EXPECT_EQ(DiscSheet(f, spec).pixel(x, y) & 0xffffffu, kWhite) << "a single design has no second disc";
    spec.duplicateDisc = true;
    EXPECT_EQ(DiscSheet(f, spec).pixel(x, y) & 0xffffffu, 0xff0000u);
    spec.duplicateDisc = false;
    spec.doubleDisc = true;
    EXPECT_EQ(DiscSheet(f, spec).pixel(x, y) & 0xffffffu, 0x00ff00u);
    spec.labels[Disc2Surface].print = false;
    EXPECT_EQ(DiscSheet(f, spec).pixel(x, y) & 0xffffffu, kWhite) << "labels not chosen stay blank";
}

TEST(PrintSheetsTest, EverySheetBecomesAPageOfAPagedDevice)
{
    SurfaceFixture f;
    f.design.FindCover(u"Front Cover")->colors[0] = 0x000000ff;
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(150);
        std::vector<PrintedSheet> sheets{{u"1"_s, {}}, {u"2"_s, {}}, {u"3"_s, {}}};
        ASSERT_TRUE(PrintSheets(writer, f.design, sheets));
    }
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "), 3);
}

} // namespace
} // namespace tvl
