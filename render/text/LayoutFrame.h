#pragma once

#include "document/model/EdgeRect.h"

namespace tvl {

// The ring of a disc surface that text may use: the outer and hub radii and the margin kept from both.
struct DiscShape
{
    int outerRadius = 0;
    int hubRadius = 0;
    int margin = 0;
};

// Where one item is laid out: its rectangle in the upright frame (mils from the surface's top-left
// corner) and, on the disc sheet, the disc whose ring shapes the lines.
struct LayoutFrame
{
    EdgeRect rect;
    bool onDisc = false;
    DiscShape disc;
};

// The room for one line: a left segment and, where a disc's hub splits the line, a right one.
struct LineSegments
{
    int left0 = 0;
    int left1 = 0;
    bool hasRight = false;
    int right0 = 0;
    int right1 = 0;

    int LeftWidth() const { return left1 - left0; }
    int RightWidth() const { return right1 - right0; }
};

} // namespace tvl
