#pragma once

#include "document/model/EdgeRect.h"
#include "document/model/TrackIndex.h"

#include <vector>

namespace tvl {

// The laid-out text of one "Text" or "Track" item, one entry per character, in mils relative to the
// top-left corner of the item's surface. Drawing, hit-testing, the caret and printing all read it.
struct ItemLayout
{
    // The character's cell on its line: its own x range, the full height of the line.
    std::vector<EdgeRect> lineCells;
    // The drawing box: the same x range, bottom on the character's text bottom (baseline plus its own
    // descent), top at the line's underline position.
    std::vector<EdgeRect> glyphCells;
    // The largest descent of the line of every underlined character (the underline pen is derived from
    // it); 0 for characters that are not underlined.
    std::vector<int> underlines;
    // Track lists only.
    std::vector<TrackCells> trackCells;
    // With bAutoFit, the size AutoFit chose (tenths of a point): every run is drawn at it. 0 otherwise.
    int fittedHeight = 0;
};

} // namespace tvl
