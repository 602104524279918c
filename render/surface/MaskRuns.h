#pragma once

#include <QPoint>
#include <QRect>
#include <vector>

class QImage;

namespace tvl {

// The covered pixels of a mask drawn by the painter (alpha above zero), as one-pixel-high runs moved by
// origin: what a region or an inverted outline is built from, so both follow the painter's own curves.
std::vector<QRect> MaskRuns(const QImage& mask, QPoint origin);

} // namespace tvl
