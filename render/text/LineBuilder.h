#pragma once

#include "document/model/CRichChild.h"
#include "render/text/FontEngine.h"
#include "render/text/LayoutFrame.h"
#include "render/text/RunMeasurer.h"
#include "render/text/TextLines.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace tvl {

// What one character does to the line it is on.
enum class CharRole : std::uint8_t
{
    Plain,
    MeasuredAsSpace, // a line break of single-line text
    SpaceBreak,      // the first space of a run where words wrap: the line may be cut there
    CellEnd,         // a terminator inside a track: no width, no break
    LineEnd,         // no width, ends the line
    TrackGap,        // the end of a track that tracks follow on the line: three spaces wide, a break
    ColumnEnd,       // ends the line and the first of two columns
};

struct CharRule
{
    CharRole role = CharRole::Plain;
    bool hidden = false; // takes no room and keeps an empty cell, but still breaks as its role says
};

// Options of one pass of line building.
struct LineOptions
{
    bool autoFit = false;
    // The height of characters before the first font run.
    int defaultHeight = 400;
    // Two columns: the rect of the second one, started after the ColumnEnd character.
    std::optional<EdgeRect> secondColumn;
    // On a disc, the band around the hub no line may overlap (y from, y to), or none.
    std::optional<std::pair<int, int>> keepOut;
};

// Builds the lines of one pass: each character measured alone in its run's font, lines filled up to
// their segment and cut at the last break, placed from the frame's top (on a disc within the ring).
class LineBuilder
{
public:
    LineBuilder(const CRichChild& item, const LayoutFrame& frame, RunMeasurer& measurer,
                const std::vector<CharRule>& rules, const LineOptions& options);

    // False when AutoFit finds that the text does not fit.
    bool Run(WorkingLayout& work);

private:
    bool SegmentFits(int width) const
    {
        return width <= (m_useRight ? m_segments.RightWidth() : m_segments.LeftWidth());
    }
    void Recompute();
    bool PlaceFirstDiscLine();
    bool ContinueLongDiscLine();
    bool CutLine(WorkingLayout& work, size_t lineBreak, size_t current);

    const CRichChild& m_item;
    LayoutFrame m_frame;
    RunMeasurer& m_measurer;
    const std::vector<CharRule>& m_rules;
    const LineOptions& m_options;
    const bool m_discAutoFit;

    int m_y = 0;
    size_t m_lineStart = 0;
    long m_lastBreak = -1;
    bool m_useRight = false;
    int m_lineWidth = 0;
    int m_lineHeight = 0;
    LineSegments m_segments;
    bool m_firstLinePlaced = false;
    bool m_lineContinued = false;
};

} // namespace tvl
