#include "render/surface/PixelOverlays.h"

#include "render/surface/MaskRuns.h"

#include <QPainter>

namespace tvl {

std::vector<QRect> ItemGuideFrame(const EdgeRect& r)
{
    if (r.isEmpty())
        return {};
    return {QRect(QPoint(r.left, r.top - 1), QPoint(r.right - 1, r.top - 1)),
            QRect(QPoint(r.left - 1, r.bottom), QPoint(r.right, r.bottom)),
            QRect(QPoint(r.left - 1, r.top - 1), QPoint(r.left - 1, r.bottom - 1)),
            QRect(QPoint(r.right, r.top - 1), QPoint(r.right, r.bottom - 1))};
}

std::vector<QPoint> GridDots(const EdgeRect& coverMils, QSize step,
                             const std::function<QPoint(QPoint)>& toPixels)
{
    std::vector<QPoint> dots;
    if (step.width() <= 0 || step.height() <= 0)
        return dots;
    for (int y = (coverMils.top / step.height()) * step.height(); y < coverMils.bottom; y += step.height()) {
        for (int x = (coverMils.left / step.width()) * step.width(); x < coverMils.right; x += step.width())
            dots.push_back(toPixels(QPoint(x, y)) - QPoint(1, 1));
    }
    return dots;
}

std::array<QRect, 8> SelectionHandleRects(const EdgeRect& r)
{
    const int cx = (r.left + r.right) / 2;
    const int cy = (r.top + r.bottom) / 2;
    const auto square = [](int l, int t, int rr, int b) { return EdgeRect{l, t, rr, b}.toQRect(); };
    return {
        square(cx - 5, r.top - 11, cx + 5, r.top - 1),
        square(cx - 5, r.bottom + 1, cx + 5, r.bottom + 11),
        square(r.left - 11, cy - 5, r.left - 1, cy + 5),
        square(r.right + 1, cy - 5, r.right + 11, cy + 5),
        square(r.left - 11, r.top - 11, r.left - 1, r.top - 1),
        square(r.right + 1, r.bottom + 1, r.right + 11, r.bottom + 11),
        square(r.left - 11, r.bottom + 1, r.left - 1, r.bottom + 11),
        square(r.right + 1, r.top - 11, r.right + 11, r.top - 1),
    };
}

std::vector<QRect> EllipseOutline(const EdgeRect& r)
{
    if (r.isEmpty())
        return {};
    // The curve the painter strokes with a one-pixel pen: smooth at any size, where a polygon through
    // the bands of an elliptic region shows straight segments on large circles.
    QImage mask(r.width(), r.height(), QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter painter(&mask);
        QPen pen(Qt::black);
        pen.setWidth(0);
        painter.setPen(pen);
        painter.drawEllipse(QRect(0, 0, r.width() - 1, r.height() - 1));
    }
    return MaskRuns(mask, QPoint(r.left, r.top));
}

} // namespace tvl
