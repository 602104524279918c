#pragma once

#include <QByteArray>
#include <QByteArrayView>
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
    static bool decode(QByteArrayView data, QSize atLeast, CxImage& image, QString& error);
    // 24-bit colour or 8-bit grey ramp images only, at the image's JPEG quality.
    static bool encode(const CxImage& image, QByteArray& out, QString& error);
};

} // namespace tvl
