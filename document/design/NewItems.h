#pragma once

#include "document/model/CRichChild.h"

#include <QRect>
#include <functional>
#include <memory>

namespace tvl {

class LabelDesign;

// Where a new item of this size goes on the current surface: centred in the surface's free area (on a
// disc the part left of the hub; on a folded front cover the half of the selected item), moved by a
// jitter of up to half a mil per unit of jitter (0 … 999) on each axis, and back inside the area
// horizontally. With limitWidth a rectangle wider than the area is narrowed to it.
QRect PlaceNewItem(const LabelDesign& design, const QString& surface, const CRichChild* selected, QSize size,
                   bool limitWidth, const std::function<int()>& jitter);

// A new free text block ("Text 1", "Text 2", …) on the surface: "Text" in 40-point Arial, black, centred,
// word-wrapped and fitted to its block. Null when the surface has no cover.
std::unique_ptr<CRichChild> MakeFreeText(const LabelDesign& design, const QString& surface,
                                         const QRect& rect);

} // namespace tvl
