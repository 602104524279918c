#pragma once

#include "base/Result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>

namespace tvl {

class CxImage;

// JPEG through libjpeg-turbo: baseline and progressive, grey, colour, CMYK and YCCK (converted to RGB).
// Pictures with an orientation tag are turned upright.
class JpegCodec
{
public:
    // With a valid `atLeast` the picture is decoded at the smallest DCT scale that still covers that box.
    // With headerSize only the size is found, as for the other codecs (see PngCodec).
    static bool decode(QByteArrayView data, QSize atLeast, CxImage& image, QString& error,
                       QSize* headerSize = nullptr);
    // A colour picture straight into the RGB32 rows the painter draws from, in large pages, with pixels equal
    // to a decode's turned into RGB32: drawing a large photograph needs no 24-bit copy. Null for grey, CMYK
    // and turned pictures, and for a file that fails to decode, which the ordinary decode then handles.
    static QImage decodeDrawable(QByteArrayView data);
    // 24-bit colour or 8-bit grey ramp images only, at the image's JPEG quality.
    static Result<QByteArray, QString> encode(const CxImage& image);
    // An RGB32 image as it was drawn, so that a large label needs no 24-bit copy before encoding.
    static Result<QByteArray, QString> encode(const QImage& image, int quality, int dpi);
};

} // namespace tvl
