// Reads design files through ReadDesign, which hands early versions (below 7, or without text rows) to
// the early reader; every input must end in a design or a failed read.
#include "document/files/DesignFile.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    tvl::ReadDesign(buffer);
    return 0;
}
