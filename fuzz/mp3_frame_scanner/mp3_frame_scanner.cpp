// Feeds arbitrary file contents to the MPEG frame scanner and the play-time reader.
#include "discinfo/Mp3PlayTime.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    tvl::FindMp3FrameHeader(std::span(data, size));
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    tvl::Mp3PlayTime(buffer);
    return 0;
}
