#pragma once

#include "document/model/EdgeRect.h"

#include <QColor>
#include <QRect>
#include <QRegion>
#include <vector>

class QPainter;

namespace tvl {

class SurfaceBitmaps;
class ViewGeometry;
struct SceneState;

// The printer's printable rectangles of a portrait Letter and a portrait A4 sheet, in mils.
struct PrintableAreas
{
    EdgeRect letter{250, 250, 8250, 10750};
    EdgeRect a4{250, 250, 8018, 11443};
};

// One cover's bitmap as the sheet shows it: the surface it holds and where it lies, in sheet pixels.
// In duplicate mode disc 1 is shown a second time at the disc 2 position.
struct ShownCover
{
    int surface = 0;
    EdgeRect at;
    bool disc = false;
    // Pixels of the sheet the bitmap covers: the cover's rectangle, or a disc's ring.
    QRegion area;
};

// The covers the sheet shows, in the order they are copied (the current surface last, so that it lies
// on top of a neighbour it overlaps); empty unless the design has all four covers.
std::vector<ShownCover> ShownCovers(const SceneState& scene, const ViewGeometry& geometry);

// Paints the label view from its surface bitmaps: the bitmaps are copied onto the sheet (discs clipped
// to their ring), the workspace around the sheet, the white paper, the sheet's shadow and outline. Draws
// no item: a repaint only copies. The editing aids are drawn over it (EditingOverlay).
class SheetPainter
{
public:
    struct Options
    {
        QColor workspace{185, 185, 185};
        // Only one item's area is repainted: the workspace and paper are left as they are.
        bool partialRedraw = false;
    };

    // clipBox is the area to paint, in window pixels; the painter draws in window pixels.
    static void Paint(QPainter& painter, const QRect& clipBox, const SceneState& scene,
                      const ViewGeometry& geometry, const SurfaceBitmaps& bitmaps, const Options& options);
};

} // namespace tvl
