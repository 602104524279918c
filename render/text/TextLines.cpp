#include "render/text/TextLines.h"

#include "render/text/DiscLineSegments.h"

#include <algorithm>

namespace tvl {
namespace {

bool IsNull(const EdgeRect& cell)
{
    return cell == EdgeRect{};
}

} // namespace

void WorkingLayout::Reset(size_t count)
{
    layout.lineCells.assign(count, {});
    layout.glyphCells.assign(count, {});
    layout.underlines.assign(count, 0);
    descents.assign(count, 0);
}

void WorkingLayout::SetCell(size_t index, int width, int height, int descent)
{
    layout.lineCells[index] = {0, 0, width, height};
    layout.glyphCells[index] = {0, descent, width, height};
    descents[index] = descent;
}

void WorkingLayout::ClearCell(size_t index)
{
    layout.lineCells[index] = {};
    layout.glyphCells[index] = {};
    layout.underlines[index] = 0;
    descents[index] = 0;
}

void WorkingLayout::Move(size_t index, int dx, int dy)
{
    layout.lineCells[index].translate(dx, dy);
    layout.glyphCells[index].translate(dx, dy);
}

void FinishLine(const CRichChild& item, WorkingLayout& work, int lineHeight, size_t first, size_t last,
                int maxDescent)
{
    ItemLayout& layout = work.layout;
    for (size_t i = first; i <= last && i < layout.lineCells.size(); ++i) {
        if (layout.lineCells[i].isEmpty())
            continue;
        layout.glyphCells[i].bottom = lineHeight - maxDescent + work.descents[i];
        layout.glyphCells[i].top = lineHeight - maxDescent / 2 - 1;
        layout.lineCells[i].bottom = lineHeight;
        const bool underlined = i < item.underlines.size() && item.underlines[i] != 0;
        layout.underlines[i] = underlined ? maxDescent : 0;
    }
}

void AlignLines(ItemLayout& layout, const LayoutFrame& frame, QStringView alignment, bool autoFit,
                size_t first, size_t last)
{
    std::vector<EdgeRect>& cells = layout.lineCells;
    last = std::min(last, cells.size() - 1);
    size_t i = first;
    while (!cells.empty() && i <= last) {
        if (cells[i].isEmpty()) {
            ++i;
            continue;
        }
        const int top = cells[i].top;
        const LineSegments segments = DiscLineSegments(frame, top, cells[i].height());
        int start = segments.left0;
        int end = segments.left1;
        const bool inRight = segments.hasRight && cells[i].left >= segments.right0;
        if (inRight) {
            start = segments.right0;
            end = segments.right1;
        }
        const int groupLeft = cells[i].left;
        int groupRight = cells[i].right;
        size_t groupEnd = i;
        for (size_t next = i + 1; next <= last; ++next) {
            if (IsNull(cells[next]))
                continue;
            // AutoFit fills a line left of a disc's hub and then right of it at the same height: the two
            // parts are aligned in their own segments. A line that simply overflows stays one group.
            const bool crossesHub =
                autoFit && !inRight && segments.hasRight && cells[next].left >= segments.right0;
            if (cells[next].top != top || crossesHub)
                break;
            groupEnd = next;
            groupRight = std::max(groupRight, cells[next].right);
        }
        int dx = 0;
        if (alignment == u"Left")
            dx = start - groupLeft;
        else if (alignment == u"Right")
            dx = end - groupRight;
        else
            dx = start + ((end - start) - (groupRight - groupLeft)) / 2 - groupLeft;
        for (size_t k = i; k <= groupEnd; ++k) {
            if (IsNull(cells[k]))
                continue;
            cells[k].translate(dx, 0);
            layout.glyphCells[k].translate(dx, 0);
        }
        i = groupEnd + 1;
    }
}

int LayoutBottom(const ItemLayout& layout, int fallback)
{
    int bottom = fallback;
    bool any = false;
    for (const EdgeRect& cell : layout.lineCells) {
        if (IsNull(cell))
            continue;
        bottom = any ? std::max(bottom, cell.bottom) : cell.bottom;
        any = true;
    }
    return bottom;
}

void CentreVertically(ItemLayout& layout, const EdgeRect& rect)
{
    const int dy = (rect.bottom - LayoutBottom(layout, rect.bottom)) / 2;
    for (size_t i = 0; i < layout.lineCells.size(); ++i) {
        if (IsNull(layout.lineCells[i]))
            continue;
        layout.lineCells[i].translate(0, dy);
        layout.glyphCells[i].translate(0, dy);
    }
}

} // namespace tvl
