#include "editing/text/TextHitTest.h"

#include "document/model/CRichChild.h"

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

} // namespace

int CharIndexAt(const std::vector<EdgeRect>& cells, const std::vector<char32_t>& characters,
                const QString& angle, QPoint point)
{
    const bool upright = angle != u"90 degrees" && angle != u"270 degrees";
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
    if (answer < 0)
        answer = nearest([&](size_t i) { return spansAcross(cells[i]); });
    if (answer < 0) {
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
