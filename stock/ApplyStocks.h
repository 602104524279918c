#pragma once

#include "document/model/DiscPlacement.h"

#include <QStringView>

namespace tvl {

class LabelDesign;
class StockCatalogue;

// Gives the surface and page items of a design the geometry of the current stocks, after making the
// current case stock match caseKind. A surface that moves takes every item on it along by the same
// change of left and top, and every item on it prints on the surface's page; the inside panel and the
// tabs are derived again from their cover. A direct-to-disc stock sets discPositionMode to DiscOnTop.
void ApplyStocks(LabelDesign& design, StockCatalogue& catalogue, QStringView caseKind, QStringView discMode,
                 DiscPositionMode& discPositionMode);

} // namespace tvl
