// Feeds arbitrary bytes as a file name: decoding them to text and encoding that again gives the same bytes.
#include "storage/LocalFileName.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (tvl::FileNameBytes(tvl::FileNameFromBytes(bytes)) != bytes)
        std::abort();
    return 0;
}
