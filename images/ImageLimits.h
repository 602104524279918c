#pragma once

#include <QString>

namespace tvl {

// The largest picture any decoder or Create accepts. Decoders check a picture's declared size against these
// before allocating anything. Fuzz targets lower them so that each input stays cheap.
class ImageLimits
{
public:
    static int maxSide();
    static qint64 maxPixels();
    static void setLimits(int maxSide, qint64 maxPixels);
    // True when width × height fits; otherwise `error` says why.
    static bool check(qint64 width, qint64 height, QString& error);
};

} // namespace tvl
