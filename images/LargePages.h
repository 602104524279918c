#pragma once

#include <cstddef>

namespace tvl {

// Asks for 2 MB pages under a large block that has not been touched yet: a photograph or a label drawn at
// 600 dpi is tens of megabytes, which in 2 MB pages costs a few hundred page faults instead of thousands.
void AdviseLargePages(void* data, std::size_t size);

} // namespace tvl
