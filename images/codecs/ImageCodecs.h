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
    // The format and pixel size a decode would give, read from the file's headers after the checks every
    // decoder makes before allocating; no pixels are decoded. A file damaged past its headers may still
    // probe as valid. For CXIMAGE_FORMAT_DETECT, `type` becomes the format found.
    static bool probe(QByteArrayView data, int& type, QSize& size, QString& error);
    static bool encode(const CxImage& image, int type, QByteArray& out, QString& error);
};

} // namespace tvl
