#pragma once

#include "document/model/EdgeRect.h"
#include "document/model/SurfaceNames.h"

#include <QPoint>
#include <QSize>
#include <QString>
#include <array>

namespace tvl {

class CLabelDim;
class CRichChild;
class LabelDesign;

// Where the label view's sheet lies and how its mils map to window pixels: the shown surface and
// sheet, the zoom in tenths of the true size, the screen resolution, the page origin and the scroll
// position. Holds no widget; the view copies its client size and scroll position in and out.
class ViewGeometry
{
public:
    static constexpr int kPageMargin = 17;
    static constexpr int kSmallestZoom = 6;

    // Screen resolution in pixels per logical inch.
    void SetScreenDpi(double dpiX, double dpiY);
    double dpiX() const { return m_dpiX; }
    double dpiY() const { return m_dpiY; }
    float unitsPerPixelX() const { return m_unitsPerPixelX; }
    float unitsPerPixelY() const { return m_unitsPerPixelY; }
    // zoom * 0.1, the factor GetDeviceRect takes for the screen.
    float zoomFactor() const { return static_cast<float>(m_zoom * 0.1); }

    int zoom() const { return m_zoom; }
    void SetZoom(int zoom) { m_zoom = zoom; }
    const QString& currentSurface() const { return m_currentSurface; }
    const QString& currentPageCode() const { return m_currentPageCode; }
    const EdgeRect& pageRect() const { return m_pageRect; }
    QPoint pageOrigin() const { return m_pageOrigin; }
    QSize scrollSize() const { return m_scrollSize; }
    QPoint scrollPosition() const { return m_scroll; }
    void SetScrollPosition(QPoint scroll) { m_scroll = scroll; }
    QSize clientSize() const { return m_clientSize; }
    void SetClientSize(QSize size) { m_clientSize = size; }

    // A sheet rectangle in mils to pixels: trunc(x / unitsPerPixelX * zoom * 0.1) (the zoom factor only
    // with applyZoom); toWindow then subtracts the scroll position and the page origin.
    EdgeRect PageToDevice(const EdgeRect& mils, bool applyZoom, bool toWindow) const;
    // A window point back to sheet mils at the current zoom.
    QPoint WindowToPage(QPoint window) const;
    // The item's rectangle in window pixels; disc surfaces give their outer square with outerCircle and
    // their hub square without.
    EdgeRect GetItemWindowRect(const CRichChild& item, bool outerCircle) const;
    // The same without the window offset: pixels of the sheet.
    EdgeRect GetItemSheetRect(const CRichChild& item, bool outerCircle) const;

    // Makes a surface current: its page code becomes the shown sheet and pageRect that sheet's paper
    // (page "1" the disc stock's first paper, "2" the case stock's first, any other its second).
    // Recomputes the scroll size and page origin. False (nothing changed) when no surface has that name.
    bool SelectSurface(const LabelDesign& design, const CLabelDim& discStock, const CLabelDim& caseStock,
                       const QString& name);
    // Called when an item that is not a page is selected: its surface and sheet become current.
    void FollowSelectedItem(const CRichChild& item);

    // The sheet at the current zoom plus the page margin on every side; 3 x 3 for a design without items.
    void UpdateScrollSizes(const LabelDesign& design);
    // Centres a sheet smaller than the window; a larger one starts pageMargin from the edge.
    void UpdatePageOrigin();

    // Whether the current surface, drawn at the given zoom, fits the bitmap sizes (front, back, disc 1,
    // disc 2 in that order).
    bool SurfaceFitsBitmaps(const LabelDesign& design, int zoom,
                            const std::array<QSize, 4>& bitmapSizes) const;
    // Zooms in by 2 when the current surface still fits its bitmap, keeping the point under the window
    // centre where the sheet scrolls. False when the zoom did not change.
    bool ZoomIn(const LabelDesign& design, const std::array<QSize, 4>& bitmapSizes);
    // Zooms out by 2 unless that goes below the smallest zoom.
    bool ZoomOut(const LabelDesign& design);
    // The same about a window point (the mouse pointer): the sheet point under it stays under it on each
    // axis where the sheet scrolls.
    bool ZoomInAbout(const LabelDesign& design, const std::array<QSize, 4>& bitmapSizes, QPoint anchor);
    bool ZoomOutAbout(const LabelDesign& design, QPoint anchor);
    // The largest zoom, in steps of 2 from the smallest, at which the current surface fits the window
    // (less the page margin on every side) and its bitmap; the surface is then centred where the sheet
    // scrolls. False when the zoom did not change.
    bool ZoomToFit(const LabelDesign& design, const std::array<QSize, 4>& bitmapSizes);

private:
    void Rezoom(const LabelDesign& design, int zoom, QPoint anchor);
    QPoint ClientCentre() const { return {m_clientSize.width() / 2, m_clientSize.height() / 2}; }

    double m_dpiX = 96;
    double m_dpiY = 96;
    float m_unitsPerPixelX = 1000.0f / 96;
    float m_unitsPerPixelY = 1000.0f / 96;
    int m_zoom = kSmallestZoom;
    QString m_currentSurface = kDisc1.toString();
    QString m_currentPageCode = QStringLiteral("1");
    EdgeRect m_pageRect;
    QPoint m_pageOrigin;
    QSize m_scrollSize;
    QPoint m_scroll;
    QSize m_clientSize;
};

} // namespace tvl
