#pragma once

#include <QImage>
#include <cstddef>

namespace tvl {

// Asks for 2 MB pages under a large block that has not been touched yet: a photograph or a label drawn at
// 600 dpi is tens of megabytes, which in 2 MB pages costs a few hundred page faults instead of thousands.
void AdviseLargePages(void* data, std::size_t size);

// A new image whose pixels lie wholly in 2 MB pages when it is large: a block from the allocator starts and
// ends off the 2 MB boundaries, and the parts outside them cost thousands of small page faults more. Small
// images are ordinary ones. Null when the memory cannot be had.
QImage LargePageImage(QSize size, QImage::Format format);

} // namespace tvl
