#include "discinfo/DiscId.h"

namespace tvl {

namespace {

uint32_t DigitSum(uint32_t value)
{
    uint32_t sum = 0;
    for (; value > 0; value /= 10)
        sum += value % 10;
    return sum;
}

// On an enhanced disc the audio session's lead-out and the data session's lead-in lie between the last
// audio track and the data track; they are not music.
constexpr int sessionGapSeconds = 150;

} // namespace

uint32_t ComputeDiscId(const DiscToc& toc)
{
    const int n = toc.TrackCount();
    if (n == 0)
        return 0;
    uint32_t sum = 0;
    for (int i = 0; i < n; ++i)
        sum += DigitSum(static_cast<uint32_t>(toc.Seconds(i)));
    const uint32_t t = static_cast<uint32_t>(toc.Seconds(n)) - static_cast<uint32_t>(toc.Seconds(0));
    return ((sum % 255) << 24) | (t << 8) | static_cast<uint32_t>(n);
}

QString BuildQueryCommand(const DiscToc& toc)
{
    const int n = toc.TrackCount();
    if (n == 0)
        return {};
    QString command = QString::asprintf("cddb+query+%08x+%d", ComputeDiscId(toc), n);
    for (int i = 0; i < n; ++i)
        command += QString::asprintf("+%d", toc.Frames(i));
    command += QString::asprintf("+%d", toc.Seconds(n));
    return command;
}

TrackLengthsResult TrackLengths(const DiscToc& toc)
{
    TrackLengthsResult result;
    const int n = toc.TrackCount();
    for (int i = 0; i < n; ++i) {
        if (toc.IsDataTrack(i))
            continue;
        const int start = toc.Seconds(i);
        int end = toc.Seconds(i + 1);
        if (toc.IsDataTrack(i + 1))
            end -= sessionGapSeconds;
        result.totalSeconds += end - start;
        const int d = end - start;
        int m = d / 60;
        int s = d % 60;
        if (toc.Frame(i + 1) < toc.Frame(i)) {
            if (s == 0) {
                m -= 1;
                s = 59;
            } else {
                s -= 1;
            }
        }
        result.lengths.append(QString::asprintf(s >= 10 ? " %d:%d\b" : " %d:0%d\b", m, s));
    }
    return result;
}

} // namespace tvl
