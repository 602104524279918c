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
    // True when `dataBytes` of encoded data, each expanding to at most `maxRatio` decoded bytes, can fill
    // the `decodedBytes` a picture needs; otherwise the file only claims its size and `error` says so.
    // Decoders check this before allocating, so that a few bytes cannot reserve gigabytes.
    static bool checkData(qint64 decodedBytes, qint64 dataBytes, qint64 maxRatio, QString& error);
};

} // namespace tvl
