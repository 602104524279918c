#pragma once

#include "document/model/LabelDesign.h"
#include "render/surface/EditingOverlay.h"
#include "render/surface/SceneState.h"
#include "render/surface/SheetPainter.h"
#include "render/surface/SurfaceBitmaps.h"
#include "render/surface/ViewGeometry.h"
#include "stock/CLabelDim.h"

#include <QAbstractScrollArea>
#include <array>

namespace tvl {

// The label view ("CMervo6View" is the system's own name for it): shows the sheet of the current
// surface at the current zoom. Every cover of the sheet is painted once into its off-screen bitmap;
// painting the window only copies the bitmaps and draws the editing aids over them, so scrolling,
// exposing, switching guides or the grid and moving the selection never draw an item again.
class CMervo6View final : public QAbstractScrollArea
{
public:
    explicit CMervo6View(QWidget* parent = nullptr);

    LabelDesign& design() { return m_design; }
    SceneState& scene() { return m_scene; }
    const ViewGeometry& geometry() const { return m_geometry; }
    const SurfaceBitmaps& bitmaps() const { return m_bitmaps; }
    const std::array<QRect, 8>& handleRects() const { return m_handles; }

    // The label stocks whose sheets the view shows.
    void SetStocks(const CLabelDim& discStock, const CLabelDim& caseStock);

    // Makes a surface current and shows its sheet; nothing but a repaint when there is no such surface.
    void SelectSurface(const QString& name);
    void ShowFrontCover() { SelectSurface(QStringLiteral("Front Cover")); }
    void ShowBackCover() { SelectSurface(QStringLiteral("Back Cover")); }
    void ShowDiscLabel() { SelectSurface(QStringLiteral("Disc 1")); }
    void ShowDisc2() { SelectSurface(QStringLiteral("Disc 2")); }
    bool ZoomIn();
    bool ZoomOut();
    // The zoom (tenths) a new design starts at; the next SelectSurface lays the sheet out at it.
    void SetZoom(int zoom)
    {
        m_geometry.SetZoom(zoom);
        m_bitmaps.DropPictureCache();
    }

    // Editing aids: each only repaints the window.
    void SetGuidesOn(bool on);
    void SetShowGrid(bool on);
    void SetGridStep(QSize step);
    void SetSelectedItem(const QString& name);
    void SetSelectionMarksOn(bool on);

    // Shows the design's changes: with rerender the bitmaps are drawn again first; with an item only
    // its area of the window is repainted (and, for a duplicated disc 1, the same area on disc 2).
    void Redraw(const CRichChild* item, bool rerender);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void showEvent(QShowEvent* event) override;

private:
    void Rerender();
    void SyncScrollBars();

    LabelDesign m_design;
    SceneState m_scene;
    ViewGeometry m_geometry;
    SurfaceBitmaps m_bitmaps;
    SheetPainter::Options m_paintOptions;
    PrintableAreas m_printable;
    EditingOverlay m_overlay;
    CLabelDim m_discStock;
    CLabelDim m_caseStock;
    std::array<QRect, 8> m_handles{};
    QRect m_partialArea;
    bool m_created = false;
    bool m_syncing = false;
};

} // namespace tvl
