#pragma once

#include "document/model/EdgeRect.h"

#include <QRect>
#include <QRegion>
#include <array>
#include <map>
#include <utility>
#include <vector>

class QPainter;

namespace tvl {

class ViewGeometry;
struct PrintableAreas;
struct SceneState;

// The editing aids the label view draws over the copied surface bitmaps: the covers' teal outlines (a
// disc's inverted when it has a background), the disc's text margin, the item guides and grid dots
// (both inverted, so they show on any colour), the frames of text that reaches onto the paper, the
// printer's printable area and the selection handles. Switching an aid on or off, or moving the
// selection, only repaints: no item is drawn again.
class EditingOverlay
{
public:
    struct Result
    {
        // Handle squares in sheet pixels, in hit-testing order; empty when no handles were drawn.
        std::array<QRect, 8> handles{};
        // The selected item cannot show selection marks (it is a surface or page).
        bool selectionMarksEnded = false;
    };

    // clipBox is the area to paint, in window pixels; the painter draws in window pixels.
    Result Paint(QPainter& painter, const QRect& clipBox, const SceneState& scene,
                 const ViewGeometry& geometry, const PrintableAreas& printable);

private:
    // The outline runs of a circle of the given size, relative to its top-left corner; kept per size, so
    // a zoom makes new ones and a repaint reuses them.
    const std::vector<QRect>& CircleRuns(QSize size);

    std::map<std::pair<int, int>, std::vector<QRect>> m_circles;
};

// The ring of pixels just around the selected item's frame that the selection frame owns: painting
// leaves it alone. Empty when there is no selection frame to keep.
QRegion SelectionFrameRegion(const SceneState& scene, const ViewGeometry& geometry);

} // namespace tvl
