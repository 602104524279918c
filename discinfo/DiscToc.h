#pragma once

#include "base/Result.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace tvl {

// A disc's table of contents exactly as a drive returns it for READ TOC/PMA/ATIP format 0 with MSF
// addresses: a 4-byte header (length, first track, last track) and 8-byte track descriptors, the
// lead-out after the last track. Addresses are absolute (they include the 150-frame lead-in).
struct DiscToc
{
    static constexpr int byteCount = 804;
    static constexpr int maxDescriptors = 100;
    static constexpr uint8_t dataTrackControl = 0x14;

    std::array<uint8_t, byteCount> bytes{};

    int FirstTrack() const { return bytes[2]; }
    int LastTrack() const { return bytes[3]; }
    // False when first or last track is 0: no table of contents was read.
    bool IsRead() const { return FirstTrack() != 0 && LastTrack() != 0; }
    // Number of tracks n = last - first + 1, clamped so that descriptor n (the lead-out) stays inside
    // the buffer; 0 when nothing was read or the header is inconsistent.
    int TrackCount() const;

    int Control(int i) const { return bytes[Offset(i) + 1]; }
    bool IsDataTrack(int i) const { return Control(i) == dataTrackControl; }
    int Minute(int i) const { return bytes[Offset(i) + 5]; }
    int Second(int i) const { return bytes[Offset(i) + 6]; }
    int Frame(int i) const { return bytes[Offset(i) + 7]; }
    // minute * 60 + second, the frames ignored.
    int Seconds(int i) const { return Minute(i) * 60 + Second(i); }
    // (minute * 60 + second) * 75 + frame.
    int Frames(int i) const { return Seconds(i) * 75 + Frame(i); }

    // Zeroes the header so that a failed read leaves "nothing read" behind.
    void ClearHeader() { bytes[0] = bytes[1] = bytes[2] = bytes[3] = 0; }

    struct Track
    {
        int frameOffset = 0;
        bool data = false;
    };
    // Builds a table of contents of tracks 1..n from absolute frame offsets (lead-in included) and the
    // lead-out's frame offset. Nothing when there are no tracks, more than 99, or an offset is negative
    // or beyond what an MSF address holds.
    static std::optional<DiscToc> FromFrameOffsets(const std::vector<Track>& tracks, int leadOutOffset);

    // Parses "OFFSET ... LEADOUT" (blank-separated frame offsets, a data track's offset with a leading
    // "d"), the form the command line takes. Nothing on malformed text or an impossible disc: 1 to 99
    // tracks, every offset at least 150, strictly increasing, the lead-out after the last track; the error
    // is the reason.
    static Result<DiscToc, QString> FromText(const QString& text);

private:
    static int Offset(int i) { return 4 + 8 * i; }
    void SetDescriptor(int i, int trackNumber, int control, int frameOffset);
};

} // namespace tvl
