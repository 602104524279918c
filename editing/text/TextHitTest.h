#pragma once

#include "document/model/EdgeRect.h"

#include <QPoint>
#include <QString>
#include <vector>

namespace tvl {

// The character a point falls on, from the characters' line cells in the pixels the point is in (a
// point on the right half of a character means the position after it). Works the same for every angle:
// "across" a line is y for 0 and 180 degrees and x for 90 and 270 degrees.
int CharIndexAt(const std::vector<EdgeRect>& cells, const std::vector<char32_t>& characters,
                const QString& angle, QPoint point);

} // namespace tvl
