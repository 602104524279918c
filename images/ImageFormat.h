#pragma once

#include <QString>

namespace tvl {

// Image format numbers; design files store them as text, so the values never change.
enum ImageFormat : int
{
    CXIMAGE_FORMAT_UNKNOWN = -1,
    CXIMAGE_FORMAT_BMP = 0,
    CXIMAGE_FORMAT_JPG = 1,
    CXIMAGE_FORMAT_PNG = 2,
    CXIMAGE_FORMAT_ICO = 3,
    CXIMAGE_FORMAT_PCX = 4,
    CXIMAGE_FORMAT_WMF = 5,
    CXIMAGE_FORMAT_GIF = 6,
    CXIMAGE_FORMAT_TIF = 7,
    CXIMAGE_FORMAT_DETECT = 8,
};

// Format number for a file name's extension (case and surrounding blanks ignored); -1 when unknown.
int ImageTypeFromExtension(const QString& fileName);

} // namespace tvl
