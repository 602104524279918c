#include "images/codecs/BmpCodec.h"

#include "images/CxImage.h"
#include "images/codecs/ByteReader.h"
#include "images/codecs/DibCodec.h"

#include <QtEndian>

namespace tvl {

bool BmpCodec::decode(QByteArrayView data, CxImage& image, QString& error, QSize* headerSize)
{
    ByteReader in(data);
    if (in.u8() != 'B' || in.u8() != 'M' || data.size() < 26) {
        error = QStringLiteral("Not a BMP");
        return false;
    }
    in.skip(8);
    const quint32 bitsOffset = in.u32();
    // Some writers leave the offset zero or wrong; the pixels then follow the palette.
    const qsizetype offset =
        bitsOffset >= 26 && bitsOffset <= quint32(data.size()) ? qsizetype(bitsOffset) - 14 : -1;
    return DibCodec::decode(data.sliced(14), offset, DibCodec::Layout::Plain, image, error, headerSize);
}

bool BmpCodec::encode(const CxImage& image, QByteArray& out, QString&)
{
    const QByteArray dib = DibCodec::encode(image, true);
    const quint32 paletteSize = image.Bpp() <= 8 ? (4u << image.Bpp()) : 0;
    out.resize(14);
    uchar* p = reinterpret_cast<uchar*>(out.data());
    p[0] = 'B';
    p[1] = 'M';
    qToLittleEndian<quint32>(quint32(14 + dib.size()), p + 2);
    qToLittleEndian<quint32>(0, p + 6);
    qToLittleEndian<quint32>(14 + 40 + paletteSize, p + 10);
    out.append(dib);
    return true;
}

} // namespace tvl
