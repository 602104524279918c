#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSize>
#include <QString>

namespace tvl {

class CxImage;

// GIF through giflib: the first frame on its logical screen, with its transparent index. Encoding reduces
// 24-bit images to 256 colours (alpha below one half becomes the transparent index).
class GifCodec
{
public:
    // With headerSize the decoder stops once every check made before allocating has passed: it stores the
    // picture's size there and leaves the image untouched.
    static bool decode(QByteArrayView data, CxImage& image, QString& error, QSize* headerSize = nullptr);
    static bool encode(const CxImage& image, QByteArray& out, QString& error);
};

} // namespace tvl
