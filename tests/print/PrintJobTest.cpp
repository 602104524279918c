#include "print/job/PrintJob.h"
#include "print/job/PageRange.h"
#include "print/job/PaintJob.h"
#include "print/page/CalibrationSheet.h"
#include "stock/CLabelDim.h"
#include "tests/render/SurfaceFixture.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>

namespace tvl {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::SurfaceFixture;

constexpr double kDpi = 100; // one pixel is 10 mils
constexpr QRgb kWhite = 0xffffff;

QImage PaintPage(const SurfaceFixture& f, const JobPage& page)
{
    QImage image(static_cast<int>(page.paper.width() * kDpi / 1000),
                 static_cast<int>(page.paper.height() * kDpi / 1000), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintJobPage(painter, f.design, page, kDpi, kDpi, QPoint(), QGuiApplication::font());
    return image;
}

bool Ink(const QImage& image, int x, int y)
{
    return (image.pixel(x, y) & 0xffffffu) != kWhite;
}

// The first inked pixel from the left in row y, or from the top in column x.
int FirstInkInRow(const QImage& image, int y)
{
    for (int x = 0; x < image.width(); ++x) {
        if (Ink(image, x, y))
            return x;
    }
    return -1;
}

int FirstInkInColumn(const QImage& image, int x)
{
    for (int y = 0; y < image.height(); ++y) {
        if (Ink(image, x, y))
            return y;
    }
    return -1;
}

TEST(PageRangeTest, TicksGiveTheSheetsToSend)
{
    const struct
    {
        LabelsToPrint labels;
        bool doubleDisc;
        int casePage2;
        int first;
        int last;
        bool skipFront;
    } cases[] = {
        {{false, true, true, false}, false, 3, 1, 2, true},   // disc 1 and a back on sheet 3, no front
        {{true, false, false, false}, false, 3, 2, 2, false}, // front only on a "2 Pages" stock
        {{false, true, false, false}, false, 2, 2, 2, false}, // back only on a "1 Page" stock
        {{false, false, false, false}, false, 3, 0, 0, false},
        {{false, false, false, true}, false, 3, 0, 0, false}, // disc 2 of a single design
        {{false, false, false, true}, true, 3, 1, 1, false},
        {{true, true, true, false}, false, 3, 1, 3, false},
        {{false, true, false, false}, false, 3, 3, 3, false},
    };
    for (const auto& c : cases) {
        const PageRange range = ComputePageRange(c.labels, c.doubleDisc, c.casePage2);
        EXPECT_EQ(range.firstPage, c.first);
        EXPECT_EQ(range.lastPage, c.last);
        EXPECT_EQ(range.skipFrontPage, c.skipFront);
    }
    const PageRange skipping = ComputePageRange({false, true, true, false}, false, 3);
    EXPECT_EQ(skipping.SheetOfPage(2), 3);
    EXPECT_EQ(skipping.Total(3), 6);
    EXPECT_EQ(ComputePageRange({}, false, 3).Total(5), 0);
}

TEST(JobPagesTest, EachSheetOnItsPaperWithOnlyTheTickedLabels)
{
    SurfaceFixture f; // Jewel: front on a landscape Letter sheet 2, back on a portrait Letter sheet 3
    PrintJob job;
    job.labels = {false, true, true, false};
    const std::vector<JobPage> pages = JobPages(job, f.disc, f.caseStock);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].sheetNumber, 1);
    EXPECT_EQ(pages[0].paper, kLetterPaper);
    EXPECT_EQ(pages[1].sheetNumber, 3);
    EXPECT_EQ(pages[1].paper, f.caseStock.paper2);
    EXPECT_FALSE(pages[1].spec.labels[FrontSurface].print);
    EXPECT_TRUE(pages[1].spec.labels[BackSurface].print);

    // The preview shows every sheet with every label.
    PrintableAreas areas;
    areas.letter = {100, 200, 8300, 10900};
    const std::vector<JobPage> preview = PreviewPages(job, f.disc, f.caseStock, areas);
    ASSERT_EQ(preview.size(), 3u);
    EXPECT_TRUE(preview[1].spec.preview);
    EXPECT_EQ(preview[0].spec.printable, areas.letter);
    EXPECT_EQ(preview[1].spec.printable, (EdgeRect{200, 100, 10900, 8300}))
        << "a landscape sheet turns the rectangle";
}

TEST(JobPagesTest, CalibrationOffsetsMoveThePrintedLabels)
{
    SurfaceFixture f;
    f.design.FindCover(u"Disc 1")->colors[0] = 0x000000ff;
    f.design.FindCover(u"Front Cover")->colors[0] = 0x000000ff;
    PrintJob job;
    job.labels = {true, false, true, false};
    job.options.borderFront = false;
    job.options.foldFront = false;
    const std::vector<JobPage> plain = JobPages(job, f.disc, f.caseStock);
    job.calibration = QPoint(4, -2);
    const std::vector<JobPage> moved = JobPages(job, f.disc, f.caseStock);
    ASSERT_EQ(plain.size(), 2u);
    ASSERT_EQ(moved.size(), 2u);

    // Portrait disc sheet: 100 mils right and 50 up.
    const CRichChild& disc = *f.design.FindCover(u"Disc 1");
    // A disc cover is as high as its hub; its outer circle is as high as it is wide.
    const int row = (disc.top() + disc.width() / 2 + 600) / 10;
    const int column = (disc.left() + disc.width() / 2 + 600) / 10;
    const QImage before = PaintPage(f, plain[0]);
    const QImage after = PaintPage(f, moved[0]);
    EXPECT_EQ(FirstInkInRow(after, row - 5), FirstInkInRow(before, row) + 10);
    EXPECT_EQ(FirstInkInColumn(after, column + 10), FirstInkInColumn(before, column) - 5);

    // Landscape case sheet: right by the vertical value (50 mils left) and up by the horizontal (100).
    const CRichChild& front = *f.design.FindCover(u"Front Cover");
    const int frontRow = (front.top() + front.height() / 2) / 10;
    // The left half of a folded front is its inside panel, white in this design.
    const int frontColumn = (front.left() + front.width() * 3 / 4) / 10;
    const QImage sheetBefore = PaintPage(f, plain[1]);
    const QImage sheetAfter = PaintPage(f, moved[1]);
    EXPECT_EQ(FirstInkInRow(sheetAfter, frontRow), FirstInkInRow(sheetBefore, frontRow) - 5);
    EXPECT_EQ(FirstInkInColumn(sheetAfter, frontColumn), FirstInkInColumn(sheetBefore, frontColumn) - 10);
}

TEST(JobPagesTest, DiscPositionChoices)
{
    const auto discInk = [](DiscPositionMode mode) {
        SurfaceFixture f(u"Jewel", u"Single", mode);
        f.design.FindCover(u"Disc 1")->colors[0] = 0x000000ff;
        PrintJob job;
        job.labels = {false, false, true, false};
        job.options.discPositionMode = mode;
        const std::vector<JobPage> pages = JobPages(job, f.disc, f.caseStock);
        const QImage sheet = PaintPage(f, pages.at(0));
        const int x = (f.disc.left1 + 300) / 10;
        return std::pair(Ink(sheet, x, (f.disc.top1 + f.disc.width1 / 2) / 10),
                         Ink(sheet, x, (f.disc.top2 + f.disc.width2 / 2) / 10));
    };
    EXPECT_EQ(discInk(DiscPositionMode::DuplicateDisc), std::pair(true, true));
    EXPECT_EQ(discInk(DiscPositionMode::DiscOnBottom), std::pair(false, true));
    EXPECT_EQ(discInk(DiscPositionMode::DiscOnTop), std::pair(true, false));
}

// A disc printer's stock: the disc on its own 5500 mil square, printed at cdPrint1 on a Letter page.
CLabelDim DirectToDiscStock(QPoint printAt)
{
    CLabelDim stock;
    MakeBuiltInStock(stock, u"Disc");
    stock.paper1 = kDiscPrinterPaper;
    stock.left1 = stock.left2 = 437;
    stock.top1 = stock.top2 = 437;
    stock.cdPrint1 = {printAt.x(), printAt.y(), printAt.x() + stock.width1, printAt.y() + stock.width1};
    return stock;
}

TEST(JobPagesTest, ADiscPrinterPrintsOneDiscAloneAtItsPrintPosition)
{
    SurfaceFixture letter(u"Jewel", u"Double");
    letter.design.FindCover(u"Disc 1")->colors[0] = 0x00008000;
    PrintJob job;
    job.labels = {true, true, true, true};
    job.doubleDisc = true;
    PrintJob letterJob = job;
    letterJob.labels = {false, false, true, false};
    const std::vector<JobPage> letterPages = JobPages(letterJob, letter.disc, letter.caseStock);

    SurfaceFixture disc(u"Jewel", u"Double");
    disc.disc = DirectToDiscStock({1938, 688});
    CRichChild& cover = *disc.design.FindCover(u"Disc 1");
    cover.colors[0] = 0x00008000;
    cover.left(437);
    cover.top(437);
    const std::vector<JobPage> pages = JobPages(job, disc.disc, disc.caseStock);
    ASSERT_EQ(pages.size(), 1u) << "one disc and no covers in a job";
    EXPECT_EQ(pages[0].paper, kLetterPaper);
    EXPECT_TRUE(pages[0].spec.labels[Disc1Surface].print);
    EXPECT_FALSE(pages[0].spec.labels[Disc2Surface].print);
    EXPECT_FALSE(pages[0].spec.labels[FrontSurface].print);

    // Disc 2 of the letter design sits elsewhere; only disc 1 is compared.
    letter.design.FindCover(u"Disc 2")->colors[0] = 0x00ffffff;
    disc.design.FindCover(u"Disc 2")->colors[0] = 0x00ffffff;
    // The same place to the pixel; an edge computed from other whole mils may differ by one pixel.
    const QImage printed = PaintPage(disc, pages[0]);
    const QImage generic = PaintPage(letter, letterPages.at(0));
    ASSERT_EQ(printed.size(), generic.size());
    const int row = (688 + 4625 / 2) / 10;
    const int column = (1938 + 4625 / 2) / 10;
    EXPECT_EQ(FirstInkInRow(printed, row), FirstInkInRow(generic, row));
    EXPECT_EQ(FirstInkInColumn(printed, column), FirstInkInColumn(generic, column));
    int differing = 0;
    for (int y = 0; y < printed.height(); ++y) {
        for (int x = 0; x < printed.width(); ++x)
            differing += printed.pixel(x, y) != generic.pixel(x, y);
    }
    EXPECT_LT(differing, 2 * 3 * 463) << "more than the outlines of the circles";

    const LabelsToPrint covers = DirectToDiscLabels({true, true, false, false}, true);
    EXPECT_TRUE(covers.front && covers.back);
}

TEST(CalibrationSheetTest, ScalesLabelsAndTexts)
{
    const CalibrationSheetLayout sheet = LayOutCalibrationSheet(kLetterPaper, {0, 0}, 200, 120);
    ASSERT_FALSE(sheet.lines.empty());
    EXPECT_EQ(sheet.lines[0], QLine(2750, 5500, 5750, 5500));
    EXPECT_EQ(sheet.lines[1], QLine(4250, 4000, 4250, 7000));
    int ticks = 0;
    int longTicks = 0;
    int left = 100000;
    int right = 0;
    for (const QLine& line : sheet.lines) {
        if (line.x1() != line.x2() || line.y1() == 4000)
            continue; // the vertical scale and the crosshair
        ++ticks;
        longTicks += line.y2() - line.y1() == 100;
        left = std::min(left, line.x1());
        right = std::max(right, line.x1());
    }
    EXPECT_EQ(ticks, 81);
    EXPECT_EQ(longTicks, 17);
    EXPECT_EQ(left, 3250);
    EXPECT_EQ(right, 5250);
    QStringList horizontalLabels;
    for (const CalibrationText& text : sheet.texts) {
        if (text.points == 8 && text.at.y() != 5500 && std::abs(text.at.y() - 5500) == 50)
            horizontalLabels.append(text.text);
    }
    EXPECT_EQ(horizontalLabels,
              (QStringList{u"-40"_s, u"-30"_s, u"-20"_s, u"-10"_s, u"10"_s, u"20"_s, u"30"_s, u"40"_s}));
    int instructions = 0;
    for (const CalibrationText& text : sheet.texts)
        instructions += text.points == 9;
    EXPECT_EQ(instructions, 13);
    EXPECT_EQ(sheet.texts.back().text,
              u"slightly differently each time, so perfect calibration may not be possible."_s);
    EXPECT_EQ(sheet.texts.back().at, QPointF(1000, 1000 + 200 + 12 * 120));

    const CalibrationSheetLayout landscape = LayOutCalibrationSheet({11000, 8500}, {0, 0}, 200, 120);
    EXPECT_TRUE(landscape.landscape);
    EXPECT_EQ(landscape.texts.back().at, QPointF(1000 + 200 + 12 * 120, 7500));
}

TEST(CalibrationSheetTest, PrintedWithoutTheOffsetsSoTheReadingIsTheCorrection)
{
    SurfaceFixture f;
    PrintJob job;
    job.calibrationMode = true;
    job.calibration = QPoint(4, -2);
    job.labels = {true, true, false, false};
    const std::vector<JobPage> pages = JobPages(job, f.disc, f.caseStock);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(pages[0].calibrationSheet);
    EXPECT_EQ(pages[0].sheetNumber, 1);
    const QImage sheet = PaintPage(f, pages[0]);
    // The crosshair crosses at the sheet's centre, (4250, 5500).
    // A line on a pixel boundary may fall on either side of it.
    const auto inkAt = [&sheet](int x, int y) { return Ink(sheet, x, y) || Ink(sheet, x - 1, y - 1); };
    EXPECT_TRUE(inkAt(425 - 120, 550));
    EXPECT_TRUE(inkAt(425, 550 + 120));
    EXPECT_FALSE(inkAt(425 - 120, 550 - 3));
    EXPECT_FALSE(inkAt(425 + 3, 550 + 120));
}

TEST(PrintJobPdfTest, ExactlyTheSheetsOnTheirPapersForEveryCopy)
{
    SurfaceFixture f;
    f.design.FindCover(u"Front Cover")->colors[0] = 0x000000ff;
    PrintJob job;
    job.labels = {true, true, true, false};
    const FileResult<QByteArray> pdf =
        JobPdf(f.design, JobPages(job, f.disc, f.caseStock), 2, QGuiApplication::font(), 300);
    ASSERT_TRUE(pdf.ok());
    const QByteArray& bytes = pdf.value();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "), 6);
    EXPECT_EQ(bytes.count("/MediaBox [0 0 612"), 4);
    EXPECT_EQ(bytes.count("/MediaBox [0 0 792"), 2);
    EXPECT_FALSE(JobPdf(f.design, {}, 1, QGuiApplication::font()).ok());
}

} // namespace
} // namespace tvl
