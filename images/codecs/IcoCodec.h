#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSize>
#include <QString>

namespace tvl {

class CxImage;

// Windows icons: the largest and then deepest entry, stored as a DIB with its transparency mask or as PNG.
// Encoding writes one DIB entry of at most 256 × 256 pixels.
class IcoCodec
{
public:
    // With headerSize the decoder stops once every check made before allocating has passed: it stores the
    // picture's size there and leaves the image untouched.
    static bool decode(QByteArrayView data, CxImage& image, QString& error, QSize* headerSize = nullptr);
    static bool encode(const CxImage& image, QByteArray& out, QString& error);
};

} // namespace tvl
