#pragma once

#include "discinfo/DiscToc.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace tvl {

// The disc database's disc id: digit sums of the track start seconds, the playing time and the count.
uint32_t ComputeDiscId(const DiscToc& toc);

// "cddb+query+<id>+<n>+<offset>...+<lead-out seconds>": the query command in the HTTP form, where the
// plus signs stand for the blanks between the protocol's words.
QString BuildQueryCommand(const DiscToc& toc);

struct TrackLengthsResult
{
    // One text per audio track: a blank, minutes, a colon, two-digit seconds and the separator 0x08.
    QStringList lengths;
    int totalSeconds = 0;
};

// The lengths of the audio tracks in disc order; data tracks are neither listed nor counted, and an
// audio track followed by a data track ends 150 seconds before it (the gap of an enhanced disc).
TrackLengthsResult TrackLengths(const DiscToc& toc);

} // namespace tvl
