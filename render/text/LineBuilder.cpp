#include "render/text/LineBuilder.h"

#include "render/text/DiscLineSegments.h"

#include <algorithm>

namespace tvl {

LineBuilder::LineBuilder(const CRichChild& item, const LayoutFrame& frame, RunMeasurer& measurer,
                         const std::vector<CharRule>& rules, const LineOptions& options)
    : m_item(item)
    , m_frame(frame)
    , m_measurer(measurer)
    , m_rules(rules)
    , m_options(options)
    , m_discAutoFit(options.autoFit && frame.onDisc)
{
}

void LineBuilder::Recompute()
{
    if (m_options.keepOut) {
        const auto [from, to] = *m_options.keepOut;
        if (m_y < to && m_y + m_lineHeight > from)
            m_y = to;
    }
    m_segments = DiscLineSegments(m_frame, m_y, m_lineHeight);
}

bool LineBuilder::Run(WorkingLayout& work)
{
    const std::vector<char32_t>& characters = m_item.characters;
    const size_t count = characters.size();
    work.Reset(count);
    m_measurer.BeginPass(m_options.defaultHeight);
    m_y = m_frame.rect.top;
    Recompute();
    m_firstLinePlaced = !m_discAutoFit;

    size_t i = 0;
    while (i < count) {
        const CharRule rule = i < m_rules.size() ? m_rules[i] : CharRule{};
        bool endLine = false;
        CharExtent extent;
        switch (rule.role) {
        case CharRole::MeasuredAsSpace:
            extent = m_measurer.MeasureSpace(i);
            break;
        case CharRole::TrackGap:
            extent = m_measurer.MeasureSpace(i);
            extent.width *= 3;
            m_lastBreak = static_cast<long>(i);
            break;
        case CharRole::LineEnd:
        case CharRole::ColumnEnd:
            endLine = true;
            m_lastBreak = static_cast<long>(i);
            [[fallthrough]];
        case CharRole::CellEnd:
            extent = m_measurer.Measure(i);
            extent.width = 0;
            break;
        case CharRole::SpaceBreak:
            m_lastBreak = static_cast<long>(i);
            [[fallthrough]];
        case CharRole::Plain:
            extent = m_measurer.Measure(i);
            break;
        }
        // A text that does not end with a terminator still ends its last line.
        if (i + 1 == count) {
            endLine = true;
            if (m_lastBreak < static_cast<long>(m_lineStart))
                m_lastBreak = static_cast<long>(i);
        }

        if (!rule.hidden) {
            work.SetCell(i, extent.width, extent.height, extent.descent);
            m_lineWidth += extent.width;
            if (extent.height > m_lineHeight) {
                m_lineHeight = extent.height;
                Recompute();
            }
        }

        const bool hasBreak = m_lastBreak >= static_cast<long>(m_lineStart);
        if (!m_firstLinePlaced) {
            if (m_lineWidth > m_frame.rect.width())
                return false;
            if (hasBreak) {
                if (!PlaceFirstDiscLine())
                    return false;
                m_firstLinePlaced = true;
            }
        }
        if (m_firstLinePlaced && !SegmentFits(m_lineWidth))
            endLine = true;
        if (!endLine) {
            ++i;
            continue;
        }

        if (!hasBreak) {
            // A word longer than the line: without AutoFit it stays whole and overflows.
            if (m_options.autoFit && !ContinueLongDiscLine())
                return false;
            ++i;
            continue;
        }
        if (!CutLine(work, static_cast<size_t>(m_lastBreak), i))
            return false;
        i = m_lineStart;
    }
    return true;
}

bool LineBuilder::PlaceFirstDiscLine()
{
    for (;;) {
        Recompute();
        if (m_lineWidth < m_segments.LeftWidth()) {
            m_useRight = false;
            return true;
        }
        if (m_segments.hasRight && m_lineWidth < m_segments.RightWidth()) {
            m_useRight = true;
            return true;
        }
        ++m_y;
        // Below the disc there is no room at all, whatever the item's height.
        const int limit = std::min(m_frame.rect.bottom, 2 * m_frame.disc.outerRadius);
        if (m_y + m_lineHeight > limit)
            return false;
    }
}

bool LineBuilder::ContinueLongDiscLine()
{
    if (!m_discAutoFit || m_lineContinued)
        return false;
    m_lineContinued = true;
    if (!m_useRight) {
        m_useRight = m_segments.hasRight && m_lineWidth < m_segments.RightWidth();
        return m_useRight;
    }
    m_y += m_lineHeight;
    Recompute();
    if (m_segments.LeftWidth() > m_lineWidth) {
        m_useRight = false;
        return true;
    }
    if (m_segments.hasRight && m_segments.RightWidth() > m_lineWidth) {
        m_useRight = true;
        return true;
    }
    return false;
}

bool LineBuilder::CutLine(WorkingLayout& work, size_t lineBreak, size_t current)
{
    ItemLayout& layout = work.layout;
    layout.lineCells[lineBreak].right = layout.lineCells[lineBreak].left;
    layout.glyphCells[lineBreak].right = layout.glyphCells[lineBreak].left;
    for (size_t k = lineBreak + 1; k <= current; ++k)
        work.ClearCell(k);
    int height = 0;
    int maxDescent = 0;
    for (size_t k = m_lineStart; k <= lineBreak; ++k) {
        height = std::max(height, layout.lineCells[k].height());
        maxDescent = std::max(maxDescent, work.descents[k]);
    }
    m_lineHeight = height;
    Recompute();
    if (m_options.autoFit && m_y + height > m_frame.rect.bottom)
        return false;
    FinishLine(m_item, work, height, m_lineStart, lineBreak, maxDescent);
    int x = m_useRight ? m_segments.right0 : m_segments.left0;
    for (size_t k = m_lineStart; k <= lineBreak; ++k) {
        if (layout.lineCells[k] == EdgeRect{})
            continue;
        const int width = layout.lineCells[k].width();
        work.Move(k, x, m_y);
        x += width;
    }

    const bool endsColumn = m_options.secondColumn && lineBreak < m_rules.size() &&
                            m_rules[lineBreak].role == CharRole::ColumnEnd;
    if (endsColumn) {
        m_frame.rect = *m_options.secondColumn;
        m_y = m_frame.rect.top;
        m_useRight = false;
        m_firstLinePlaced = !m_discAutoFit;
    } else if (m_discAutoFit && !m_useRight && m_segments.hasRight) {
        m_useRight = true;
    } else {
        m_useRight = false;
        m_y += height;
    }
    m_lineStart = lineBreak + 1;
    m_lineWidth = 0;
    m_lineHeight = 0;
    m_lineContinued = false;
    Recompute();
    return true;
}

} // namespace tvl
