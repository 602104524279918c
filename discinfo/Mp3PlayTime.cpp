#include "discinfo/Mp3PlayTime.h"

#include <QFile>

#include <algorithm>
#include <array>

namespace tvl {

namespace {

// Bitrates in kbit/s by bitrate index (1-14). MPEG-1 (ISO/IEC 11172-3) for layers I, II, III, and the
// low-sample-rate extension (ISO/IEC 13818-3) for layer I and for layers II and III.
constexpr std::array<std::array<int, 15>, 3> mpeg1Bitrates = {{
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
}};
constexpr std::array<std::array<int, 15>, 2> mpeg2Bitrates = {{
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
}};

// Sample rates by version bits (0 MPEG-2.5, 2 MPEG-2, 3 MPEG-1) and sample-rate index.
constexpr std::array<std::array<int, 3>, 4> sampleRates = {{
    {32000, 16000, 8000},
    {0, 0, 0},
    {22050, 24000, 16000},
    {44100, 48000, 32000},
}};

bool IsFrameHeader(uint32_t h)
{
    return (h & 0xFFE00000u) == 0xFFE00000u && ((h >> 19) & 3) != 1 && ((h >> 17) & 3) != 0 &&
           ((h >> 12) & 15) != 0 && ((h >> 12) & 15) != 15 && ((h >> 10) & 3) != 3 && (h & 3) != 2;
}

uint32_t BigEndian32(const uint8_t* bytes)
{
    return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | bytes[3];
}

int TableBitrate(uint32_t h)
{
    const uint32_t layerBits = (h >> 17) & 3; // 3 layer I, 2 layer II, 1 layer III
    const uint32_t index = (h >> 12) & 15;
    if (h & (1u << 19))
        return mpeg1Bitrates[3 - layerBits][index];
    return mpeg2Bitrates[layerBits == 3 ? 0 : 1][index];
}

// Frame count from a Xing header of a variable-rate file: -1 when the header has no count, nothing
// when there is no Xing header.
std::optional<qint64> XingFrames(QIODevice& device, const Mp3FrameHeader& frame)
{
    const uint32_t h = frame.header;
    const bool mpeg1 = ((h >> 19) & 3) == 3;
    const bool mono = ((h >> 6) & 3) == 3;
    const qint64 sideInfo = mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
    if (!device.seek(frame.position + 4 + sideInfo))
        return std::nullopt;
    const QByteArray xing = device.read(12);
    if (xing.size() < 12 || !xing.startsWith("Xing"))
        return std::nullopt;
    const auto* bytes = reinterpret_cast<const uint8_t*>(xing.constData());
    if ((bytes[7] & 1) == 0)
        return -1;
    return BigEndian32(bytes + 8);
}

} // namespace

std::optional<Mp3FrameHeader> FindMp3FrameHeader(std::span<const uint8_t> head)
{
    const size_t limit = std::min<size_t>(head.size(), mp3HeaderSearchLimit);
    for (size_t p = 0; p + 4 <= limit; ++p) {
        const uint32_t h = BigEndian32(head.data() + p);
        if (IsFrameHeader(h))
            return Mp3FrameHeader{static_cast<qint64>(p), h};
    }
    return std::nullopt;
}

QString Mp3PlayTime(QIODevice& device)
{
    if (!device.isOpen() || !device.seek(0))
        return {};
    const QByteArray head = device.read(mp3HeaderSearchLimit);
    const auto frame = FindMp3FrameHeader(
        std::span(reinterpret_cast<const uint8_t*>(head.constData()), static_cast<size_t>(head.size())));
    if (!frame)
        return {};
    const qint64 length = device.size();
    const uint32_t h = frame->header;
    qint64 bitrate = 0;
    if (const auto frames = XingFrames(device, *frame)) {
        if (*frames <= 0)
            return {};
        const double rate = sampleRates[(h >> 19) & 3][(h >> 10) & 3];
        // Bytes per frame over bitrate: Layer I 12, Layer II 144, Layer III 144 for MPEG-1 and 72 for
        // MPEG-2 and 2.5, whose frames hold half the samples (144 there would double the time).
        const int layer = (h >> 17) & 3;
        const bool mpeg1 = ((h >> 19) & 3) == 3;
        const double perFrame = layer == 3 ? 12 : (layer == 1 && !mpeg1 ? 72 : 144);
        const double kbits =
            rate * (static_cast<double>(length) / static_cast<double>(*frames)) / (perFrame * 1000);
        bitrate = static_cast<qint64>(std::min(kbits, 1e12));
    } else {
        bitrate = TableBitrate(h);
    }
    if (bitrate <= 0)
        return {};
    const qint64 seconds = length * 8 / 1000 / bitrate;
    if (seconds <= 0)
        return {};
    return QString::asprintf("%lld:%02lld", static_cast<long long>(seconds / 60),
                             static_cast<long long>(seconds % 60));
}

QString Mp3PlayTime(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return Mp3PlayTime(file);
}

} // namespace tvl
