#pragma once

#include "document/model/EdgeRect.h"

#include <QPoint>
#include <QString>
#include <optional>
#include <vector>

namespace tvl {

// The character a point falls on, from the characters' line cells in the pixels the point is in (a
// point on the right half of a character means the position after it). Works the same for every angle:
// "across" a line is y for 0 and 180 degrees and x for 90 and 270 degrees.
//
// A track list in "Table Format" passes its title column: the band along the line between its number
// and time columns. A character found on the point's line then counts only when its centre falls in the
// same column as the point (before the band, inside it, or after it), and no nearest line is looked for.
struct TitleColumn
{
    int from = 0;
    int to = 0;
};

int CharIndexAt(const std::vector<EdgeRect>& cells, const std::vector<char32_t>& characters,
                const QString& angle, QPoint point, std::optional<TitleColumn> table = std::nullopt);

// The title column of a track list's cells, from the outer edges of its number and time columns; none
// when the list has no number or no time cell to mark it.
std::optional<TitleColumn> TableTitleColumn(const std::vector<EdgeRect>& cells,
                                            const std::vector<char32_t>& characters, const QString& angle);

} // namespace tvl
