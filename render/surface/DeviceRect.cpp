#include "render/surface/DeviceRect.h"

#include "document/model/CRichChild.h"
#include "document/model/SurfaceNames.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace tvl {
namespace {

// Edges are added up and scaled in 64 bits (or doubles) and only then brought back into an int, so that
// extreme geometry gives an extreme rectangle instead of a wrapped one.
int Saturate(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

struct WideRect
{
    std::int64_t left;
    std::int64_t top;
    std::int64_t right;
    std::int64_t bottom;
};

std::int64_t ScaleWide(std::int64_t value, double dpi, float zoomFactor)
{
    if (dpi == 0)
        return value;
    const double scaled = dpi * static_cast<double>(value) * 0.001;
    const double zoomed = zoomFactor == 1.0f ? scaled : static_cast<double>(zoomFactor) * scaled;
    return static_cast<std::int64_t>(std::clamp(zoomed, -9.0e18, 9.0e18));
}

} // namespace

int ScaleToDevice(int value, double dpi, float zoomFactor)
{
    return Saturate(ScaleWide(value, dpi, zoomFactor));
}

EdgeRect GetDeviceRect(const CRichChild& item, bool innerCircle, int inflate, double dpiX, double dpiY,
                       float zoomFactor, int offsetX, int offsetY)
{
    const std::int64_t left = item.left();
    const std::int64_t top = item.top();
    const std::int64_t width = item.width();
    const std::int64_t height = item.height();
    WideRect r{left, top, left + width, top + height};
    const bool disc = IsDiscSurfaceName(item.name);
    if (disc) {
        r.bottom = top + width;
        if (innerCircle) {
            const std::int64_t d = width / 2 - height / 2;
            r = {left + d, top + d, left + d + height, top + d + height};
        }
    }
    std::int64_t grow = inflate;
    std::int64_t dx = offsetX;
    std::int64_t dy = offsetY;
    if (dpiX != 0 || dpiY != 0) {
        r = {ScaleWide(r.left, dpiX, zoomFactor), ScaleWide(r.top, dpiY, zoomFactor),
             ScaleWide(r.right, dpiX, zoomFactor), ScaleWide(r.bottom, dpiY, zoomFactor)};
        grow = ScaleWide(grow, dpiX, zoomFactor);
        dx = ScaleWide(dx, dpiX, zoomFactor);
        dy = ScaleWide(dy, dpiY, zoomFactor);
    }
    if (disc && innerCircle)
        grow = -grow;
    return {Saturate(r.left + dx - grow), Saturate(r.top + dy - grow), Saturate(r.right + dx + grow),
            Saturate(r.bottom + dy + grow)};
}

} // namespace tvl
