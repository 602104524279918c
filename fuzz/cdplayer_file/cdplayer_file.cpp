// Feeds arbitrary CD player database files to the reader; the first 804 bytes become the table of
// contents so that every section key can be reached.
#include "discinfo/CdPlayerFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    tvl::DiscToc toc;
    const size_t tocBytes = std::min(size, toc.bytes.size());
    std::copy_n(data, tocBytes, toc.bytes.begin());
    tvl::ReadCdPlayerText(toc, QByteArray(reinterpret_cast<const char*>(data + tocBytes),
                                          static_cast<qsizetype>(size - tocBytes)));
    return 0;
}
