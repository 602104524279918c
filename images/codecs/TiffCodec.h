#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSize>
#include <QString>

namespace tvl {

class CxImage;

// TIFF through libtiff: the first page, in every compression and colour layout libtiff reads; grey pages
// stay 8-bit grey. Encoding writes RGB(A), grey or palette pages in deflate-compressed strips (8-bit
// samples with the horizontal predictor), the strips compressed on every core.
class TiffCodec
{
public:
    // With headerSize the decoder stops once every check made before allocating has passed: it stores the
    // picture's size there and leaves the image untouched.
    static bool decode(QByteArrayView data, CxImage& image, QString& error, QSize* headerSize = nullptr);
    static bool encode(const CxImage& image, QByteArray& out, QString& error);
};

} // namespace tvl
