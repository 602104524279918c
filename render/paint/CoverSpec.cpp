#include "render/paint/CoverSpec.h"

#include "render/DrawTextItem.h"
#include "render/surface/DeviceRect.h"

namespace tvl {

CoverSpec CoverSpec::AtOrigin(const CRichChild& cover, double dpiX, double dpiY, float zoom, int overlap)
{
    CoverSpec spec;
    spec.dpiX = dpiX;
    spec.dpiY = dpiY;
    spec.zoom = zoom;
    spec.overlap = overlap;
    const EdgeRect mils = GetDeviceRect(cover, false, 0, 0, 0, 1.0f, 0, 0);
    spec.offsetMils = QPoint(overlap - mils.left, overlap - mils.top);
    return spec;
}

EdgeRect CoverSpec::DeviceRect(const CRichChild& item, bool hub, int inflate) const
{
    return GetDeviceRect(item, hub, inflate, dpiX, dpiY, zoom, offsetMils.x(), offsetMils.y());
}

EdgeRect CoverSpec::RingEdge(const CRichChild& disc, bool hub) const
{
    const EdgeRect& adjust = hub ? hubCircleAdjust : outerCircleAdjust;
    const int grow = hub && !hubShrinks ? 0 : overlap;
    return DeviceRect(disc, hub, grow).adjusted(adjust.left, adjust.top, adjust.right, adjust.bottom);
}

EdgeRect CoverSpec::Map(const EdgeRect& mils) const
{
    const int dx = ScaleToDevice(offsetMils.x(), dpiX, zoom);
    const int dy = ScaleToDevice(offsetMils.y(), dpiY, zoom);
    return {ScaleToDevice(mils.left, dpiX, zoom) + dx, ScaleToDevice(mils.top, dpiY, zoom) + dy,
            ScaleToDevice(mils.right, dpiX, zoom) + dx, ScaleToDevice(mils.bottom, dpiY, zoom) + dy};
}

int CoverSpec::ScaleX(int mils) const
{
    return ScaleToDevice(mils, dpiX, zoom);
}

EdgeRect CoverSpec::GrownArea(const CRichChild& cover) const
{
    return Map(GetDeviceRect(cover, false, overlap, 0, 0, 1.0f, 0, 0));
}

QSize CoverSpec::GrownSize(const CRichChild& cover) const
{
    const EdgeRect mils = GetDeviceRect(cover, false, overlap, 0, 0, 1.0f, 0, 0);
    return QSize(ScaleToDevice(mils.width(), dpiX, zoom), ScaleToDevice(mils.height(), dpiY, zoom));
}

QTransform CoverSpec::TextTransform(const CRichChild& cover) const
{
    const EdgeRect mils = GetDeviceRect(cover, false, overlap, 0, 0, 1.0f, 0, 0);
    return MilsToDevice(offsetMils.x(), offsetMils.y(), QSize(mils.width(), mils.height()), GrownSize(cover));
}

} // namespace tvl
