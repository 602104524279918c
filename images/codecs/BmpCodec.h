#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSize>
#include <QString>

namespace tvl {

class CxImage;

// Windows and OS/2 bitmap files: a 14-byte file header in front of a DIB.
class BmpCodec
{
public:
    // With headerSize the decoder stops once every check made before allocating has passed: it stores the
    // picture's size there and leaves the image untouched.
    static bool decode(QByteArrayView data, CxImage& image, QString& error, QSize* headerSize = nullptr);
    // Paletted and 24-bit images keep their depth; an alpha channel makes a 32-bit file.
    static bool encode(const CxImage& image, QByteArray& out, QString& error);
};

} // namespace tvl
