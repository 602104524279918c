#pragma once

#include "document/model/CRichChild.h"
#include "document/model/TrackIndex.h"
#include "render/text/ItemLayout.h"

#include <vector>

namespace tvl {

// Which cell of its track each character is in.
enum class TrackColumn : std::uint8_t
{
    None, // outside any complete track
    Number,
    Title,
    Time,
};

struct TrackCharacter
{
    TrackColumn column = TrackColumn::None;
    int track = -1;
    bool shown = true;
};

// The cell, track and visibility (by trackNumbers) of every character.
std::vector<TrackCharacter> ClassifyTrackCharacters(const CRichChild& item,
                                                    const std::vector<TrackCells>& tracks);

} // namespace tvl
