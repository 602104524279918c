#include "render/text/TrackCells.h"

namespace tvl {

std::vector<TrackCells> IndexTracks(const CRichChild& item)
{
    std::vector<TrackCells> tracks;
    int ends[3] = {};
    int cell = 0;
    int start = 0;
    int starts[3] = {};
    const std::vector<char32_t>& characters = item.characters;
    for (size_t i = 0; i < characters.size(); ++i) {
        if (characters[i] != kCellEnd)
            continue;
        starts[cell] = start;
        ends[cell] = static_cast<int>(i);
        start = static_cast<int>(i) + 1;
        if (++cell == 3) {
            tracks.push_back({starts[0], ends[0], starts[1], ends[1], starts[2], ends[2]});
            cell = 0;
        }
    }
    return tracks;
}

std::vector<TrackCharacter> ClassifyTrackCharacters(const CRichChild& item,
                                                    const std::vector<TrackCells>& tracks)
{
    const QString& mode = item.trackNumbers();
    const bool numbersShown = mode == u"Track Numbers && Times" || mode == u"Track Numbers";
    const bool timesShown = mode == u"Track Numbers && Times" || mode == u"Track Times";
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
