#include "images/LargePages.h"

#include <cstdint>
#include <limits>
#include <sys/mman.h>

namespace tvl {
namespace {

constexpr std::uintptr_t largePage = 2 * 1024 * 1024;

struct Mapping
{
    void* start;
    std::size_t length;
};

void Unmap(void* info)
{
    auto* mapping = static_cast<Mapping*>(info);
    munmap(mapping->start, mapping->length);
    delete mapping;
}

} // namespace

void AdviseLargePages(void* data, std::size_t size)
{
    if (size < 2 * largePage)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + largePage - 1) & ~(largePage - 1);
    const std::uintptr_t end = (start + size) & ~(largePage - 1);
    if (end > first)
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

QImage LargePageImage(QSize size, QImage::Format format)
{
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    if (size.isEmpty() || depth <= 0)
        return QImage(size, format);
    // Rows padded to 32 bits, as QImage lays out its own.
    const qint64 bytesPerLine = (qint64(size.width()) * depth + 31) / 32 * 4;
    const qint64 bytes = bytesPerLine * size.height();
    if (bytes < qint64(2 * largePage) || bytesPerLine > std::numeric_limits<qsizetype>::max() / 2)
        return QImage(size, format);
    // Mapped a large page longer than needed, then trimmed so that the pixels start on a boundary.
    const std::size_t length = (std::size_t(bytes) + largePage - 1) & ~(largePage - 1);
    void* mapped =
        mmap(nullptr, length + largePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return {};
    const auto raw = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (raw + largePage - 1) & ~(largePage - 1);
    if (aligned > raw)
        munmap(mapped, aligned - raw);
    if (const std::uintptr_t tail = raw + length + largePage - (aligned + length))
        munmap(reinterpret_cast<void*>(aligned + length), tail);
    void* pixels = reinterpret_cast<void*>(aligned);
    madvise(pixels, length, MADV_HUGEPAGE);
    auto* mapping = new Mapping{pixels, length};
    QImage image(static_cast<uchar*>(pixels), size.width(), size.height(), qsizetype(bytesPerLine), format,
                 Unmap, mapping);
    if (image.isNull())
        Unmap(mapping);
    return image;
}

} // namespace tvl
