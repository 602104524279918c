#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace tvl {

class CxImage;

// Windows and OS/2 bitmap files: a 14-byte file header in front of a DIB.
class BmpCodec
{
public:
    static bool decode(QByteArrayView data, CxImage& image, QString& error);
    // Paletted and 24-bit images keep their depth; an alpha channel makes a 32-bit file.
    static bool encode(const CxImage& image, QByteArray& out, QString& error);
};

} // namespace tvl
