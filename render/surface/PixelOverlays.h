#pragma once

#include "document/model/EdgeRect.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <array>
#include <functional>
#include <vector>

namespace tvl {

// Editing aids drawn by inverting pixels (exclusive-or with white), so drawing one a second time
// removes it without rendering again. Pixels outside the image are skipped.

void InvertPixel(QImage& image, int x, int y);
void InvertRect(QImage& image, const QRect& rect);

// A one-pixel frame just outside r, every pixel inverted exactly once; nothing for an empty r.
void DrawItemGuide(QImage& image, const EdgeRect& r);

// Grid dots: for every grid point x = k * step.width(), y = j * step.height() of the cover's rectangle in
// mils (x from (left / step) * step while x < right, y likewise), toPixels gives its sheet pixel;
// the pixel one up and one left of it, moved by -bitmapOrigin, is inverted.
void DrawGrid(QImage& image, const EdgeRect& coverMils, QSize step, QPoint bitmapOrigin,
              const std::function<QPoint(QPoint)>& toPixels);

// The eight 10 x 10 handle squares around an item's device rectangle, in the order top, bottom, left,
// right, top-left, bottom-right, bottom-left, top-right (the order hit testing reads them).
std::array<QRect, 8> SelectionHandleRects(const EdgeRect& r);

// The one-pixel outline of the ellipse filling r: per row of the filled ellipse its leftmost and
// rightmost pixels, each run widened to meet the ends of the neighbouring rows so the curve has no gaps;
// the top and bottom rows stay whole. Returned as one rectangle per run.
std::vector<QRect> EllipseOutline(const EdgeRect& r);
QRegion EllipseOutlineRegion(const EdgeRect& r);

} // namespace tvl
