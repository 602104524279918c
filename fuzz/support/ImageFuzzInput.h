#pragma once

#include "images/CxImage.h"
#include "images/ImageLimits.h"

#include <cstddef>
#include <cstdint>

namespace tvl::fuzz {

// Decodes one input with one format and, when that works, drives the operations callers use next.
// Small limits keep every input cheap; they do not change what the decoders check.
inline void decodeImage(const uint8_t* data, size_t size, int type)
{
    static const bool limited = [] {
        ImageLimits::setLimits(1024, 256 * 1024);
        return true;
    }();
    (void)limited;
    CxImage image;
    if (!image.LoadBuffer(data, qsizetype(size), type))
        return;
    (void)image.PixelColor(image.Width() - 1, image.Height() - 1);
    image.ResampleTo(7, 5);
    image.FlattenAlpha();
    QByteArray encoded;
    image.EncodeBuffer(encoded, CXIMAGE_FORMAT_BMP);
}

} // namespace tvl::fuzz

// The entry point of a fuzz target that decodes with one format number.
#define TOVRELLINE_IMAGE_FUZZER(type)                                                                        \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)                                  \
    {                                                                                                        \
        tvl::fuzz::decodeImage(data, size, (type));                                                          \
        return 0;                                                                                            \
    }
