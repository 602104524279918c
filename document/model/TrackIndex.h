#pragma once

#include "document/model/CRichChild.h"

#include <vector>

namespace tvl {

// Character indexes of one complete track: each end is the index of its cell's terminator.
struct TrackCells
{
    int numberStart = 0;
    int numberEnd = 0;
    int titleStart = 0;
    int titleEnd = 0;
    int timeStart = 0;
    int timeEnd = 0;

    bool operator==(const TrackCells&) const = default;
};

// The character ranges of every complete track (three cells: number, title, time); a trailing
// incomplete track has none.
std::vector<TrackCells> IndexTracks(const std::vector<char32_t>& characters);
inline std::vector<TrackCells> IndexTracks(const CRichChild& item)
{
    return IndexTracks(item.characters);
}

// Which cells of its tracks a track list shows (by its trackNumbers mode); titles always show.
struct TrackVisibility
{
    bool numbers = true;
    bool times = true;

    static TrackVisibility Of(const CRichChild& item);
};

} // namespace tvl
