#pragma once

#include <QIODevice>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>

namespace tvl {

// The first MPEG audio frame header is looked for only in a file's first bytes.
constexpr qint64 mp3HeaderSearchLimit = 100000;

struct Mp3FrameHeader
{
    qint64 position = 0;
    uint32_t header = 0; // the four header bytes, big-endian
};

// Scans head byte by byte for the first plausible MPEG audio frame header that ends within
// mp3HeaderSearchLimit bytes.
std::optional<Mp3FrameHeader> FindMp3FrameHeader(std::span<const uint8_t> head);

// The play time "m:ss" from the first frame header (and a Xing header's frame count for variable-rate
// files) and the length of the data; empty when it cannot be determined.
QString Mp3PlayTime(QIODevice& device);
QString Mp3PlayTime(const QString& path);

} // namespace tvl
