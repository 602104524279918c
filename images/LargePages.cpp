#include "images/LargePages.h"

#include <cstdint>
#include <sys/mman.h>

namespace tvl {

void AdviseLargePages(void* data, std::size_t size)
{
    constexpr std::uintptr_t largePage = 2 * 1024 * 1024;
    if (size < 4 * largePage)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + largePage - 1) & ~(largePage - 1);
    const std::uintptr_t end = (start + size) & ~(largePage - 1);
    if (end > first)
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

} // namespace tvl
