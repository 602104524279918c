#include "render/text/DiscLineSegments.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace tvl {
namespace {

int TruncatedRoot(std::int64_t value)
{
    return static_cast<int>(std::sqrt(static_cast<double>(value)));
}

} // namespace

LineSegments DiscLineSegments(const LayoutFrame& frame, int y, int lineHeight)
{
    LineSegments segments;
    const EdgeRect& rect = frame.rect;
    if (!frame.onDisc) {
        segments.left0 = rect.left;
        segments.left1 = rect.right;
        return segments;
    }
    const std::int64_t radius = frame.disc.outerRadius;
    const std::int64_t margin = frame.disc.margin;

    // The rim is nearest at the line's edge farthest from the centre.
    const std::int64_t outerEdge = y <= radius ? y : std::int64_t{y} + lineHeight;
    const std::int64_t d =
        (radius - margin) * (radius - margin) - (radius - outerEdge) * (radius - outerEdge);
    if (d <= 0) {
        segments.left0 = segments.left1 = static_cast<int>(radius);
        return segments;
    }
    const int w = TruncatedRoot(d);
    const int centre = static_cast<int>(radius);
    segments.left0 = std::max(centre - w, rect.left);
    segments.left1 = std::min(centre + w, rect.right);

    // The hub is nearest at the line's edge closest to the centre; a line across the centre uses it.
    const std::int64_t innerEdge =
        y < radius ? std::min<std::int64_t>(std::int64_t{y} + lineHeight, radius) : y;
    const std::int64_t hub = frame.disc.hubRadius + margin;
    if (std::llabs(radius - innerEdge) >= hub)
        return segments;
    const int wi = TruncatedRoot(hub * hub - (radius - innerEdge) * (radius - innerEdge));
    const int hubLeft = centre - wi;
    const int hubRight = centre + wi;

    segments.right0 = segments.left0;
    segments.right1 = segments.left1;
    if (hubLeft > segments.left0 && hubLeft < segments.left1)
        segments.left1 = hubLeft;
    if (hubRight > segments.right0 && hubRight < segments.right1)
        segments.right0 = hubRight;
    if (segments.left1 == segments.right1 || segments.left0 == segments.right0) {
        // Only one side was cut: the line lies beside the hub, on its narrower part.
        if (segments.RightWidth() < segments.LeftWidth()) {
            segments.left0 = segments.right0;
            segments.left1 = segments.right1;
        }
        segments.right0 = segments.right1 = 0;
    } else {
        segments.hasRight = true;
    }
    if (segments.left0 >= hubLeft && segments.left1 <= hubRight)
        segments.left0 = segments.left1 = 0;
    return segments;
}

} // namespace tvl
