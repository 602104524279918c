#include "stock/StockEditor.h"

#include "stock/ClampStockField.h"

#include <QPoint>
#include <algorithm>

namespace tvl {
namespace {

// Where "2 Pages" and "1 Page" put the two labels.
constexpr QPoint kTwoPagesFront{800, 800};
constexpr QPoint kTwoPagesBack{1300, 600};
constexpr QPoint kOnePageFront{1870, 600};
constexpr QPoint kOnePageBack{1300, 5750};

QSize Oriented(QSize portrait, bool landscape)
{
    return landscape ? portrait.transposed() : portrait;
}

// Clamps start so that a label of size stays on a page of length bound.
bool KeepOnPage(int& start, int size, int bound)
{
    const int clamped = static_cast<int>(std::clamp<long long>(start, 0, std::max(0LL, 0LL + bound - size)));
    if (clamped == start)
        return false;
    start = clamped;
    return true;
}

} // namespace

QSize PaperSize(PaperChoice paper)
{
    switch (paper) {
    case PaperChoice::Letter:
        return kLetterPaper;
    case PaperChoice::A4:
        return kA4Paper;
    case PaperChoice::DiscPrinter:
        return kDiscPrinterPaper;
    }
    return kLetterPaper;
}

StockEditor::StockEditor(const CLabelDim& stock, bool firstSheet, LengthUnits units)
    : m_stock(stock)
    , m_firstSheet(firstSheet)
    , m_units(units)
{
    if (IsCase() && m_stock.paper2.width() == 0)
        m_stock.paper2 = m_stock.paper1;
    if (IsCase() && m_stock.LabelTwoOnFirstSheet())
        m_firstSheet = true;
    if (!IsCase())
        m_firstSheet = true;
    RefreshLayout();
}

QSize StockEditor::EditedSheet() const
{
    return m_firstSheet ? m_stock.paper1 : m_stock.paper2;
}

QSize& StockEditor::EditedSheetRef()
{
    return m_firstSheet ? m_stock.paper1 : m_stock.paper2;
}

bool StockEditor::Landscape() const
{
    const QSize sheet = EditedSheet();
    return sheet.width() >= sheet.height();
}

PaperChoice StockEditor::Paper() const
{
    if (m_stock.IsDirectToDisc())
        return PaperChoice::DiscPrinter;
    const QSize sheet = EditedSheet();
    return sheet.width() == 11000 || sheet.height() == 11000 ? PaperChoice::Letter : PaperChoice::A4;
}

bool StockEditor::ShowsOrientation() const
{
    return TwoSheets() && !(m_stock.stockType == CLabelDim::DvdStock && !m_firstSheet);
}

bool StockEditor::ShowsFolded() const
{
    return TwoSheets() && m_firstSheet && Landscape();
}

bool StockEditor::ShowsLabelTwo() const
{
    return !IsCase() || m_stock.LabelTwoOnFirstSheet() || !m_firstSheet;
}

int StockEditor::Field(QStringView key) const
{
    const CLabelDim& s = m_stock;
    if (s.IsDirectToDisc() && key == u"left1")
        return s.cdPrint1.left;
    if (s.IsDirectToDisc() && key == u"top1")
        return s.cdPrint1.top;
    if (key == u"left1")
        return s.left1;
    if (key == u"top1")
        return s.top1;
    if (key == u"left2")
        return s.left2;
    if (key == u"top2")
        return s.top2;
    if (key == u"width1")
        return s.width1;
    if (key == u"height1")
        return s.height1;
    return 0;
}

bool StockEditor::SetField(QStringView key, int value)
{
    CLabelDim& s = m_stock;
    if (s.IsDirectToDisc() && (key == u"left1" || key == u"top1")) {
        // The printer's own page is a Letter sheet on which the disc tray sits.
        int& start = key == u"left1" ? s.cdPrint1.left : s.cdPrint1.top;
        start = value;
        return KeepOnPage(start, s.width1, key == u"left1" ? kLetterPaper.width() : kLetterPaper.height());
    }
    int* field = key == u"left1"     ? &s.left1
                 : key == u"top1"    ? &s.top1
                 : key == u"left2"   ? &s.left2
                 : key == u"top2"    ? &s.top2
                 : key == u"width1"  ? &s.width1
                 : key == u"height1" ? &s.height1
                                     : nullptr;
    if (!field)
        return false;
    *field = value;
    // Both discs of a disc stock share its one sheet.
    return ClampStockField(s, key, !IsCase() || s.LabelTwoOnFirstSheet());
}

bool StockEditor::SetFieldText(QStringView key, const QString& text)
{
    return SetField(key, ParseLength(text, m_units));
}

void StockEditor::StepField(QStringView key, int step)
{
    SetField(key, StepLength(Field(key), m_units, step));
}

void StockEditor::SetPaper(PaperChoice paper)
{
    CLabelDim& s = m_stock;
    if (IsCase()) {
        if (paper == PaperChoice::DiscPrinter)
            return;
        EditedSheetRef() = Oriented(PaperSize(paper), Landscape());
        RefreshLayout();
        return;
    }
    if (paper == PaperChoice::DiscPrinter) {
        if (s.IsDirectToDisc())
            return;
        s.cdPrint1.left = s.left1;
        s.cdPrint1.top = s.top1;
        s.cdSaved2.left = s.left2;
        s.cdSaved2.top = s.top2;
        s.paper1 = kDiscPrinterPaper;
        const int start = (kDiscPrinterPaper.width() - s.width1) / 2;
        s.left1 = s.left2 = s.top1 = s.top2 = start;
        return;
    }
    if (s.IsDirectToDisc()) {
        s.left1 = s.cdPrint1.left;
        s.top1 = s.cdPrint1.top;
        s.left2 = s.cdSaved2.left;
        s.top2 = s.cdSaved2.top;
        s.cdPrint1 = {};
        s.cdSaved2 = {};
    }
    s.paper1 = PaperSize(paper);
}

void StockEditor::SetTwoPages(bool twoPages)
{
    if (!IsCase() || twoPages == TwoSheets())
        return;
    CLabelDim& s = m_stock;
    m_firstSheet = true;
    if (twoPages) {
        s.page2 = 3;
        s.paper2 = m_units == LengthUnits::Millimeters ? kA4Paper : kLetterPaper;
        SetLandscape(true);
        if (s.folded == 0) {
            s.folded = 1;
            s.width1 *= 2;
        }
        s.left1 = kTwoPagesFront.x();
        s.top1 = kTwoPagesFront.y();
        s.left2 = kTwoPagesBack.x();
        s.top2 = kTwoPagesBack.y();
    } else {
        s.page2 = 2;
        s.paper2 = s.paper1;
        SetLandscape(false);
        s.left1 = kOnePageFront.x();
        s.top1 = kOnePageFront.y();
        s.left2 = kOnePageBack.x();
        s.top2 = kOnePageBack.y();
    }
    RefreshLayout();
}

void StockEditor::SetLandscape(bool landscape)
{
    if (!IsCase())
        return;
    // The paper is judged before the sheet turns: a Letter sheet stays Letter either way round.
    const PaperChoice paper = Paper();
    EditedSheetRef() = Oriented(PaperSize(paper), landscape);
    RefreshLayout();
}

void StockEditor::SetFolded(bool folded)
{
    CLabelDim& s = m_stock;
    if (!IsCase())
        return;
    if (folded && s.folded == 0) {
        s.folded = 1;
        s.width1 *= 2;
    } else if (!folded && s.folded != 0) {
        s.folded = 0;
        s.width1 /= 2;
    }
}

void StockEditor::RefreshLayout()
{
    CLabelDim& s = m_stock;
    if (IsCase() && s.paper1.width() < s.paper1.height() && s.folded == 1) {
        s.folded = 0;
        s.width1 /= 2;
    }
}

} // namespace tvl
