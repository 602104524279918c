#include "render/surface/PixelOverlays.h"

#include <QRegion>
#include <algorithm>

namespace tvl {

void InvertPixel(QImage& image, int x, int y)
{
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return;
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    line[x] ^= 0x00ffffffu;
}

void InvertRect(QImage& image, const QRect& rect)
{
    const QRect r = rect.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = r.left(); x <= r.right(); ++x)
            line[x] ^= 0x00ffffffu;
    }
}

void DrawItemGuide(QImage& image, const EdgeRect& r)
{
    if (r.isEmpty())
        return;
    for (int x = r.left; x <= r.right - 1; ++x)
        InvertPixel(image, x, r.top - 1);
    for (int x = r.left - 1; x <= r.right; ++x)
        InvertPixel(image, x, r.bottom);
    for (int y = r.top - 1; y <= r.bottom - 1; ++y) {
        InvertPixel(image, r.left - 1, y);
        InvertPixel(image, r.right, y);
    }
}

void DrawGrid(QImage& image, const EdgeRect& coverMils, QSize step, QPoint bitmapOrigin,
              const std::function<QPoint(QPoint)>& toPixels)
{
    if (step.width() <= 0 || step.height() <= 0)
        return;
    for (int y = (coverMils.top / step.height()) * step.height(); y < coverMils.bottom; y += step.height()) {
        for (int x = (coverMils.left / step.width()) * step.width(); x < coverMils.right; x += step.width()) {
            const QPoint p = toPixels(QPoint(x, y)) - bitmapOrigin;
            InvertPixel(image, p.x() - 1, p.y() - 1);
        }
    }
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
    // Row spans of the filled ellipse, taken from the elliptic region so that the outline follows the
    // very pixels the ring clip lets through.
    const QRegion filled(r.toQRect(), QRegion::Ellipse);
    const int rows = r.height();
    std::vector<int> first(static_cast<size_t>(rows), 1);
    std::vector<int> last(static_cast<size_t>(rows), 0);
    for (const QRect& band : filled) {
        for (int y = std::max(band.top(), r.top); y <= std::min(band.bottom(), r.bottom - 1); ++y) {
            const auto i = static_cast<size_t>(y - r.top);
            if (first[i] > last[i]) {
                first[i] = band.left();
                last[i] = band.right();
            } else {
                first[i] = std::min(first[i], band.left());
                last[i] = std::max(last[i], band.right());
            }
        }
    }
    const auto present = [&](int i) {
        return i >= 0 && i < rows && first[static_cast<size_t>(i)] <= last[static_cast<size_t>(i)];
    };
    std::vector<QRect> runs;
    for (int i = 0; i < rows; ++i) {
        if (!present(i))
            continue;
        const int x0 = first[static_cast<size_t>(i)];
        const int x1 = last[static_cast<size_t>(i)];
        const int y = r.top + i;
        if (!present(i - 1) || !present(i + 1)) {
            runs.emplace_back(QPoint(x0, y), QPoint(x1, y));
            continue;
        }
        const int innerLeft =
            std::max(first[static_cast<size_t>(i - 1)], first[static_cast<size_t>(i + 1)]) - 1;
        const int innerRight =
            std::min(last[static_cast<size_t>(i - 1)], last[static_cast<size_t>(i + 1)]) + 1;
        const int leftEnd = std::clamp(innerLeft, x0, x1);
        const int rightStart = std::clamp(innerRight, x0, x1);
        if (leftEnd + 1 >= rightStart) {
            runs.emplace_back(QPoint(x0, y), QPoint(x1, y));
            continue;
        }
        runs.emplace_back(QPoint(x0, y), QPoint(leftEnd, y));
        runs.emplace_back(QPoint(rightStart, y), QPoint(x1, y));
    }
    return runs;
}

QRegion EllipseOutlineRegion(const EdgeRect& r)
{
    const std::vector<QRect> runs = EllipseOutline(r);
    QRegion region;
    region.setRects(runs.data(), static_cast<int>(runs.size()));
    return region;
}

} // namespace tvl
