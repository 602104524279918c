#pragma once

#include "document/model/EdgeRect.h"

#include <QPoint>
#include <QSize>
#include <QString>
#include <array>

namespace tvl {

// What a press and drag on the label view does: nothing, select text, move the selected item or pull one
// of its eight handles.
enum class DragMode
{
    None,
    Select,
    Move,
    Top,
    Bottom,
    Left,
    Right,
    TopLeft,
    BottomRight,
    BottomLeft,
    TopRight,
};

// The handle modes in the order of the view's handle rectangles.
inline constexpr std::array<DragMode, 8> kHandleModes{
    DragMode::Top,     DragMode::Bottom,      DragMode::Left,       DragMode::Right,
    DragMode::TopLeft, DragMode::BottomRight, DragMode::BottomLeft, DragMode::TopRight};

// "Move", "Select", "Top" … "TopRight"; empty for None.
QString DragModeName(DragMode mode);
bool IsHandle(DragMode mode);

// What bounds a drag, all in mils.
struct DragRules
{
    bool snap = false;
    QSize grid{100, 100};
    // The item's surface; an empty rectangle sets no bound.
    EdgeRect bounds;
    int minimum = 100;
    bool image = false;
    // The picture's size in pixels for a picture whose aspect ratio is locked; empty otherwise.
    QSize lockedPicture;
};

// The value rounded to a multiple of step: down when the rest is at most half a step (an exact half goes
// down), up otherwise; negative values round the same way (by floor).
int SnapToGrid(int value, int step);

// The rectangle, in mils, that an item at start takes when dragged in mode by delta (mils): the dragged
// edges follow the pointer and are snapped to the grid, the size stays at least the minimum, an item other
// than a picture stays on its surface, and a locked picture keeps its picture's proportions.
EdgeRect DragRect(const EdgeRect& start, DragMode mode, QPoint delta, const DragRules& rules);

// Shrinks one side of the box w × h so that it has the proportions of a picture of the given size. False
// (nothing changed) for a picture with no width or height or one more than 500 times wider than high or
// higher than wide. The results are truncated toward zero.
bool FitToPicture(QSize picture, double& w, double& h);

} // namespace tvl
