#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace tvl {

class CxImage;

// PNG through libpng: every colour type and depth, tRNS and interlacing. 16-bit channels are scaled to 8;
// palette and grey images without transparency stay 8-bit paletted, the rest become 24 bits with alpha.
class PngCodec
{
public:
    static bool decode(QByteArrayView data, CxImage& image, QString& error);
    static bool encode(const CxImage& image, QByteArray& out, QString& error);
};

} // namespace tvl
