#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace tvl {

class CxImage;

// Windows icons: the largest and then deepest entry, stored as a DIB with its transparency mask or as PNG.
// Encoding writes one DIB entry of at most 256 × 256 pixels.
class IcoCodec
{
public:
    static bool decode(QByteArrayView data, CxImage& image, QString& error);
    static bool encode(const CxImage& image, QByteArray& out, QString& error);
};

} // namespace tvl
