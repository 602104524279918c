#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSize>
#include <QString>

namespace tvl {

class CxImage;

// PNG: decoding through libpng, every colour type and depth, tRNS and interlacing. 16-bit channels are
// scaled to 8; palette and grey images without transparency stay 8-bit paletted, the rest become 24 bits
// with alpha. Encoding filters rows as libpng does by default and compresses them in pieces on every core
// (libdeflate), joined into the one zlib stream of the image data.
class PngCodec
{
public:
    // With headerSize the decoder stops once every check made before allocating has passed: it stores the
    // picture's size there and leaves the image untouched.
    static bool decode(QByteArrayView data, CxImage& image, QString& error, QSize* headerSize = nullptr);
    // For a thumbnail: a picture at least twice as large as what fits box comes out shrunk by the largest
    // whole factor that keeps it no smaller than that, each pixel the average of the pixels it covers,
    // read without a full-size copy; any other decodes as usual.
    static bool decodeThumbnail(QByteArrayView data, QSize box, CxImage& image, QString& error);
    static bool encode(const CxImage& image, QByteArray& out, QString& error);
};

} // namespace tvl
