#pragma once

#include <QByteArrayView>

namespace tvl {

class CxImage;

// The orientation tag (1-8) of an Exif block, and turning a picture upright by it.
class ExifOrientation
{
public:
    // `exif` is an APP1 payload starting with "Exif\0\0"; 1 (upright) when there is no usable tag.
    static int read(QByteArrayView exif);
    // Mirrors and rotates the pixels (and alpha) so that the picture shows as the camera meant it.
    static bool apply(CxImage& image, int orientation);
    // True for the orientations that swap width and height.
    static bool swapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }
};

} // namespace tvl
