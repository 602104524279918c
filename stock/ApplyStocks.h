#pragma once

#include <QStringView>

namespace tvl {

class LabelDesign;
class StockCatalogue;

// Disc placement on the disc sheet: disc 1 at the first position, at the second, or (single-disc
// designs) printed at both.
enum DiscPositionMode
{
    DiscOnTop = 1,
    DiscOnBottom = 2,
    DuplicateDisc = 3,
};

// Gives the surface and page items of a design the geometry of the current stocks, after making the
// current case stock match caseKind. A surface that moves takes every item on it along by the same
// change of left and top, and every item on it prints on the surface's page; the inside panel and the
// tabs are derived again from their cover. A direct-to-disc stock sets discPositionMode to 1.
void ApplyStocks(LabelDesign& design, StockCatalogue& catalogue, QStringView caseKind, QStringView discMode,
                 int& discPositionMode);

} // namespace tvl
