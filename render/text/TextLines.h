#pragma once

#include "document/model/CRichChild.h"
#include "render/text/ItemLayout.h"
#include "render/text/LayoutFrame.h"

#include <QStringView>
#include <vector>

namespace tvl {

// Cells being laid out: the layout arrays plus the descent of every character's font.
struct WorkingLayout
{
    ItemLayout layout;
    std::vector<int> descents;

    // Every character gets an empty cell.
    void Reset(size_t count);
    void SetCell(size_t index, int width, int height, int descent);
    void ClearCell(size_t index);
    void Move(size_t index, int dx, int dy);
};

// Places the cells of characters first … last (inclusive) on one line of height lineHeight: all
// baselines at lineHeight − maxDescent, the glyph tops at the underline position, and every underlined
// character carries maxDescent for its pen.
void FinishLine(const CRichChild& item, WorkingLayout& work, int lineHeight, size_t first, size_t last,
                int maxDescent);

// Moves the characters first … last horizontally within their line segments by `alignment` ("Left",
// "Right", otherwise centred). Characters on one line and segment form one group.
void AlignLines(ItemLayout& layout, const LayoutFrame& frame, QStringView alignment, bool autoFit,
                size_t first, size_t last);

// Moves every cell down so that the space below the last line is shared equally above and below.
void CentreVertically(ItemLayout& layout, const EdgeRect& rect);

// The bottom of the lowest line, or the rect's top when nothing was placed.
int LayoutBottom(const ItemLayout& layout, int fallback);

} // namespace tvl
