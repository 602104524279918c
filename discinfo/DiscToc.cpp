#include "discinfo/DiscToc.h"

#include <QStringList>

#include <algorithm>

namespace tvl {

namespace {
// 255:59:74 is the largest MSF address the three bytes can carry.
constexpr int maxFrameOffset = (255 * 60 + 59) * 75 + 74;
} // namespace

int DiscToc::TrackCount() const
{
    if (!IsRead() || LastTrack() < FirstTrack())
        return 0;
    return std::min(LastTrack() - FirstTrack() + 1, maxDescriptors - 1);
}

void DiscToc::SetDescriptor(int i, int trackNumber, int control, int frameOffset)
{
    const int at = Offset(i);
    bytes[at + 1] = static_cast<uint8_t>(control);
    bytes[at + 2] = static_cast<uint8_t>(trackNumber);
    bytes[at + 5] = static_cast<uint8_t>(frameOffset / 75 / 60);
    bytes[at + 6] = static_cast<uint8_t>(frameOffset / 75 % 60);
    bytes[at + 7] = static_cast<uint8_t>(frameOffset % 75);
}

std::optional<DiscToc> DiscToc::FromFrameOffsets(const std::vector<Track>& tracks, int leadOutOffset)
{
    const int n = static_cast<int>(tracks.size());
    if (n == 0 || n > 99 || leadOutOffset < 0 || leadOutOffset > maxFrameOffset)
        return std::nullopt;
    DiscToc toc;
    const int length = 2 + 8 * (n + 1);
    toc.bytes[0] = static_cast<uint8_t>(length >> 8);
    toc.bytes[1] = static_cast<uint8_t>(length & 0xFF);
    toc.bytes[2] = 1;
    toc.bytes[3] = static_cast<uint8_t>(n);
    for (int i = 0; i < n; ++i) {
        const Track& track = tracks[static_cast<size_t>(i)];
        if (track.frameOffset < 0 || track.frameOffset > maxFrameOffset)
            return std::nullopt;
        toc.SetDescriptor(i, i + 1, track.data ? dataTrackControl : 0x10, track.frameOffset);
    }
    toc.SetDescriptor(n, 0xAA, 0x10, leadOutOffset);
    return toc;
}

std::optional<DiscToc> DiscToc::FromText(const QString& text)
{
    const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    if (words.size() < 2)
        return std::nullopt;
    std::vector<Track> tracks;
    int leadOut = 0;
    for (qsizetype w = 0; w < words.size(); ++w) {
        QString word = words[w];
        const bool data = word.startsWith(u'd');
        const bool last = w == words.size() - 1;
        if (data) {
            if (last)
                return std::nullopt;
            word.remove(0, 1);
        }
        bool ok = false;
        const int value = word.toInt(&ok);
        if (!ok || value < 0)
            return std::nullopt;
        if (last)
            leadOut = value;
        else
            tracks.push_back({value, data});
    }
    return FromFrameOffsets(tracks, leadOut);
}

} // namespace tvl
