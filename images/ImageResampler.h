#pragma once

#include <QtGlobal>

namespace tvl {

// Resamples interleaved 8-bit channels. Target pixel x samples the source at (x + 0.5) × sx − 0.5 with
// sx = source width / target width (likewise y): where the image shrinks along an axis each target pixel is
// the average of the source span it covers, where it grows the source is interpolated linearly.
class ImageResampler
{
public:
    static void resample(const uchar* source, int sourceWidth, int sourceHeight, qsizetype sourceStride,
                         uchar* target, int targetWidth, int targetHeight, qsizetype targetStride,
                         int channels);
};

} // namespace tvl
