#pragma once

#include "stock/CLabelDim.h"
#include "stock/LengthUnits.h"

#include <QStringView>

namespace tvl {

// The sheet sizes a stock can be set to.
enum class PaperChoice
{
    Letter,
    A4,
    DiscPrinter,
};

// The working copy of one stock that the Label Alignment Wizard edits, with the rules of each control:
// the geometry of every edited field kept on its sheet, paper size, pages, orientation and the folded
// front. Which sheet is edited decides which fields are shown. Nothing reaches the catalogue from here.
class StockEditor
{
public:
    // firstSheet: edit the sheet of label 1, else that of label 2 (one-sheet case stocks always edit the
    // first). A case stock without a second sheet size takes the first.
    StockEditor(const CLabelDim& stock, bool firstSheet, LengthUnits units);

    const CLabelDim& stock() const { return m_stock; }
    bool firstSheet() const { return m_firstSheet; }
    LengthUnits units() const { return m_units; }
    void SetUnits(LengthUnits units) { m_units = units; }
    void SetName(const QString& name) { m_stock.name = name; }

    bool IsCase() const { return m_stock.IsCaseStock(); }
    bool TwoSheets() const { return IsCase() && !m_stock.LabelTwoOnFirstSheet(); }
    // The sheet shown and edited, and whether it lies landscape (width at least its height).
    QSize EditedSheet() const;
    bool Landscape() const;
    // The paper size the sheet shows: the disc printer's page, else Letter when either side is 11 inches,
    // else A4.
    PaperChoice Paper() const;

    bool ShowsOrientation() const;
    bool ShowsFolded() const;
    bool ShowsLabelOne() const { return !IsCase() || m_firstSheet; }
    // Label 2 is on the edited sheet.
    bool ShowsLabelTwo() const;

    // Field keys: "left1", "top1", "left2", "top2", "width1" (outer diameter), "height1" (hub diameter).
    // On a direct-to-disc stock "left1" and "top1" are where the printer puts the disc on its page.
    int Field(QStringView key) const;
    // Stores value and keeps it within its rules; true when the rules changed it.
    bool SetField(QStringView key, int value);
    // The typed text in the current units.
    bool SetFieldText(QStringView key, const QString& text);
    // One click of an up-down arrow.
    void StepField(QStringView key, int step);
    QString FieldText(QStringView key) const { return FormatLength(Field(key), m_units); }

    void SetPaper(PaperChoice paper);
    void SetTwoPages(bool twoPages);
    void SetLandscape(bool landscape);
    void SetFolded(bool folded);

private:
    QSize& EditedSheetRef();
    // A portrait first sheet cannot carry a folded booklet: the front unfolds to its front panel.
    void RefreshLayout();

    CLabelDim m_stock;
    bool m_firstSheet = true;
    LengthUnits m_units = LengthUnits::Inches;
};

// The paper size of a portrait sheet of that choice.
QSize PaperSize(PaperChoice paper);

} // namespace tvl
