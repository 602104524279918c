#include "discinfo/DiscToc.h"

#include <QStringList>

#include <algorithm>

namespace tvl {

namespace {
// 255:59:74 is the largest MSF address the three bytes can carry.
constexpr int maxFrameOffset = (255 * 60 + 59) * 75 + 74;
// Addresses are absolute: the first track cannot start before the end of the lead-in.
constexpr int leadInFrames = 150;
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

Result<DiscToc, QString> DiscToc::FromText(const QString& text)
{
    const auto refuse = [](const char* why) -> Result<DiscToc, QString> { return QString::fromLatin1(why); };
    const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    if (words.size() < 2)
        return refuse("the table of contents needs at least one track offset and the lead-out's offset");
    if (words.size() > 100)
        return refuse("a disc holds at most 99 tracks");
    std::vector<Track> tracks;
    int leadOut = 0;
    int previous = -1;
    for (qsizetype w = 0; w < words.size(); ++w) {
        QStringView word = words[w];
        const bool data = word.startsWith(u'd');
        const bool last = w == words.size() - 1;
        if (data) {
            if (last)
                return refuse("the lead-out cannot be a data track");
            word = word.mid(1);
        }
        // Digits only: no sign, no blanks, at most what an MSF address holds.
        if (word.isEmpty() || word.size() > 7 ||
            !std::all_of(word.begin(), word.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
            return refuse("every offset must be a number of frames");
        const int value = word.toInt();
        if (value > maxFrameOffset)
            return refuse("an offset is beyond the largest address of a disc");
        if (value < leadInFrames)
            return refuse("every offset must be at least 150 (the two-second lead-in)");
        if (value <= previous)
            return refuse(last ? "the lead-out must come after the last track"
                               : "the track offsets must increase strictly");
        previous = value;
        if (last)
            leadOut = value;
        else
            tracks.push_back({value, data});
    }
    auto toc = FromFrameOffsets(tracks, leadOut);
    if (!toc)
        return refuse("an offset is beyond the largest address of a disc");
    return *toc;
}

} // namespace tvl
