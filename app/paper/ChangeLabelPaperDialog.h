#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QListWidget;
class QPushButton;

namespace tvl {

class CLabelDim;
class PaperHost;
class StockCatalogue;

// " Change Label Paper": the disc stocks and the case stocks of the catalogue in two sorted lists, the
// sheets of the selected stocks in three previews, and the commands that create, edit and delete stocks
// (through the Label Alignment Wizard). "OK" makes the selected stocks current, loading the default design
// of the other case kind when the case changes between jewel and DVD; "Cancel" keeps the current stocks,
// while stocks already saved or deleted stay so.
class ChangeLabelPaperDialog final : public QDialog
{
public:
    ChangeLabelPaperDialog(StockCatalogue& catalogue, PaperHost& host, QWidget* parent = nullptr);

    // Opens the wizard and returns the index of the stock it saved, or -1; the default runs it modally.
    // Tests put their own in its place.
    using WizardRunner = std::function<int(int index, bool newStock, bool firstSheet)>;
    void SetWizardRunner(WizardRunner runner) { m_runWizard = std::move(runner); }

    QListWidget* DiscList() const { return m_lists[0]; }
    QListWidget* CaseList() const { return m_lists[1]; }
    QPushButton* EditButton(int list) const { return m_edit[list]; }
    QPushButton* CreateButton(int list) const { return m_create[list]; }
    QPushButton* DeleteButton(int list) const { return m_delete[list]; }
    QPushButton* Preview(int index) const { return m_previews[index]; }
    QLabel* Caption(int index) const { return m_captions[index]; }
    // The catalogue index of the stock selected in a list (0 discs, 1 cases), or -1.
    int SelectedIndex(int list) const;

    // Runs on OK.
    void accept() override;

private:
    void FillLists(const CLabelDim* disc, const CLabelDim* caseStock);
    const CLabelDim* SelectedStock(int list) const;
    int IndexOf(const CLabelDim* stock) const;
    void EditStock(int list, bool newStock);
    void OpenSecondSheet();
    void DeleteStock(int list);
    void RedrawPreviews();
    int RunWizard(int index, bool newStock, bool firstSheet);

    StockCatalogue& m_catalogue;
    PaperHost& m_host;
    WizardRunner m_runWizard;
    QListWidget* m_lists[2]{};
    QPushButton* m_edit[2]{};
    QPushButton* m_create[2]{};
    QPushButton* m_delete[2]{};
    QPushButton* m_previews[3]{};
    QLabel* m_captions[3]{};
};

} // namespace tvl
