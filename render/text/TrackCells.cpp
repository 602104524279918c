#include "render/text/TrackCells.h"

namespace tvl {

std::vector<TrackCharacter> ClassifyTrackCharacters(const CRichChild& item,
                                                    const std::vector<TrackCells>& tracks)
{
    const TrackVisibility shown = TrackVisibility::Of(item);
    const bool numbersShown = shown.numbers;
    const bool timesShown = shown.times;
    std::vector<TrackCharacter> result(item.characters.size());
    for (size_t t = 0; t < tracks.size(); ++t) {
        const TrackCells& track = tracks[t];
        const int track32 = static_cast<int>(t);
        for (int i = track.numberStart; i <= track.numberEnd; ++i)
            result[static_cast<size_t>(i)] = {TrackColumn::Number, track32, numbersShown};
        for (int i = track.titleStart; i <= track.titleEnd; ++i)
            result[static_cast<size_t>(i)] = {TrackColumn::Title, track32, true};
        for (int i = track.timeStart; i <= track.timeEnd; ++i)
            result[static_cast<size_t>(i)] = {TrackColumn::Time, track32, timesShown};
    }
    return result;
}

} // namespace tvl
