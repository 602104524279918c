#pragma once

#include "document/design/DesignChange.h"
#include "document/model/SurfaceNames.h"
#include "render/surface/EditingOverlay.h"
#include "render/surface/SceneState.h"
#include "render/surface/SheetPainter.h"
#include "render/surface/SurfaceBitmaps.h"
#include "render/surface/ViewGeometry.h"
#include "stock/CLabelDim.h"

#include <QAbstractScrollArea>
#include <array>

namespace tvl {

class DesignDocument;

// What the view shows besides the design, all from the settings.
struct ViewOptions
{
    bool guides = false;
    bool grid = false;
    QSize gridStep{100, 100};
};

// CMervo6View is the label view: the window area that shows the sheet of the document's current surface
// at the current zoom. Every cover of the sheet is painted once into its off-screen bitmap; painting the
// window only copies the bitmaps and draws the editing aids over them, so scrolling, exposing, switching
// guides or the grid and moving the selection never draw an item again. The view follows the document: a
// change re-renders only the surfaces it touched that are on the shown sheet.
class CMervo6View final : public QAbstractScrollArea, private DesignListener
{
public:
    explicit CMervo6View(DesignDocument& document, QWidget* parent = nullptr);
    ~CMervo6View() override;

    const DesignDocument& document() const { return m_document; }
    const SceneState& scene() const { return m_scene; }
    const ViewGeometry& geometry() const { return m_geometry; }
    const SurfaceBitmaps& bitmaps() const { return m_bitmaps; }
    const std::array<QRect, 8>& handleRects() const { return m_handles; }

    // The label stocks whose sheets the view shows.
    void SetStocks(const CLabelDim& discStock, const CLabelDim& caseStock);
    // Guides, grid and grid step; they are editing aids, so the window is only repainted.
    void ApplyOptions(const ViewOptions& options);
    // Shows the selection marks of the document's selected item until the next change of selection.
    void SetSelectionMarksOn(bool on);

    // Makes a surface of the document current; nothing when there is no such surface.
    void SelectSurface(const QString& name);
    void ShowFrontCover() { SelectSurface(kFrontCover.toString()); }
    void ShowBackCover() { SelectSurface(kBackCover.toString()); }
    void ShowDiscLabel() { SelectSurface(kDisc1.toString()); }
    void ShowDisc2() { SelectSurface(kDisc2.toString()); }
    bool ZoomIn();
    bool ZoomOut();
    // The zoom (tenths) a new design starts at; the next surface shown is laid out at it.
    void SetZoom(int zoom)
    {
        m_geometry.SetZoom(zoom);
        m_bitmaps.DropPictureCache();
    }

    // Shows the design's changes: with rerender the bitmaps are drawn again first; with an item only
    // its area of the window is repainted (and, for a duplicated disc 1, the same area on disc 2).
    void Redraw(const CRichChild* item, bool rerender);

private:
    void DesignChanged(const DesignChange& change) override;
    void SurfaceShown() override;
    void SelectionChanged() override;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void showEvent(QShowEvent* event) override;

    void SyncScene();
    void ShowCurrentSurface();
    // The largest zoom not above the current one at which the shown surface fits its bitmap.
    void LimitZoomToSurface();
    void Rerender(SurfaceSet surfaces);
    void SyncScrollBars();

    DesignDocument& m_document;
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
