#pragma once

#include <QRect>

#include <algorithm>
#include <climits>

namespace tvl {

// The one rectangle of the design's lengths: four edges in mils (or in the device pixels they map to),
// right and bottom exclusive, so the width is right - left; empty when it has no width or no height.
struct EdgeRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    // Held at the limits of an int for edges far apart.
    int width() const { return Span(left, right); }
    int height() const { return Span(top, bottom); }
    bool isEmpty() const { return right <= left || bottom <= top; }
    void translate(int dx, int dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    EdgeRect translated(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    EdgeRect adjusted(int dl, int dt, int dr, int db) const
    {
        return {left + dl, top + dt, right + dr, bottom + db};
    }
    QRect toQRect() const { return QRect(left, top, width(), height()); }
    static EdgeRect fromQRect(const QRect& r)
    {
        return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
    }

    bool operator==(const EdgeRect&) const = default;

private:
    static int Span(int from, int to)
    {
        return static_cast<int>(std::clamp<long long>(static_cast<long long>(to) - from, INT_MIN, INT_MAX));
    }
};

} // namespace tvl
