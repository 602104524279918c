#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSize>
#include <QString>

namespace tvl {

class CxImage;

// Dispatches decoding and encoding to the codec of a format number.
class ImageCodecs
{
public:
    // Decodes with one format's decoder, or tries them all in the detect order for CXIMAGE_FORMAT_DETECT.
    // `atLeast` (when valid) lets a decoder return a smaller picture no smaller than that box.
    static bool decode(QByteArrayView data, int type, QSize atLeast, CxImage& image, QString& error);
    static bool encode(const CxImage& image, int type, QByteArray& out, QString& error);
};

} // namespace tvl
