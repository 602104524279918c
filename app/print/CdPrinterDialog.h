#pragma once

#include "print/settings/PrinterSetup.h"

#include <QDialog>
#include <QStringList>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace tvl {

// What the CD Printer Properties dialog edits: the disc printer's setup, kept in "printerCD.ini" by save
// after every change.
struct CdPrinterContext
{
    QStringList printers;
    PrinterSetup& setup;
    // The trays of a printer by name.
    std::function<QStringList(const QString& printer)> trays;
    // Opens the platform's properties for the setup's printer and edits the setup; true when confirmed.
    std::function<bool(PrinterSetup& setup)> properties;
    std::function<void()> save;
};

// " CD Printer Properties": the disc printer, its properties and its tray. Opened from the Print
// dialog's "Print" it offers "Do not show this message again." and its first button reads "Print".
class CdPrinterDialog final : public QDialog
{
public:
    CdPrinterDialog(CdPrinterContext context, bool fromPrint, QWidget* parent = nullptr);

    bool DoNotShowAgain() const;

    QComboBox* PrinterList() const { return m_printers; }
    QComboBox* TrayList() const { return m_trays; }
    QLabel* Explanation() const { return m_explanation; }
    QCheckBox* DoNotShowBox() const { return m_doNotShow; }
    QPushButton* AcceptButton() const { return m_accept; }

private:
    // Fills the tray list; a failure is reported with errorNumber (on opening, or after a printer change).
    void FillTrays(int errorNumber);
    void FillTrayList();

    CdPrinterContext m_context;
    QComboBox* m_printers = nullptr;
    QComboBox* m_trays = nullptr;
    QLabel* m_trayLabel = nullptr;
    QLabel* m_explanation = nullptr;
    QCheckBox* m_doNotShow = nullptr;
    QPushButton* m_accept = nullptr;
};

// What the user left the dialog with.
struct CdPrinterAnswer
{
    bool accepted = false;
    bool doNotShowAgain = false;
};

// Runs the dialog; one that cannot be opened is reported and counts as cancelled.
CdPrinterAnswer RunCdPrinterDialog(CdPrinterContext context, bool fromPrint, QWidget* parent);

} // namespace tvl
