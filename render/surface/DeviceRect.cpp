#include "render/surface/DeviceRect.h"

#include "document/model/CRichChild.h"
#include "document/model/SurfaceNames.h"

namespace tvl {

int ScaleToDevice(int value, double dpi, float zoomFactor)
{
    if (dpi == 0)
        return value;
    const double scaled = dpi * value * 0.001;
    return static_cast<int>(zoomFactor == 1.0f ? scaled : static_cast<double>(zoomFactor) * scaled);
}

EdgeRect GetDeviceRect(const CRichChild& item, bool innerCircle, int inflate, double dpiX, double dpiY,
                       float zoomFactor, int offsetX, int offsetY)
{
    EdgeRect r{item.left(), item.top(), item.left() + item.width(), item.top() + item.height()};
    const bool disc = IsDiscSurfaceName(item.name);
    if (disc) {
        r.bottom = item.top() + item.width();
        if (innerCircle) {
            const int d = item.width() / 2 - item.height() / 2;
            r = {item.left() + d, item.top() + d, item.left() + d + item.height(),
                 item.top() + d + item.height()};
        }
    }
    if (dpiX != 0 || dpiY != 0) {
        r = {ScaleToDevice(r.left, dpiX, zoomFactor), ScaleToDevice(r.top, dpiY, zoomFactor),
             ScaleToDevice(r.right, dpiX, zoomFactor), ScaleToDevice(r.bottom, dpiY, zoomFactor)};
        inflate = ScaleToDevice(inflate, dpiX, zoomFactor);
        offsetX = ScaleToDevice(offsetX, dpiX, zoomFactor);
        offsetY = ScaleToDevice(offsetY, dpiY, zoomFactor);
    }
    r = r.translated(offsetX, offsetY);
    const int grow = disc && innerCircle ? -inflate : inflate;
    return r.adjusted(-grow, -grow, grow, grow);
}

} // namespace tvl
