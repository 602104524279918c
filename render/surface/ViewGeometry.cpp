#include "render/surface/ViewGeometry.h"

#include "document/model/LabelDesign.h"
#include "document/model/SurfaceNames.h"
#include "render/surface/DeviceRect.h"
#include "stock/CLabelDim.h"

#include <algorithm>

namespace tvl {
namespace {

// Division in single precision as the stored units per pixel are single precision; the zoom step is
// taken in double so that 4625 mils at 96 dpi and zoom 10 stays exactly 444.
int ToPixels(int mils, float unitsPerPixel, int zoom, bool applyZoom)
{
    const float pixels = static_cast<float>(mils) / unitsPerPixel;
    return static_cast<int>(applyZoom ? static_cast<double>(pixels) * zoom * 0.1
                                      : static_cast<double>(pixels));
}

} // namespace

void ViewGeometry::SetScreenDpi(double dpiX, double dpiY)
{
    m_dpiX = dpiX > 0 ? dpiX : 96;
    m_dpiY = dpiY > 0 ? dpiY : 96;
    m_unitsPerPixelX = static_cast<float>(1000.0 / m_dpiX);
    m_unitsPerPixelY = static_cast<float>(1000.0 / m_dpiY);
}

EdgeRect ViewGeometry::PageToDevice(const EdgeRect& mils, bool applyZoom, bool toWindow) const
{
    EdgeRect r{ToPixels(mils.left, m_unitsPerPixelX, m_zoom, applyZoom),
               ToPixels(mils.top, m_unitsPerPixelY, m_zoom, applyZoom),
               ToPixels(mils.right, m_unitsPerPixelX, m_zoom, applyZoom),
               ToPixels(mils.bottom, m_unitsPerPixelY, m_zoom, applyZoom)};
    if (toWindow)
        r = r.translated(-m_scroll.x() - m_pageOrigin.x(), -m_scroll.y() - m_pageOrigin.y());
    return r;
}

QPoint ViewGeometry::WindowToPage(QPoint window) const
{
    const double scale = m_zoom * 0.1;
    const double x =
        (window.x() + m_scroll.x() + m_pageOrigin.x()) * static_cast<double>(m_unitsPerPixelX) / scale;
    const double y =
        (window.y() + m_scroll.y() + m_pageOrigin.y()) * static_cast<double>(m_unitsPerPixelY) / scale;
    return QPoint(static_cast<int>(x), static_cast<int>(y));
}

EdgeRect ViewGeometry::GetItemSheetRect(const CRichChild& item, bool outerCircle) const
{
    return PageToDevice(GetDeviceRect(item, !outerCircle, 0, 0, 0, 1.0f, 0, 0), true, false);
}

EdgeRect ViewGeometry::GetItemWindowRect(const CRichChild& item, bool outerCircle) const
{
    return PageToDevice(GetDeviceRect(item, !outerCircle, 0, 0, 0, 1.0f, 0, 0), true, true);
}

bool ViewGeometry::SelectSurface(const LabelDesign& design, const CLabelDim& discStock,
                                 const CLabelDim& caseStock, const QString& name)
{
    const QString wanted = name.isEmpty() ? m_currentSurface : name;
    const CRichChild* surface = design.FindItem(wanted);
    if (!surface)
        return false;
    m_currentSurface = wanted;
    m_currentPageCode = surface->pageCode;
    QSize paper = caseStock.paper2;
    if (m_currentPageCode == u"1")
        paper = discStock.paper1;
    else if (m_currentPageCode == u"2")
        paper = caseStock.paper1;
    m_pageRect = {0, 0, paper.width(), paper.height()};
    UpdateScrollSizes(design);
    UpdatePageOrigin();
    return true;
}

void ViewGeometry::FollowSelectedItem(const CRichChild& item)
{
    if (item.kind == ItemKind::Page)
        return;
    m_currentSurface = item.surface;
    m_currentPageCode = item.pageCode;
}

void ViewGeometry::UpdateScrollSizes(const LabelDesign& design)
{
    if (design.itemList.empty()) {
        m_scrollSize = QSize(3, 3);
        return;
    }
    const EdgeRect page = PageToDevice(m_pageRect, true, false);
    m_scrollSize = QSize(page.width() + 2 * kPageMargin, page.height() + 2 * kPageMargin);
    m_scroll.setX(std::clamp(m_scroll.x(), 0, std::max(0, m_scrollSize.width() - m_clientSize.width())));
    m_scroll.setY(std::clamp(m_scroll.y(), 0, std::max(0, m_scrollSize.height() - m_clientSize.height())));
}

void ViewGeometry::UpdatePageOrigin()
{
    const EdgeRect page = PageToDevice(m_pageRect, true, false);
    const int usableWidth = m_clientSize.width() + 4;
    const int usableHeight = m_clientSize.height() + 4;
    const int freeX = (usableWidth - page.width()) / 2;
    const int freeY = (usableHeight - page.height()) / 2;
    m_pageOrigin =
        QPoint(freeX > kPageMargin ? -freeX : -kPageMargin, freeY > kPageMargin ? -freeY : -kPageMargin);
}

bool ViewGeometry::SurfaceFitsBitmaps(const LabelDesign& design, int zoom,
                                      const std::array<QSize, 4>& bitmapSizes) const
{
    const CRichChild* surface = design.FindCover(m_currentSurface);
    const int index = SurfaceIndexOf(m_currentSurface);
    if (!surface || index < 0)
        return true;
    ViewGeometry at = *this;
    at.m_zoom = zoom;
    const EdgeRect r = at.GetItemSheetRect(*surface, true);
    const QSize bitmap = bitmapSizes[static_cast<size_t>(index)];
    if (index == Disc1Surface || index == Disc2Surface)
        return r.width() <= bitmap.width() && r.width() <= bitmap.height();
    return r.width() <= bitmap.width() && r.height() <= bitmap.height();
}

bool ViewGeometry::ZoomIn(const LabelDesign& design, const std::array<QSize, 4>& bitmapSizes)
{
    return ZoomInAbout(design, bitmapSizes, ClientCentre());
}

bool ViewGeometry::ZoomOut(const LabelDesign& design)
{
    return ZoomOutAbout(design, ClientCentre());
}

bool ViewGeometry::ZoomInAbout(const LabelDesign& design, const std::array<QSize, 4>& bitmapSizes,
                               QPoint anchor)
{
    if (!SurfaceFitsBitmaps(design, m_zoom + 2, bitmapSizes))
        return false;
    Rezoom(design, m_zoom + 2, anchor);
    return true;
}

bool ViewGeometry::ZoomOutAbout(const LabelDesign& design, QPoint anchor)
{
    if (m_zoom - 2 <= kSmallestZoom - 1)
        return false;
    Rezoom(design, m_zoom - 2, anchor);
    return true;
}

bool ViewGeometry::ZoomToFit(const LabelDesign& design, const std::array<QSize, 4>& bitmapSizes)
{
    const CRichChild* surface = design.FindCover(m_currentSurface);
    if (!surface)
        return false;
    const QSize room(m_clientSize.width() - 2 * kPageMargin, m_clientSize.height() - 2 * kPageMargin);
    const auto fits = [&](int zoom) {
        ViewGeometry at = *this;
        at.m_zoom = zoom;
        const EdgeRect r = at.GetItemSheetRect(*surface, true);
        return r.width() <= room.width() && r.height() <= room.height() &&
               SurfaceFitsBitmaps(design, zoom, bitmapSizes);
    };
    int zoom = kSmallestZoom;
    while (fits(zoom + 2))
        zoom += 2;
    if (zoom == m_zoom)
        return false;
    Rezoom(design, zoom, ClientCentre());
    const EdgeRect r = GetItemSheetRect(*surface, true);
    if (m_pageOrigin.x() == -kPageMargin)
        m_scroll.setX((r.left + r.right) / 2 - m_pageOrigin.x() - m_clientSize.width() / 2);
    if (m_pageOrigin.y() == -kPageMargin)
        m_scroll.setY((r.top + r.bottom) / 2 - m_pageOrigin.y() - m_clientSize.height() / 2);
    return true;
}

void ViewGeometry::Rezoom(const LabelDesign& design, int zoom, QPoint anchor)
{
    const QPoint anchorMils = WindowToPage(anchor);
    m_zoom = zoom;
    UpdatePageOrigin();
    UpdateScrollSizes(design);
    const EdgeRect point =
        PageToDevice({anchorMils.x(), anchorMils.y(), anchorMils.x(), anchorMils.y()}, true, false);
    QPoint scroll = m_scroll;
    if (m_pageOrigin.x() == -kPageMargin)
        scroll.setX(point.left - m_pageOrigin.x() - anchor.x());
    if (m_pageOrigin.y() == -kPageMargin)
        scroll.setY(point.top - m_pageOrigin.y() - anchor.y());
    m_scroll = scroll;
    UpdateScrollSizes(design);
}

} // namespace tvl
