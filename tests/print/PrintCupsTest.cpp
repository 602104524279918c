// Prints for real: the program's print verb sends jobs to a private CUPS scheduler whose cups-pdf queue
// writes them as PDF files (see tests/support/with_private_cupsd.sh), and the PDFs are read back with
// poppler's tools.
#include "document/files/DesignFile.h"
#include "document/model/ItemFont.h"
#include "print/cups/CupsQueue.h"
#include "print/settings/PrinterSetup.h"
#include "tests/render/SurfaceFixture.h"
#include "tests/support/CupsJobs.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <gtest/gtest.h>

namespace tvl {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::SurfaceFixture;

QString Env(const char* name)
{
    return qEnvironmentVariable(name);
}

void SetText(CRichChild& item, const QString& text)
{
    item.characters = ToCharacters(text);
    item.fonts.assign(item.characters.size(), std::nullopt);
    item.colors.assign(item.characters.size(), std::nullopt);
    item.underlines.assign(item.characters.size(), 0);
    item.fonts[0] = ItemFont{u"DejaVu Sans"_s, 200, 400, 0};
    item.colors[0] = 0;
}

struct Output
{
    int status = -1;
    QString out;
    QString errors;
};

Output RunTool(const QString& program, const QStringList& args, const QProcessEnvironment& env = {})
{
    QProcess process;
    if (!env.isEmpty())
        process.setProcessEnvironment(env);
    process.start(program, args);
    process.waitForFinished(180000);
    Output result;
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.errors = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

class PrintCupsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(Env("CUPS_SERVER").isEmpty()) << "run through tests/support/with_private_cupsd.sh";
        queue = Env("PRIVATE_CUPS_QUEUE");
        ASSERT_TRUE(dir.isValid());
        SurfaceFixture f;
        f.design.FindCover(u"Disc 1")->colors[0] = 0x00a04010;
        f.design.FindCover(u"Back Cover")->colors[0] = 0x0040c0f0;
        const CRichChild& front = *f.design.FindCover(u"Front Cover");
        SetText(f.Add(u"Text 1"_s, u"Text"_s, u"Front Cover"_s, front.left() + 5000, front.top() + 500, 4000,
                      600),
                u"The Quiet Artist\b"_s);
        const CRichChild& back = *f.design.FindCover(u"Back Cover");
        SetText(
            f.Add(u"Text 2"_s, u"Text"_s, u"Back Cover"_s, back.left() + 500, back.top() + 500, 4000, 600),
            u"Harbour Lights\b"_s);
        design = dir.filePath(u"album.tvl"_s);
        LiveDesignState live{u"Disc 1"_s, u"1"_s, u"Single"_s, u"Jewel"_s};
        ASSERT_TRUE(WriteDesignFile(design, f.design, live).ok());
        env = QProcessEnvironment::systemEnvironment();
        env.remove(u"DISPLAY"_s);
        env.remove(u"WAYLAND_DISPLAY"_s);
        env.remove(u"QT_QPA_PLATFORM"_s);
        env.insert(u"ASAN_OPTIONS"_s, u"detect_leaks=0"_s);
        env.insert(u"HOME"_s, dir.path());
        env.insert(u"XDG_CONFIG_HOME"_s, dir.filePath(u"config"_s));
        env.insert(u"XDG_DATA_HOME"_s, dir.filePath(u"data"_s));
    }

    Output Print(const QStringList& args)
    {
        return RunTool(QString::fromLatin1(TOVRELLINE_PROGRAM), QStringList{u"print"_s, design} + args, env);
    }

    // The PDF the queue wrote for the next job, once it is complete.
    QString NextQueuedPdf()
    {
        const QDir out(Env("PRIVATE_CUPS_OUT"));
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 120000) {
            const QStringList pdfs = out.entryList({u"*.pdf"_s}, QDir::Files, QDir::Time | QDir::Reversed);
            if (pdfs.size() > seenPdfs && RunTool(u"lpstat"_s, {u"-o"_s, queue}).out.trimmed().isEmpty()) {
                seenPdfs = static_cast<int>(pdfs.size());
                return out.filePath(pdfs.back());
            }
            QThread::msleep(100);
        }
        return {};
    }

    static QString Info(const QString& pdf) { return RunTool(u"pdfinfo"_s, {pdf}).out; }
    static QString Text(const QString& pdf)
    {
        return RunTool(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s}).out;
    }
    static int Pages(const QString& pdf)
    {
        for (const QString& line : Info(pdf).split(u'\n')) {
            if (line.startsWith(u"Pages:"))
                return line.mid(6).trimmed().toInt();
        }
        return -1;
    }

    QTemporaryDir dir;
    QString design;
    QString queue;
    QProcessEnvironment env;
    int seenPdfs = 0;
};

TEST_F(PrintCupsTest, TheQueueIsListedAndAJobComesOutAsLetterPages)
{
    EXPECT_TRUE(CupsPrinterNames().contains(queue));

    const Output sent = Print({u"--labels"_s, u"front,back,disc1"_s, u"--printer"_s, queue});
    ASSERT_EQ(sent.status, 0) << sent.errors.toStdString();
    const QString pdf = NextQueuedPdf();
    ASSERT_FALSE(pdf.isEmpty()) << "the queue wrote no PDF";
    EXPECT_EQ(Pages(pdf), 3);
    EXPECT_TRUE(Info(pdf).contains(u"612 x 792"_s)) << Info(pdf).toStdString();
    const QString text = Text(pdf);
    EXPECT_TRUE(text.contains(u"The Quiet Artist"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"Harbour Lights"_s));
}

// The verb sends a job with the tray and options stored for its printer, as the Print dialog does.
TEST_F(PrintCupsTest, TheStoredTrayAndOptionsOfThePrinterGoWithTheJob)
{
    PrinterSetup stored;
    stored.printerName = queue;
    stored.tray = u"disc"_s;
    stored.options = {u"InputSlot"_s, u"Lower"_s, u"job-priority"_s, u"77"_s};
    ASSERT_TRUE(QDir().mkpath(dir.filePath(u"data/Tovrelline"_s)));
    ASSERT_TRUE(SavePrinterSetup(dir.filePath(u"data/Tovrelline/printer.ini"_s), stored).ok());
    const Output sent = Print({u"--labels"_s, u"disc1"_s, u"--printer"_s, queue});
    ASSERT_EQ(sent.status, 0) << sent.errors.toStdString();
    EXPECT_EQ(test::NewestJobAttribute(queue, "media-source").second, u"disc"_s);
    EXPECT_EQ(test::NewestJobAttribute(queue, "job-priority").second, u"77"_s);
    EXPECT_TRUE(test::NewestJobAttribute(queue, "InputSlot").second.isEmpty()) << "the tray wins";
    ASSERT_FALSE(NextQueuedPdf().isEmpty());
}

TEST_F(PrintCupsTest, PdfOutputHasTheSheetsTextAndTheLabelsPixelsOfExport)
{
    const QString pdf = dir.filePath(u"job.pdf"_s);
    const Output written = Print({u"--labels"_s, u"front,back,disc1"_s, u"--copies"_s, u"2"_s, u"-o"_s, pdf});
    ASSERT_EQ(written.status, 0) << written.errors.toStdString();
    EXPECT_EQ(Pages(pdf), 6);
    EXPECT_TRUE(Text(pdf).contains(u"The Quiet Artist"_s));

    // The disc on the first sheet at 300 dpi against the export of disc 1 at its place on the sheet.
    const QString exported = dir.filePath(u"disc.png"_s);
    ASSERT_EQ(RunTool(QString::fromLatin1(TOVRELLINE_PROGRAM),
                      {u"export"_s, design, u"--label"_s, u"disc1"_s, u"--dpi"_s, u"300"_s, u"--overlap"_s,
                       u"100"_s, u"-o"_s, exported},
                      env)
                  .status,
              0);
    ASSERT_EQ(RunTool(u"pdftoppm"_s, {u"-r"_s, u"300"_s, u"-f"_s, u"1"_s, u"-l"_s, u"1"_s, u"-png"_s, pdf,
                                      dir.filePath(u"sheet"_s)})
                  .status,
              0);
    const QStringList pages = QDir(dir.path()).entryList({u"sheet*.png"_s});
    ASSERT_EQ(pages.size(), 1);
    const QImage sheet(dir.filePath(pages.front()));
    const QImage label(exported);
    ASSERT_FALSE(sheet.isNull());
    ASSERT_FALSE(label.isNull());
    EXPECT_EQ(sheet.size(), QSize(2550, 3300));
    // The export is the disc grown by its 100 mil overlap; the generic disc lies at (1938, 688).
    const QPoint at((1938 - 100) * 3 / 10, (688 - 100) * 3 / 10);
    // A printed disc keeps its hub as it is while an exported one grows into it by the overlap, so the
    // hub and its edge are left out.
    const double centre = label.width() / 2.0;
    const double hubReach = (800 + 100) * 0.3 + 6;
    int compared = 0;
    int differing = 0;
    for (int y = 0; y < label.height(); y += 3) {
        for (int x = 0; x < label.width(); x += 3) {
            if (std::hypot(x - centre, y - centre) < hubReach)
                continue;
            const QRgb a = label.pixel(x, y);
            const QRgb b = sheet.pixel(at.x() + x, at.y() + y);
            ++compared;
            differing += std::abs(qRed(a) - qRed(b)) > 40 || std::abs(qGreen(a) - qGreen(b)) > 40 ||
                         std::abs(qBlue(a) - qBlue(b)) > 40;
        }
    }
    EXPECT_LT(differing * 100, compared * 3) << differing << " of " << compared << " pixels differ";
}

TEST_F(PrintCupsTest, FailuresAreClearAndNonZero)
{
    Output missing = Print({u"--labels"_s, u"disc1"_s, u"--printer"_s, u"no-such-printer"_s});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.errors.contains(u"There is no printer named \"no-such-printer\"."_s))
        << missing.errors.toStdString();

    Output unwritable =
        Print({u"--labels"_s, u"disc1"_s, u"-o"_s, dir.filePath(u"missing-folder/out.pdf"_s)});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_TRUE(unwritable.errors.contains(u"Could not write the PDF file."_s))
        << unwritable.errors.toStdString();

    Output nothing = Print({u"--labels"_s, u""_s, u"-o"_s, dir.filePath(u"none.pdf"_s)});
    EXPECT_EQ(nothing.status, 2);
    EXPECT_TRUE(nothing.errors.contains(u"Please select the labels to print."_s));

    EXPECT_EQ(Print({u"--copies"_s, u"0"_s, u"-o"_s, dir.filePath(u"none.pdf"_s)}).status, 2);

    // A stopped queue still takes the job; a queue that rejects jobs refuses it, and the verb says so.
    ASSERT_EQ(RunTool(u"cupsreject"_s, {queue}).status, 0);
    Output refused = Print({u"--labels"_s, u"disc1"_s, u"--printer"_s, queue});
    RunTool(u"cupsaccept"_s, {queue});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.errors.contains(queue)) << refused.errors.toStdString();
}

} // namespace
} // namespace tvl
