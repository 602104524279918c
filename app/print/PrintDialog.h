#pragma once

#include "document/model/DiscPlacement.h"
#include "print/job/PrintJob.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace tvl {

class LabelDesign;
class SettingsStore;
class StockCatalogue;
struct AppSettings;

// What the Print dialog works on and whom it tells of the choices it writes at once.
struct PrintDialogContext
{
    const LabelDesign& design;
    bool doubleDisc = false;
    QString caseKind;       // "Jewel" or "DVD"
    QString currentSurface; // its tab is selected first
    StockCatalogue& catalogue;
    SettingsStore& store;
    AppSettings& settings;
    QStringList printers; // the CUPS queues, sorted
    QString currentPrinter;
    bool millimetres = false;
    // The stocks changed (the catalogue is already written): apply them to the design and redraw.
    std::function<void()> stocksChanged;
    // The disc position changed: apply it and redraw.
    std::function<void(DiscPositionMode)> positionChanged;
    // Opens the platform's properties of a printer; true when the user changed them.
    std::function<bool(const QString& printer)> printerProperties;
    // The disc printer's settings: from the disc tab (fromPrint false), or before a disc job, when
    // false cancels the job.
    std::function<bool(bool fromPrint)> cdPrinterProperties;
    // Shows a message with the single button "OK".
    std::function<void(const QString&)> message;
    // Opens the Label Alignment Wizard on a stock of the catalogue, at its first or second sheet, over
    // parent; without it the "Edit" buttons are hidden.
    std::function<void(int stockIndex, bool firstSheet, QWidget* parent)> editStock;
    // The copies changed: both printers' settings take them.
    std::function<void(int copies)> copiesChanged;
};

// The text of the last printer entry, which writes the job to a PDF file.
inline constexpr QStringView kPrintToPdfEntry = u"Print to PDF File\u2026";

// The Print dialog, in label mode or in the calibration mode of "Printer Calibration". Every choice of
// stock, border, overlap, position, label and copies is written to the settings as it is made; "Print"
// checks the selection, stores the offsets in calibration mode and closes with the job to run.
class PrintDialog final : public QDialog
{
public:
    PrintDialog(PrintDialogContext context, bool calibration, QWidget* parent = nullptr);

    // The job to run after "Print".
    PrintJob Job() const;
    // The chosen queue, or kPrintToPdfEntry.
    QString Printer() const;
    // The job prints a disc on the disc printer.
    bool PrintOnCdPrinter() const { return m_printOnCdPrinter; }

    QComboBox* PrinterList() const { return m_printers; }
    QPushButton* PropertiesButton() const { return m_properties; }
    QTabWidget* Tabs() const { return m_tabs; }
    // Front, back, disc 1, disc 2.
    QCheckBox* LabelBox(int index) const { return m_labelBoxes[static_cast<size_t>(index)]; }
    QToolButton* LabelButton(int index) const { return m_labelButtons[static_cast<size_t>(index)]; }
    QSpinBox* Copies() const { return m_copies; }
    QLabel* Total() const { return m_total; }
    QLineEdit* HorizontalOffset() const;
    QLineEdit* VerticalOffset() const;
    QPushButton* PrintButton() const { return m_print; }
    // The disc tab's position list ("Disc Position" or "Duplicate - Disc Position").
    QComboBox* DiscPositionList() const { return m_position; }
    // The "Edit" button beside a tab's stock list.
    QPushButton* EditButton(int tab) const;
    // The sheet preview of a tab.
    QLabel* Preview(int tab) const;

private:
    void BuildPrinterGroup();
    void BuildTabs();
    // A tab page: the sheet's preview on the left, the form of its options (returned) on the right.
    QFormLayout* AddPreviewPage(QWidget* page, int surface, int sheet);
    // The stock list of a tab with its Edit button, which opens the stock at the sheet of the tab's label.
    void AddStockRow(QFormLayout* form, const QString& caption, QComboBox* stocks, int surface);
    // After a stock was edited or chosen: the tabs are built again from the catalogue, once the control
    // that asked has returned.
    void RebuildTabsLater();
    // A click on a preview at a point of its sheet (mils): on a sheet with both case labels, the tab of
    // the label there is selected.
    void PreviewClicked(int sheet, QPoint mils);
    void SelectTabOf(int surface);
    QWidget* BuildCoverTab(int surface);
    QWidget* BuildDiscTab(int surface);
    void BuildLabelButtons();
    void BuildCalibrationGroup();
    void LabelToggled(int index, bool on);
    // On a direct-to-disc stock: one disc and no covers.
    void KeepOneDiscJob();
    void UpdateTotal();
    void UpdateDiscPrinterState();
    void RedrawPreviews();
    void CaseStockChosen(int catalogueIndex);
    void DiscStockChosen(int catalogueIndex);
    void WriteOptions();
    void WriteLabel(int index);
    void PrintClicked();
    void PlaceDialog();
    LabelsToPrint Labels() const;
    bool DirectToDisc() const;

    PrintDialogContext m_context;
    bool m_calibration;
    PrintOptionsSet m_options;
    bool m_printOnCdPrinter = false;
    QComboBox* m_printers = nullptr;
    QPushButton* m_properties = nullptr;
    QTabWidget* m_tabs = nullptr;
    std::array<QCheckBox*, 4> m_labelBoxes{};
    std::array<QToolButton*, 4> m_labelButtons{};
    QGroupBox* m_labelsGroup = nullptr;
    QSpinBox* m_copies = nullptr;
    QLabel* m_total = nullptr;
    QGroupBox* m_offsetGroup = nullptr;
    QSpinBox* m_horizontal = nullptr;
    QSpinBox* m_vertical = nullptr;
    QPushButton* m_print = nullptr;
    QComboBox* m_position = nullptr;
    std::vector<QComboBox*> m_caseStockLists;
    std::vector<std::pair<QLabel*, int>> m_previews; // preview label and its sheet
    std::vector<double> m_previewDpi;                // the scale each preview is drawn at
};

// The offset typed in a calibration field: leading sign and digits, held within -40..40.
int ReadCalibrationOffset(const QString& text);

} // namespace tvl
