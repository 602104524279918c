#pragma once

#include <QImage>
#include <QStringView>

namespace tvl {

class CLabelDim;

// A preview of one sheet of a pair of stocks: the sheet white, scaled to fit size and centred on a grey
// ground, with the label outlines in black (discs as outer and hub circles, a folded front with its fold
// line, the back with its spine lines). pageCode is "1" for the disc sheet, "2" and "3" for the case
// sheets. Drawn by the same painter as the labels themselves.
QImage StockSheetImage(const CLabelDim& discStock, const CLabelDim& caseStock, QStringView pageCode,
                       QSize size);

} // namespace tvl
