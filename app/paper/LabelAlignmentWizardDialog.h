#pragma once

#include "stock/StockEditor.h"

#include <QDialog>
#include <map>

class QComboBox;
class QLabel;
class QLineEdit;

namespace tvl {

class LengthSpinBox;
class PaperHost;
class StockCatalogue;

// " Label Alignment Wizard": edits one stock of the catalogue field by field on a working copy, with a
// live picture of the edited sheet. "Save" puts the copy into the catalogue (appended for a new stock),
// writes it and, when the stock is one the design uses, applies the stocks again; "Cancel" changes
// nothing.
class LabelAlignmentWizardDialog final : public QDialog
{
public:
    // index: the stock edited, or copied for a new one (which gets a name of its own).
    LabelAlignmentWizardDialog(StockCatalogue& catalogue, PaperHost& host, int index, bool newStock,
                               bool firstSheet, QWidget* parent = nullptr);

    const StockEditor& editor() const { return m_editor; }
    // The index of the stock saved (a new one's too); -1 until saved.
    int savedIndex() const { return m_savedIndex; }
    // The picture of the edited sheet, as last drawn.
    QImage PreviewImage() const;

    QComboBox* UnitsBox() const { return m_units; }
    QComboBox* PaperBox() const { return m_paper; }
    QComboBox* PagesBox() const { return m_pages; }
    QComboBox* OrientationBox() const { return m_orientation; }
    QComboBox* FoldedBox() const { return m_folded; }
    QLineEdit* NameField() const { return m_name; }
    // "left1", "top1", "left2", "top2", "width1", "height1".
    LengthSpinBox* Field(const QString& key) const { return m_fields.at(key); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildControls();
    void Save();
    // Shows every value and control of the working copy again.
    void Refresh();
    void FillPaperBox();
    void ShowField(const QString& key);
    void RedrawPreview();

    StockCatalogue& m_catalogue;
    PaperHost& m_host;
    int m_index;
    bool m_newStock;
    StockEditor m_editor;
    int m_savedIndex = -1;
    bool m_refreshing = false;

    QLineEdit* m_name = nullptr;
    QComboBox* m_units = nullptr;
    QComboBox* m_paper = nullptr;
    QComboBox* m_pages = nullptr;
    QComboBox* m_orientation = nullptr;
    QComboBox* m_folded = nullptr;
    std::map<QString, LengthSpinBox*> m_fields;
    std::map<QString, QLabel*> m_captions;
    std::map<QWidget*, QLabel*> m_choiceCaptions;
    QLabel* m_preview = nullptr;
};

} // namespace tvl
