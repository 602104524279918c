#include "render/text/RotateRect.h"

namespace tvl {

int EscapementOfAngle(QStringView angle)
{
    if (angle == u"90 degrees")
        return 900;
    if (angle == u"180 degrees")
        return 1800;
    if (angle == u"270 degrees")
        return -900;
    return 0;
}

EdgeRect RotateRect(const EdgeRect& rect, int escapement, int side, bool forward)
{
    const int s = side;
    const auto [l, t, r, b] = rect;
    if (escapement == 1800)
        return {s - r, s - b, s - l, s - t};
    const bool quarterForward = (escapement == 900 && forward) || (escapement == -900 && !forward);
    const bool quarterBackward = (escapement == -900 && forward) || (escapement == 900 && !forward);
    if (quarterForward)
        return {s - b, l, s - t, r};
    if (quarterBackward)
        return {t, s - r, b, s - l};
    return rect;
}

} // namespace tvl
