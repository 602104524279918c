#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace tvl {

class CxImage;

// GIF through giflib: the first frame on its logical screen, with its transparent index. Encoding reduces
// 24-bit images to 256 colours (alpha below one half becomes the transparent index).
class GifCodec
{
public:
    static bool decode(QByteArrayView data, CxImage& image, QString& error);
    static bool encode(const CxImage& image, QByteArray& out, QString& error);
};

} // namespace tvl
