// The tray and the options chosen for a printer go with the job: a queue with two input slots on the
// private CUPS scheduler (see tests/support/with_private_cupsd.sh) receives a page, and the job's
// attributes say which slot it was sent to.
#include "app/print/QtPrinterSetup.h"
#include "print/cups/CupsQueue.h"
#include "tests/support/CupsJobs.h"

#include <QCoreApplication>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tvl {
namespace {

using namespace Qt::Literals::StringLiterals;

// The cups-pdf driver with an input slot choice added: CUPS reports the slots as "tray-1" and "disc".
QByteArray TrayDriver()
{
    QFile plain(u"/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd"_s);
    if (!plain.open(QIODevice::ReadOnly))
        return {};
    return plain.readAll() + "*OpenUI *InputSlot/Media Source: PickOne\n"
                             "*OrderDependency: 20 AnySetup *InputSlot\n"
                             "*DefaultInputSlot: Tray1\n"
                             "*InputSlot Tray1/Paper Tray: \"\"\n"
                             "*InputSlot CDTray/CD Tray: \"\"\n"
                             "*CloseUI: *InputSlot\n";
}

std::pair<int, QString> NewestJobSource(const QString& queue, const char* attributeName = "media-source")
{
    return test::NewestJobAttribute(queue, attributeName);
}

void PrintOnePage(const PrinterSetup& setup)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(setup.printerName);
    ApplyPrinterSetup(printer, setup);
    printer.setDocName(u"tray test"_s);
    QPainter painter(&printer);
    painter.drawText(QPointF(200, 200), u"Tray"_s);
}

TEST(PrintTrayTest, TheChosenTrayGoesWithTheJob)
{
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("CUPS_SERVER")) << "run through with_private_cupsd.sh";
    QTemporaryDir dir;
    const QString driver = dir.filePath(u"trays.ppd"_s);
    QFile file(driver);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(TrayDriver());
    file.close();
    const QString queue = u"tvl-trays-%1"_s.arg(QCoreApplication::applicationPid());
    // The same cups-pdf device as the private queue, so its settings apply.
    const int added = QProcess::execute(
        u"lpadmin"_s, {u"-p"_s, queue, u"-E"_s, u"-v"_s,
                       u"cups-pdf:/"_s + qEnvironmentVariable("PRIVATE_CUPS_QUEUE"), u"-P"_s, driver});
    ASSERT_EQ(added, 0);
    ASSERT_EQ(CupsTrays(queue), (QStringList{u"tray-1"_s, u"disc"_s}));

    PrinterSetup setup;
    setup.printerName = queue;
    setup.tray = u"disc"_s;
    PrintOnePage(setup);
    const auto [discJob, discSource] = NewestJobSource(queue);
    ASSERT_GT(discJob, 0) << "the page reached the queue";
    EXPECT_EQ(discSource, u"disc"_s);

    setup.tray = u"tray-1"_s;
    PrintOnePage(setup);
    const auto [paperJob, paperSource] = NewestJobSource(queue);
    EXPECT_GT(paperJob, discJob);
    EXPECT_EQ(paperSource, u"tray-1"_s);

    // No tray chosen: the printer's own default, nothing sent.
    setup.tray.clear();
    PrintOnePage(setup);
    const auto [plainJob, plainSource] = NewestJobSource(queue);
    EXPECT_GT(plainJob, paperJob);
    EXPECT_TRUE(plainSource.isEmpty()) << plainSource.toStdString();

    // The printer's own options from its properties go with the job and are kept as chosen.
    setup.options = {u"InputSlot"_s, u"CDTray"_s};
    PrintOnePage(setup);
    EXPECT_EQ(NewestJobSource(queue, "InputSlot").second, u"CDTray"_s);
    {
        PrinterSetup withPages = setup;
        withPages.options << u"page-ranges"_s << u"2-3"_s;
        QPrinter printer(QPrinter::HighResolution);
        ApplyPrinterSetup(printer, withPages);
        EXPECT_EQ(PrinterSetupOf(printer).options, setup.options) << "pages are not kept with the printer";
    }
    // A tray from the tray list wins over the slot among the options.
    setup.tray = u"tray-1"_s;
    PrintOnePage(setup);
    const auto [bothJob, bothSource] = NewestJobSource(queue);
    EXPECT_EQ(bothSource, u"tray-1"_s);
    EXPECT_TRUE(NewestJobSource(queue, "InputSlot").second.isEmpty());
    QProcess::execute(u"lpadmin"_s, {u"-x"_s, queue});
}

} // namespace
} // namespace tvl
