#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSize>
#include <QString>

namespace tvl {

class CxImage;

// ZSoft PCX: 1, 2 and 4-bit planar or packed, 8-bit with a trailing palette, 24 and 32-bit in 3 or 4 planes.
// Encoding writes 1 bit, 4 bits in four planes, 8 bits with palette or 24 bits in three planes.
class PcxCodec
{
public:
    // With headerSize the decoder stops once every check made before allocating has passed: it stores the
    // picture's size there and leaves the image untouched.
    static bool decode(QByteArrayView data, CxImage& image, QString& error, QSize* headerSize = nullptr);
    static bool encode(const CxImage& image, QByteArray& out, QString& error);
};

} // namespace tvl
