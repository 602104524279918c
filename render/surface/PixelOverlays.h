#pragma once

#include "document/model/EdgeRect.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>
#include <functional>
#include <vector>

namespace tvl {

// The pixels of the editing aids the label view draws over its bitmaps, most of them by inverting
// (exclusive-or with white), so that they show on any colour.

// A one-pixel frame just outside r, every pixel in exactly one of the four rectangles (top, bottom,
// left, right); nothing for an empty r.
std::vector<QRect> ItemGuideFrame(const EdgeRect& r);

// Grid dots: for every grid point x = k * step.width(), y = j * step.height() of the cover's rectangle in
// mils (x from (left / step) * step while x < right, y likewise), toPixels gives its sheet pixel; the dot
// is the pixel one up and one left of it.
std::vector<QPoint> GridDots(const EdgeRect& coverMils, QSize step,
                             const std::function<QPoint(QPoint)>& toPixels);

// The eight 10 x 10 handle squares around an item's device rectangle, in the order top, bottom, left,
// right, top-left, bottom-right, bottom-left, top-right (the order hit testing reads them).
std::array<QRect, 8> SelectionHandleRects(const EdgeRect& r);

// The one-pixel outline of the ellipse filling r, a smooth gap-free curve through the outermost pixels
// of r, as one rectangle per horizontal run.
std::vector<QRect> EllipseOutline(const EdgeRect& r);

} // namespace tvl
