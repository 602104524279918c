#pragma once

#include "app/print/PrintDialog.h"
#include "document/model/DiscPlacement.h"
#include "print/job/PrintJob.h"
#include "print/settings/PrinterSetup.h"

#include <QString>
#include <functional>

class QWidget;

namespace tvl {

class DesignDocument;
class SettingsStore;
class StockCatalogue;
struct AppSettings;

// Print, Print Preview and Printer Calibration: the dialogs, the printer settings files of the paper and
// the disc printer ("printer.ini", "printerCD.ini" in the program folder) and the jobs, through CUPS or
// into a PDF file.
class PrintCommands final
{
public:
    struct Hooks
    {
        // Apply the current stocks to the open design and redraw.
        std::function<void()> applyStocks;
        std::function<void(DiscPositionMode)> setDiscPosition;
        // Shows a message with the single button "OK".
        std::function<void(const QString&)> message;
        // Asks for the PDF file to write; empty when the user cancels.
        std::function<QString()> pdfFileName;
        // Opens the Label Alignment Wizard on a stock (the Print dialog's "Edit" buttons).
        std::function<void(int stockIndex, bool firstSheet, QWidget* parent)> editStock;
    };

    PrintCommands(QWidget* window, DesignDocument& document, StockCatalogue& catalogue, SettingsStore& store,
                  AppSettings& settings, const QString& programFolder, Hooks hooks);

    void Print();
    void Preview();
    void Calibration();

    const PrinterSetup& paperPrinter() const { return m_paper; }
    const PrinterSetup& discPrinter() const { return m_disc; }

private:
    void Run(bool calibration);
    PrintDialogContext MakeDialogContext(const QStringList& printers);
    // Prints what the dialog was left with.
    void RunJob(const PrintDialog& dialog);
    bool CdPrinterStep(bool fromPrint);
    bool Send(const QString& printer, const PrinterSetup& setup, const std::vector<JobPage>& pages,
              int copies);
    void SavePaper();
    void SaveDisc();

    QWidget* m_window;
    DesignDocument& m_document;
    StockCatalogue& m_catalogue;
    SettingsStore& m_store;
    AppSettings& m_settings;
    QString m_paperFile;
    QString m_discFile;
    Hooks m_hooks;
    PrinterSetup m_paper;
    PrinterSetup m_disc;
};

} // namespace tvl
