#pragma once

#include "print/export/ExportSettings.h"
#include "stock/LengthUnits.h"

#include <QDialog>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;
class QTimer;

namespace tvl {

class ExportJob;
class LabelDesign;

// What the export dialog is told of the design and the program around it.
struct ExportDialogSetup
{
    QString caseKind = QStringLiteral("Jewel");
    bool doubleDisc = false;
    LengthUnits units = LengthUnits::Inches;
    // The label shown first when "export.ini" cannot be read (DefaultExportLabel).
    int defaultLabel = 0;
    // Where "export.ini" lives.
    QString settingsPath;
    // A message with backquote-terminated buttons; returns the 1-based button pressed.
    std::function<int(const QString& text, const QString& buttons)> ask;
    // The save-file dialog: title "Save Image", the proposed path and the one file type; none when
    // cancelled. The dialog itself confirms replacing the file it returns.
    std::function<std::optional<QString>(const QString& proposed, const QString& filter)> chooseFile;
};

// " Export Label To Image File": one label of the design, its image type, resolution, border and
// background overlap, with its size and a preview. "Save Image" draws and writes the file on a worker
// while the window stays responsive and shows its progress in the title; Cancel stops a running export,
// which then leaves no file. The choices are kept in "export.ini".
class ExportDialog final : public QDialog
{
public:
    ExportDialog(const LabelDesign& design, ExportDialogSetup setup, QWidget* parent = nullptr);
    ~ExportDialog() override;

    QComboBox* LabelBox() const { return m_label; }
    QComboBox* TypeBox() const { return m_type; }
    QComboBox* ResolutionBox() const { return m_resolution; }
    QComboBox* BorderBox() const { return m_border; }
    QComboBox* OverlapBox() const { return m_overlap; }
    QLabel* PixelSizeLine() const { return m_pixelSize; }
    QLabel* PhysicalSizeLine() const { return m_physicalSize; }
    QPushButton* SaveButton() const { return m_save; }
    QImage PreviewImage() const;
    // The choices as the controls show them.
    ExportSettings Settings() const;
    // True while an export runs.
    bool Exporting() const { return m_job != nullptr; }

    void reject() override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildControls();
    void Restore(const std::optional<ExportSettings>& saved);
    void RebuildBorders();
    void UpdateSizes();
    void RedrawPreview();
    void SaveImage();
    void Poll();
    void Finished();
    void StoreSettings();
    int LabelIndex() const;

    const LabelDesign& m_design;
    ExportDialogSetup m_setup;
    QString m_path;
    std::shared_ptr<ExportJob> m_job;
    // The label drawn for the preview at 100 DPI, by label and overlap index.
    std::map<std::pair<int, int>, QImage> m_drawn;
    QString m_status;
    int m_dots = 0;

    QComboBox* m_label = nullptr;
    QComboBox* m_type = nullptr;
    QComboBox* m_resolution = nullptr;
    QComboBox* m_border = nullptr;
    QComboBox* m_overlap = nullptr;
    QLabel* m_pixelSize = nullptr;
    QLabel* m_physicalSize = nullptr;
    QLabel* m_preview = nullptr;
    QPushButton* m_save = nullptr;
    QTimer* m_previewTimer = nullptr;
    QTimer* m_progressTimer = nullptr;
};

} // namespace tvl
