#include "document/model/TrackIndex.h"

namespace tvl {

std::vector<TrackCells> IndexTracks(const std::vector<char32_t>& characters)
{
    std::vector<TrackCells> tracks;
    int ends[3] = {};
    int cell = 0;
    int start = 0;
    int starts[3] = {};
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

TrackVisibility TrackVisibility::Of(const CRichChild& item)
{
    const QString& mode = item.trackNumbers();
    return {mode == u"Track Numbers && Times" || mode == u"Track Numbers",
            mode == u"Track Numbers && Times" || mode == u"Track Times"};
}

} // namespace tvl
