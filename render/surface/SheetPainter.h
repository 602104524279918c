#pragma once

#include "document/model/EdgeRect.h"

#include <QColor>
#include <QRect>
#include <array>

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

// Paints the label view from its surface bitmaps: the bitmaps are copied onto a white sheet (discs
// clipped to their ring, the current surface last so it lies on top), then the workspace around the
// sheet, the text guides over the paper, the shadow, the printable-area guide, the sheet's outline and
// the selection handles. Draws no item: a repaint only copies.
class SheetPainter
{
public:
    struct Options
    {
        PrintableAreas printable;
        QColor workspace{185, 185, 185};
        // Only one item's area is repainted: the workspace and paper are left as they are.
        bool partialRedraw = false;
    };

    struct Result
    {
        // Handle squares in sheet pixels, in hit-testing order; empty when no handles were drawn.
        std::array<QRect, 8> handles{};
        // The selected item cannot show selection marks (it is a surface or page).
        bool selectionMarksEnded = false;
    };

    // clipBox is the area to paint, in window pixels; the painter draws in window pixels.
    static Result Paint(QPainter& painter, const QRect& clipBox, const SceneState& scene,
                        const ViewGeometry& geometry, const SurfaceBitmaps& bitmaps, const Options& options);
};

} // namespace tvl
