#include "images/CxImage.h"
#include "images/ImageLimits.h"
#include "images/codecs/ImageCodecs.h"

#include <cstddef>
#include <cstdint>

// The header probe reads untrusted bytes on its own path: it must fail cleanly, and whenever the full decode
// of the same format succeeds, the probe must have found the same size.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool limited = [] {
        tvl::ImageLimits::setLimits(1024, 256 * 1024);
        return true;
    }();
    (void)limited;
    const QByteArrayView bytes(data, qsizetype(size));
    const auto probed = tvl::ImageCodecs::probe(bytes, tvl::CXIMAGE_FORMAT_DETECT);
    if (!probed)
        return 0;
    tvl::CxImage image;
    if (image.LoadBuffer(bytes, probed.value().type) &&
        QSize(image.Width(), image.Height()) != probed.value().size)
        __builtin_trap();
    return 0;
}
