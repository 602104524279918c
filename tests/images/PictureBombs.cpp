#include "PictureBombs.h"

#include "images/CxImage.h"

#include <QtEndian>

namespace tvl::test {
namespace {

quint32 Crc32(QByteArrayView bytes)
{
    quint32 crc = 0xffffffffu;
    for (char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray BigEndian(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray Chunk(const char* type, const QByteArray& data)
{
    const QByteArray typed = QByteArray(type, 4) + data;
    return BigEndian(quint32(data.size())) + typed + BigEndian(Crc32(typed));
}

int Channels(int colourType)
{
    switch (colourType) {
    case 2:
        return 3;
    case 4:
        return 2;
    case 6:
        return 4;
    default:
        return 1;
    }
}

} // namespace

QByteArray PngWithData(quint32 width, quint32 height, int colourType, const QByteArray& idat)
{
    QByteArray header = BigEndian(width) + BigEndian(height);
    header += char(8);
    header += char(colourType);
    header += QByteArray(3, '\0');
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + Chunk("IHDR", header) + Chunk("IDAT", idat) +
           Chunk("IEND", QByteArray());
}

QByteArray PngBomb(quint32 width, quint32 height, int colourType, int rows)
{
    const QByteArray raw(qsizetype(rows) * (1 + qsizetype(width) * Channels(colourType)), '\0');
    // qCompress puts the length before the zlib stream.
    return PngWithData(width, height, colourType, qCompress(raw).mid(4));
}

QByteArray JpegBomb(quint16 width, quint16 height)
{
    CxImage small;
    small.Create(16, 16, 24, CXIMAGE_FORMAT_JPG);
    QByteArray bytes;
    small.EncodeBuffer(bytes, CXIMAGE_FORMAT_JPG);
    const qsizetype frame = bytes.indexOf(QByteArray("\xff\xc0", 2));
    if (frame < 0)
        return {};
    qToBigEndian(height, bytes.data() + frame + 5);
    qToBigEndian(width, bytes.data() + frame + 7);
    return bytes;
}

} // namespace tvl::test
