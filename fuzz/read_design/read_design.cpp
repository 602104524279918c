#include "document/files/DesignFile.h"

#include <QBuffer>
#include <cstddef>
#include <cstdint>

// A design file is untrusted input: any bytes must read or fail cleanly, with its pictures decoded or only
// their headers probed.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer headers(&bytes);
    headers.open(QIODevice::ReadOnly);
    (void)tvl::ReadDesign(headers, tvl::PictureReading::HeadersOnly);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    tvl::FileResult<tvl::DesignContent> read = tvl::ReadDesign(buffer);
    if (read) {
        // Whatever was read can be written again.
        QByteArray out;
        QBuffer sink(&out);
        sink.open(QIODevice::WriteOnly);
        const tvl::LiveDesignState live{
            read.value().design.albumHeader.currentSurface, read.value().design.albumHeader.currentPageCode,
            read.value().design.albumHeader.discMode, read.value().design.albumHeader.caseKind};
        (void)tvl::WriteDesign(sink, read.value().design, live);
    }
    return 0;
}
