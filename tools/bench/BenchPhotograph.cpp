#include "tools/bench/BenchPhotograph.h"

#include "images/CxImage.h"

#include <QImage>
#include <algorithm>

namespace tvl::bench {

QByteArray PhotographJpeg(QSize size)
{
    const qint64 w = size.width();
    const qint64 h = size.height();
    QImage pixels(size, QImage::Format_RGB32);
    quint32 seed = 12345;
    for (qint64 y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(pixels.scanLine(static_cast<int>(y)));
        for (qint64 x = 0; x < w; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int grain = static_cast<int>(seed >> 28) - 8;
            const auto channel = [grain](qint64 value) {
                return std::clamp(static_cast<int>(value) + grain, 0, 255);
            };
            line[x] =
                qRgb(channel(x * 255 / w), channel(y * 255 / h), channel((x * h + y * w) * 127 / (w * h)));
        }
    }
    CxImage encoded;
    encoded.FromBitmap(pixels);
    QByteArray bytes;
    encoded.EncodeBuffer(bytes, CXIMAGE_FORMAT_JPG);
    return bytes;
}

} // namespace tvl::bench
