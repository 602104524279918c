#pragma once

#include "document/files/FileResult.h"
#include "stock/CLabelDim.h"

#include <memory>
#include <vector>

namespace tvl {

class CatalogueSettings;

// The label stocks the user chooses from, with the current disc stock and the current case stock, kept
// in "labels.ini" in the program folder. Stocks are addressed by their index in the list.
class StockCatalogue
{
public:
    // folder ends with "/"; settings must outlive the catalogue.
    StockCatalogue(QString folder, CatalogueSettings& settings);

    static constexpr const char* kCatalogueFile = "labels.ini";
    static constexpr const char* kUpdateFile = "labels2.ini";

    // Reads "labels.ini", merges "labels2.ini" into it (stocks whose names are not yet there are
    // appended) and removes the update file; without either file the catalogue becomes the built-in
    // stocks and is written. A file cut short leaves what was read. Never fails: afterwards the list
    // holds at least one disc and one case stock and both current indices are valid.
    void LoadCatalogue();

    // Writes "labels.ini" through a temporary file; on failure the old file and the list in memory are
    // unchanged and the message is "Error creating the template file.".
    FileResult<> SaveCatalogue() const;

    // Makes the current case stock one of the design's case kind ("Jewel" or "DVD"), remembering the
    // case stock last used for each kind in the settings IndexJewel and IndexDVD. Writes the catalogue
    // when the current stock changed.
    void ReconcileCaseKind(QStringView caseKind);

    // "Custom Disc Label n", "Custom Jewel Case n" or "Custom DVD Case n", n one above the largest in use.
    QString NewStockName(int stockType) const;

    // Removes a stock; a current stock that was removed is replaced by the first of its list sorted by
    // name. Writes the catalogue. The last disc stock or the last case stock is never removed (false).
    bool DeleteStock(int index);

    // Appends a stock and returns its index.
    int AddStock(std::unique_ptr<CLabelDim> stock);

    const std::vector<std::unique_ptr<CLabelDim>>& stocks() const { return m_stocks; }
    CLabelDim& stock(int index) { return *m_stocks[static_cast<size_t>(index)]; }
    int currentDisc() const { return m_currentDisc; }
    int currentCase() const { return m_currentCase; }
    // Index of a disc stock (or case stock for the second); false when it is not one.
    bool SetCurrentDisc(int index);
    bool SetCurrentCase(int index);
    const CLabelDim& DiscStock() const { return *m_stocks[static_cast<size_t>(m_currentDisc)]; }
    const CLabelDim& CaseStock() const { return *m_stocks[static_cast<size_t>(m_currentCase)]; }

    QString CataloguePath() const { return m_folder + QLatin1StringView(kCatalogueFile); }
    QString UpdatePath() const { return m_folder + QLatin1StringView(kUpdateFile); }

private:
    bool IsOfType(int index, int stockType) const;
    bool IsCase(int index) const;
    int FirstOfType(int stockType) const;
    // The first stock of a kind when the list is sorted by name, or -1.
    int FirstSorted(bool discStocks) const;
    int AppendBuiltIn(QStringView key);
    // Makes both current indices name stocks of their kind, adding built-in stocks when a kind is missing.
    void EnsureCurrentStocks();
    // One direction of the case-kind switch: keeps the index of the old kind and takes the remembered one.
    void SwitchCaseKind(const QString& oldSetting, const QString& newSetting, int newType,
                        QStringView builtIn);

    QString m_folder;
    CatalogueSettings& m_settings;
    std::vector<std::unique_ptr<CLabelDim>> m_stocks;
    int m_currentDisc = 0;
    int m_currentCase = 0;
};

} // namespace tvl
