#include "editing/text/TextHitTest.h"

#include "document/model/CRichChild.h"
#include "document/model/TrackIndex.h"

#include <cmath>

namespace tvl {
namespace {

constexpr int kBound = 2000;

QPoint Centre(const EdgeRect& cell)
{
    return {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
}

int Distance(QPoint a, QPoint b)
{
    const double dx = a.x() - b.x();
    const double dy = a.y() - b.y();
    return static_cast<int>(std::sqrt(dx * dx + dy * dy));
}

bool Upright(const QString& angle)
{
    return angle != u"90 degrees" && angle != u"270 degrees";
}

// 0 before the title column, 1 inside it (edges included), 2 after it.
int ColumnOf(int along, const TitleColumn& title)
{
    return along < title.from ? 0 : along <= title.to ? 1 : 2;
}

} // namespace

std::optional<TitleColumn> TableTitleColumn(const std::vector<EdgeRect>& cells,
                                            const std::vector<char32_t>& characters, const QString& angle)
{
    const bool upright = Upright(angle);
    const auto low = [&](const EdgeRect& c) { return upright ? c.left : c.top; };
    const auto high = [&](const EdgeRect& c) { return upright ? c.right : c.bottom; };
    // The along-the-line extent of each kind of cell, over every track.
    std::optional<std::pair<int, int>> numbers;
    std::optional<std::pair<int, int>> times;
    const auto widen = [](std::optional<std::pair<int, int>>& extent, int from, int to) {
        extent = extent ? std::pair(std::min(extent->first, from), std::max(extent->second, to))
                        : std::pair(from, to);
    };
    const size_t count = std::min(cells.size(), characters.size());
    const auto span = [&](std::optional<std::pair<int, int>>& extent, int start, int end) {
        for (int i = start; i < end && static_cast<size_t>(i) < count; ++i) {
            const EdgeRect& c = cells[static_cast<size_t>(i)];
            // Hidden cells have no extent.
            if (high(c) > low(c))
                widen(extent, low(c), high(c));
        }
    };
    for (const TrackCells& track : IndexTracks(characters)) {
        span(numbers, track.numberStart, track.numberEnd);
        span(times, track.timeStart, track.timeEnd);
    }
    if (!numbers || !times)
        return std::nullopt;
    // Turned text puts the number column after the time column along the window's axis.
    if (numbers->second <= times->first)
        return TitleColumn{numbers->second, times->first};
    return TitleColumn{times->second, numbers->first};
}

int CharIndexAt(const std::vector<EdgeRect>& cells, const std::vector<char32_t>& characters,
                const QString& angle, QPoint point, std::optional<TitleColumn> table)
{
    const bool upright = Upright(angle);
    const size_t count = std::min(cells.size(), characters.size());
    const auto usable = [&](size_t i) {
        return upright ? cells[i].bottom > cells[i].top : cells[i].right > cells[i].left;
    };
    const auto across = [&](QPoint p) { return upright ? p.y() : p.x(); };
    const auto spansAcross = [&](const EdgeRect& c) {
        return upright ? point.y() >= c.top && point.y() <= c.bottom
                       : point.x() >= c.left && point.x() <= c.right;
    };
    // The nearest of the cells that pass, a later cell winning a tie.
    const auto nearest = [&](const auto& passes) {
        int best = kBound;
        int found = -1;
        for (size_t i = 0; i < count; ++i) {
            if (!usable(i) || !passes(i))
                continue;
            const int distance = Distance(Centre(cells[i]), point);
            if (distance <= best) {
                best = distance;
                found = static_cast<int>(i);
            }
        }
        return found;
    };

    int answer = -1;
    for (size_t i = 0; i < count && answer < 0; ++i) {
        const EdgeRect& c = cells[i];
        if (usable(i) && point.x() >= c.left && point.x() <= c.right && point.y() >= c.top &&
            point.y() <= c.bottom)
            answer = static_cast<int>(i);
    }
    const auto along = [&](QPoint p) { return upright ? p.x() : p.y(); };
    const auto sameColumn = [&](size_t i) {
        return !table || ColumnOf(along(Centre(cells[i])), *table) == ColumnOf(along(point), *table);
    };
    if (answer < 0)
        answer = nearest([&](size_t i) { return spansAcross(cells[i]) && sameColumn(i); });
    if (answer < 0 && !table) {
        int best = kBound;
        int line = 0;
        bool found = false;
        for (size_t i = 0; i < count; ++i) {
            if (!usable(i))
                continue;
            const int distance = std::abs(across(Centre(cells[i])) - across(point));
            if (distance <= best) {
                best = distance;
                line = across(Centre(cells[i]));
                found = true;
            }
        }
        if (found)
            answer = nearest([&](size_t i) { return across(Centre(cells[i])) == line; });
    }
    if (answer < 0)
        answer = nearest([&](size_t i) { return characters[i] != kCellEnd; });
    if (answer < 0)
        return 0;

    const auto i = static_cast<size_t>(answer);
    if (i + 1 < count && characters[i] != kCellEnd) {
        const EdgeRect& c = cells[i];
        const EdgeRect& next = cells[i + 1];
        const QPoint centre = Centre(c);
        bool sameLine = false;
        bool beyond = false;
        if (angle == u"180 degrees") {
            sameLine = next.bottom == c.bottom;
            beyond = point.x() < centre.x();
        } else if (angle == u"90 degrees") {
            sameLine = next.left == c.left;
            beyond = point.y() < centre.y();
        } else if (angle == u"270 degrees") {
            sameLine = next.right == c.right;
            beyond = point.y() > centre.y();
        } else {
            sameLine = next.top == c.top;
            beyond = point.x() > centre.x();
        }
        if (sameLine && beyond)
            return answer + 1;
    }
    return answer;
}

} // namespace tvl
