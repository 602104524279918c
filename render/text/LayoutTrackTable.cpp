#include "render/text/LayoutTrackTable.h"

#include "render/text/AutoFitLayout.h"
#include "render/text/RunMeasurer.h"
#include "render/text/TextLines.h"
#include "render/text/TrackCells.h"

#include <algorithm>

namespace tvl {
namespace {

// The next smaller size when placed titles overflow: about 5 % less, a multiple of 5, at least 25.
int ShrunkSize(int size)
{
    const int lower = size * 95 / 100 / 5 * 5;
    const int next = lower + 5 == size ? lower : lower + 5;
    return std::max(next, AutoFitSearch::kMinSize);
}

class TrackTable
{
public:
    TrackTable(const CRichChild& item, const LayoutFrame& frame, FontEngine& engine,
               const std::vector<TrackCells>& tracks)
        : m_item(item)
        , m_frame(frame)
        , m_measurer(item, engine)
        , m_tracks(tracks)
        , m_classes(ClassifyTrackCharacters(item, tracks))
        , m_wordWrap(item.wrapStyle() == u"Word-Wrap")
        , m_singleLine(item.wrapStyle() == u"Single-Line")
    {
    }

    // Measures every cell at a size; with checkFit false as soon as the widest cells or the rows
    // do not fit.
    bool Measure(int size, bool checkFit);
    // Places the cells measured last; with checkRoom false as soon as wrapped titles need more room
    // than the item has below the table.
    bool Place(bool checkRoom);
    ItemLayout Finish(bool autoFit);

private:
    bool IsTitleLineBreak(size_t i) const { return m_item.characters[i] == kLineBreak && !m_singleLine; }
    int CellHeight(int start, int end) const;
    void PutCell(int start, int end, int x);
    // Returns the line's height.
    int FinishRowLine(const std::vector<std::pair<int, int>>& ranges, int y);

    const CRichChild& m_item;
    const LayoutFrame& m_frame;
    RunMeasurer m_measurer;
    const std::vector<TrackCells>& m_tracks;
    const std::vector<TrackCharacter> m_classes;
    const bool m_wordWrap;
    const bool m_singleLine;

    std::vector<CharExtent> m_extents;
    int m_numberWidth = 0;
    int m_titleWidth = 0;
    int m_timeWidth = 0;
    int m_tableHeight = 0;
    WorkingLayout m_work;
};

int TrackTable::CellHeight(int start, int end) const
{
    int total = 0;
    int line = 0;
    for (int i = start; i <= end; ++i) {
        line = std::max(line, m_extents[static_cast<size_t>(i)].height);
        if (IsTitleLineBreak(static_cast<size_t>(i)) && i < end) {
            total += line;
            line = 0;
        }
    }
    return total + line;
}

bool TrackTable::Measure(int size, bool checkFit)
{
    const std::vector<char32_t>& characters = m_item.characters;
    m_measurer.BeginPass(size);
    m_extents.assign(characters.size(), {});
    // Cells are measured track by track, so a size that fails stops early.
    auto measureRange = [&](int start, int end) {
        for (int i = start; i <= end; ++i) {
            const size_t at = static_cast<size_t>(i);
            if (!m_classes[at].shown)
                continue;
            const char32_t character = characters[at];
            if (character == kLineBreak) {
                m_extents[at] = m_measurer.MeasureSpace(at);
                if (!m_singleLine && m_classes[at].column == TrackColumn::Title)
                    m_extents[at].width = 0;
            } else {
                m_extents[at] = m_measurer.Measure(at);
                if (character == kCellEnd)
                    m_extents[at].width = 0;
            }
        }
    };

    m_numberWidth = m_titleWidth = m_timeWidth = 0;
    m_tableHeight = 0;
    const int width = m_frame.rect.width();
    for (const TrackCells& track : m_tracks) {
        measureRange(track.numberStart, track.timeEnd);
        auto cellWidth = [&](int start, int end, bool restartAtSpaces) {
            int widest = 0;
            int running = 0;
            for (int i = start; i <= end; ++i) {
                const size_t at = static_cast<size_t>(i);
                if ((restartAtSpaces && characters[at] == U' ') || IsTitleLineBreak(at)) {
                    running = 0;
                    continue;
                }
                running += m_extents[at].width;
                widest = std::max(widest, running);
            }
            return widest;
        };
        m_numberWidth = std::max(m_numberWidth, cellWidth(track.numberStart, track.numberEnd, false));
        m_titleWidth = std::max(m_titleWidth, cellWidth(track.titleStart, track.titleEnd, m_wordWrap));
        m_timeWidth = std::max(m_timeWidth, cellWidth(track.timeStart, track.timeEnd, false));
        m_tableHeight += std::max({CellHeight(track.numberStart, track.numberEnd),
                                   CellHeight(track.titleStart, track.titleEnd),
                                   CellHeight(track.timeStart, track.timeEnd)});
        if (checkFit && (m_numberWidth + m_titleWidth + m_timeWidth > width ||
                         m_frame.rect.top + m_tableHeight > m_frame.rect.bottom))
            return false;
    }
    return true;
}

void TrackTable::PutCell(int start, int end, int x)
{
    for (int i = start; i <= end; ++i) {
        const size_t at = static_cast<size_t>(i);
        if (!m_classes[at].shown)
            continue;
        const CharExtent& extent = m_extents[at];
        m_work.SetCell(at, extent.width, extent.height, extent.descent);
        m_work.Move(at, x, 0);
        x += extent.width;
    }
}

int TrackTable::FinishRowLine(const std::vector<std::pair<int, int>>& ranges, int y)
{
    int height = 0;
    int maxDescent = 0;
    for (const auto& [start, end] : ranges) {
        for (int i = start; i <= end; ++i) {
            height = std::max(height, m_work.layout.lineCells[static_cast<size_t>(i)].height());
            maxDescent = std::max(maxDescent, m_work.descents[static_cast<size_t>(i)]);
        }
    }
    for (const auto& [start, end] : ranges) {
        if (start > end)
            continue;
        FinishLine(m_item, m_work, height, static_cast<size_t>(start), static_cast<size_t>(end), maxDescent);
        for (int i = start; i <= end; ++i) {
            if (!(m_work.layout.lineCells[static_cast<size_t>(i)] == EdgeRect{}))
                m_work.Move(static_cast<size_t>(i), 0, y);
        }
    }
    return height;
}

bool TrackTable::Place(bool checkRoom)
{
    const std::vector<char32_t>& characters = m_item.characters;
    const EdgeRect& rect = m_frame.rect;
    m_work.Reset(characters.size());
    int room = rect.bottom - (rect.top + m_tableHeight);
    const int titleLeft = rect.left + m_numberWidth;
    int y = rect.top;
    for (const TrackCells& track : m_tracks) {
        PutCell(track.numberStart, track.numberEnd, rect.left);
        int timeWidth = 0;
        for (int i = track.timeStart; i <= track.timeEnd; ++i)
            timeWidth += m_extents[static_cast<size_t>(i)].width;
        PutCell(track.timeStart, track.timeEnd, rect.right - timeWidth);

        // Title lines: the first shares the row's line with the number and the time.
        std::vector<std::pair<int, int>> titleLines;
        int lineStart = track.titleStart;
        int lineWidth = 0;
        for (int i = track.titleStart; i <= track.titleEnd; ++i) {
            const size_t at = static_cast<size_t>(i);
            lineWidth += m_extents[at].width;
            int lineEnd = -1;
            bool wrapped = false;
            if (IsTitleLineBreak(at) && i < track.titleEnd) {
                lineEnd = i;
            } else if (m_wordWrap && m_numberWidth + lineWidth + m_timeWidth > rect.width()) {
                // Cut at the first space of the last run of spaces, or after this character.
                lineEnd = i;
                for (int k = i; k > lineStart; --k) {
                    if (characters[static_cast<size_t>(k)] == U' ') {
                        lineEnd = k;
                        while (lineEnd > lineStart && characters[static_cast<size_t>(lineEnd - 1)] == U' ')
                            --lineEnd;
                        break;
                    }
                }
                wrapped = true;
            }
            if (lineEnd < 0)
                continue;
            titleLines.emplace_back(lineStart, lineEnd);
            lineStart = lineEnd + 1;
            lineWidth = 0;
            i = lineEnd;
            if (wrapped && characters[static_cast<size_t>(lineEnd)] == U' ')
                m_extents[static_cast<size_t>(lineEnd)].width = 0;
            if (wrapped) {
                int endedHeight = 0;
                for (int k = titleLines.back().first; k <= lineEnd; ++k)
                    endedHeight = std::max(endedHeight, m_extents[static_cast<size_t>(k)].height);
                room -= endedHeight;
                if (checkRoom && room < 0)
                    return false;
            }
        }
        if (lineStart <= track.titleEnd)
            titleLines.emplace_back(lineStart, track.titleEnd);

        for (size_t line = 0; line < titleLines.size(); ++line) {
            const auto [start, end] = titleLines[line];
            PutCell(start, end, titleLeft);
            if (line == 0)
                y += FinishRowLine(
                    {{track.numberStart, track.numberEnd}, {start, end}, {track.timeStart, track.timeEnd}},
                    y);
            else
                y += FinishRowLine({{start, end}}, y);
        }
    }
    return true;
}

ItemLayout TrackTable::Finish(bool autoFit)
{
    ItemLayout& layout = m_work.layout;
    LayoutFrame titleColumn = m_frame;
    titleColumn.rect.left = m_frame.rect.left + m_numberWidth;
    titleColumn.rect.right = m_frame.rect.right - m_timeWidth;
    for (const TrackCells& track : m_tracks) {
        AlignLines(layout, titleColumn, m_item.alignment(), autoFit, static_cast<size_t>(track.titleStart),
                   static_cast<size_t>(track.titleEnd));
    }
    if (autoFit && !m_frame.onDisc)
        CentreVertically(layout, m_frame.rect);
    layout.trackCells = m_tracks;
    return std::move(layout);
}

} // namespace

ItemLayout LayoutTrackTable(const CRichChild& item, const LayoutFrame& frame, FontEngine& engine,
                            const std::vector<TrackCells>& tracks)
{
    TrackTable table(item, frame, engine, tracks);
    if (item.bAutoFit() == 0) {
        table.Measure(FirstFont(item).height, false);
        table.Place(false);
        return table.Finish(false);
    }

    // The search measures only; the table is placed once the size is found.
    WorkingLayout unused;
    int size = AutoFitLayout(item, unused, [&](int candidate, bool fitting, WorkingLayout&) {
        return table.Measure(candidate, fitting);
    });
    table.Measure(size, false);
    while (!table.Place(true)) {
        if (size == AutoFitSearch::kMinSize) {
            table.Measure(size, false);
            table.Place(false);
            break;
        }
        size = ShrunkSize(size);
        table.Measure(size, false);
    }
    ItemLayout layout = table.Finish(true);
    layout.fittedHeight = size;
    return layout;
}

} // namespace tvl
