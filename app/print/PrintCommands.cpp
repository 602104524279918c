#include "app/print/PrintCommands.h"

#include "app/cli/StoredPrintJob.h"
#include "app/messages/ErrorReport.h"
#include "app/print/CdPrinterDialog.h"
#include "app/print/PrintDialog.h"
#include "app/print/QtPrinterSetup.h"
#include "app/settings/AppSettings.h"
#include "app/settings/SettingsStore.h"
#include "document/design/DesignDocument.h"
#include "print/cups/CupsQueue.h"
#include "print/job/PaintJob.h"
#include "stock/StockCatalogue.h"

#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSpinBox>

#include <algorithm>
#include <optional>

namespace tvl {

PrintCommands::PrintCommands(QWidget* window, DesignDocument& document, StockCatalogue& catalogue,
                             SettingsStore& store, AppSettings& settings, const QString& programFolder,
                             Hooks hooks)
    : m_window(window)
    , m_document(document)
    , m_catalogue(catalogue)
    , m_store(store)
    , m_settings(settings)
    , m_paperFile(programFolder + QStringLiteral("printer.ini"))
    , m_discFile(programFolder + QStringLiteral("printerCD.ini"))
    , m_hooks(std::move(hooks))
{
    m_paper = LoadPrinterSetup(m_paperFile).value_or(PrinterSetup{});
    m_disc = LoadPrinterSetup(m_discFile).value_or(PrinterSetup{});
}

void PrintCommands::Print()
{
    Run(false);
}

void PrintCommands::Calibration()
{
    Run(true);
}

void PrintCommands::Run(bool calibration)
{
    // A dialog that cannot be started is reported with the stage it reached.
    int step = 1;
    std::optional<PrintDialog> opened;
    try {
        const QStringList printers = CupsPrinterNames();
        step = 2;
        opened.emplace(MakeDialogContext(printers), calibration, m_window);
        step = 3;
        opened->Copies()->setValue(std::clamp(m_paper.copies, 1, 999));
    } catch (...) {
        ReportErrorPlainStep(712, step);
        return;
    }
    PrintDialog& dialog = *opened;
    if (dialog.exec() != QDialog::Accepted)
        return;
    RunJob(dialog);
}

PrintDialogContext PrintCommands::MakeDialogContext(const QStringList& printers)
{
    return {m_document.design(),
            m_document.IsDouble(),
            m_document.caseKind(),
            m_document.currentSurface(),
            m_catalogue,
            m_store,
            m_settings,
            printers,
            m_paper.printerName.isEmpty() ? CupsDefaultPrinter() : m_paper.printerName,
            m_settings.units == u"Millimeters",
            m_hooks.applyStocks,
            m_hooks.setDiscPosition,
            [this](const QString& printer) {
                PrinterSetup setup = printer == m_paper.printerName ? m_paper : PrinterSetup{};
                setup.printerName = printer;
                if (!ShowPrinterProperties(m_window, setup))
                    return false;
                m_paper = setup;
                SavePaper();
                return true;
            },
            [this](bool fromPrint) { return CdPrinterStep(fromPrint); },
            m_hooks.message,
            m_hooks.editStock,
            [this](int copies) { m_paper.copies = m_disc.copies = copies; }};
}

void PrintCommands::RunJob(const PrintDialog& dialog)
{
    const PrintJob job = dialog.Job();
    m_paper.copies = m_disc.copies = job.copies;
    const std::vector<JobPage> pages = JobPages(job, m_catalogue.DiscStock(), m_catalogue.CaseStock());
    const QString printer = dialog.Printer();
    if (printer == kPrintToPdfEntry) {
        QString path = m_hooks.pdfFileName ? m_hooks.pdfFileName() : QString();
        if (path.isEmpty())
            return;
        if (QFileInfo(path).suffix().compare(u"pdf", Qt::CaseInsensitive) != 0)
            path += QStringLiteral(".pdf");
        const FileResult<> written =
            WriteJobPdf(path, m_document.design(), pages, job.copies, m_window->font());
        if (!written && m_hooks.message)
            m_hooks.message(FullMessage(written.error()));
        return;
    }
    if (dialog.PrintOnCdPrinter()) {
        SaveDisc();
        Send(m_disc.printerName, m_disc, pages, job.copies);
        return;
    }
    if (printer != m_paper.printerName) {
        m_paper = PrinterSetup{};
        m_paper.printerName = printer;
        m_paper.copies = job.copies;
    }
    SavePaper();
    Send(printer, m_paper, pages, job.copies);
}

bool PrintCommands::Send(const QString& printer, const PrinterSetup& setup, const std::vector<JobPage>& pages,
                         int copies)
{
    QPrinter device(QPrinter::HighResolution);
    device.setPrinterName(printer);
    ApplyPrinterSetup(device, setup);
    device.setFullPage(true);
    device.setDocName(m_document.file().title);
    if (!device.isValid()) {
        if (m_hooks.message)
            m_hooks.message(QStringLiteral("Could not start print job."));
        return false;
    }
    const FileResult<> printed = PrintJobPages(device, m_document.design(), pages, copies, m_window->font());
    if (!printed && m_hooks.message)
        m_hooks.message(FullMessage(printed.error()));
    return printed.ok();
}

void PrintCommands::Preview()
{
    QPrinter printer(QPrinter::HighResolution);
    ApplyPrinterSetup(printer, m_paper);
    const PrintableAreas areas = PrintableAreasOf(printer);
    printer.setFullPage(true);
    QPrintPreviewDialog preview(&printer, m_window);
    preview.setWindowTitle(QStringLiteral("Print Preview"));
    QObject::connect(
        &preview, &QPrintPreviewDialog::paintRequested, &preview, [this, areas](QPrinter* device) {
            PrintJob job;
            job.options = PrintOptionsFromSettings(m_settings.printOptions);
            job.doubleDisc = m_document.IsDouble();
            PrintJobPages(*device, m_document.design(),
                          PreviewPages(job, m_catalogue.DiscStock(), m_catalogue.CaseStock(), areas), 1,
                          m_window->font());
        });
    preview.exec();
}

bool PrintCommands::CdPrinterStep(bool fromPrint)
{
    if (fromPrint && !m_settings.showCdPrinterDialog)
        return true;
    CdPrinterContext context{CupsPrinterNames(), m_disc,
                             [](const QString& printer) { return CupsTrays(printer); },
                             [this](PrinterSetup& setup) { return ShowPrinterProperties(m_window, setup); },
                             [this] { SaveDisc(); }};
    const CdPrinterAnswer answer = RunCdPrinterDialog(std::move(context), fromPrint, m_window);
    if (answer.doNotShowAgain) {
        m_store.WriteNumber(QStringLiteral("bHelpCDPrinter"), 1);
        m_settings.showCdPrinterDialog = false;
    }
    return answer.accepted;
}

void PrintCommands::SavePaper()
{
    if (!m_paper.printerName.isEmpty())
        SavePrinterSetup(m_paperFile, m_paper);
}

void PrintCommands::SaveDisc()
{
    if (!m_disc.printerName.isEmpty())
        SavePrinterSetup(m_discFile, m_disc);
}

} // namespace tvl
