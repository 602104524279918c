#include "images/codecs/IcoCodec.h"

#include "images/CxImage.h"
#include "images/codecs/ByteReader.h"
#include "images/codecs/DibCodec.h"
#include "images/codecs/PngCodec.h"

#include <QtEndian>

namespace tvl {

namespace {

constexpr int directoryEntrySize = 16;
constexpr int maxIconSide = 256;

struct Entry
{
    int width = 0;
    int height = 0;
    int bpp = 0;
    QByteArrayView bytes;
};

bool isPng(QByteArrayView bytes)
{
    return bytes.startsWith(QByteArrayView("\x89PNG\r\n\x1a\n", 8));
}

// Entries of the directory that lie inside the file; the depth is read from the entry's own header when the
// directory leaves it out.
QList<Entry> readDirectory(QByteArrayView data)
{
    QList<Entry> entries;
    ByteReader in(data);
    const quint16 reserved = in.u16();
    const quint16 type = in.u16();
    const quint16 count = in.u16();
    if (in.failed() || reserved != 0 || (type != 1 && type != 2) || count == 0)
        return entries;
    for (int i = 0; i < count; ++i) {
        Entry entry;
        entry.width = in.u8();
        entry.height = in.u8();
        in.u8();
        in.u8();
        in.u16();
        entry.bpp = in.u16();
        const quint32 size = in.u32();
        const quint32 offset = in.u32();
        if (in.failed())
            break;
        if (offset < 6 || offset >= quint32(data.size()) || size == 0 || size > quint32(data.size()) - offset)
            continue;
        entry.bytes = data.sliced(offset, size);
        if (entry.width == 0)
            entry.width = maxIconSide;
        if (entry.height == 0)
            entry.height = maxIconSide;
        if (!isPng(entry.bytes) && entry.bytes.size() >= 16)
            entry.bpp = qFromLittleEndian<quint16>(entry.bytes.data() + 14);
        entries.append(entry);
    }
    return entries;
}

} // namespace

bool IcoCodec::decode(QByteArrayView data, CxImage& image, QString& error, QSize* headerSize)
{
    const QList<Entry> entries = readDirectory(data);
    if (entries.isEmpty()) {
        error = QStringLiteral("Not an ICO file");
        return false;
    }
    const Entry* best = &entries.front();
    for (const Entry& entry : entries) {
        const qint64 area = qint64(entry.width) * entry.height;
        const qint64 bestArea = qint64(best->width) * best->height;
        if (area > bestArea || (area == bestArea && entry.bpp > best->bpp))
            best = &entry;
    }
    const bool ok = isPng(best->bytes)
                        ? PngCodec::decode(best->bytes, image, error, headerSize)
                        : DibCodec::decode(best->bytes, -1, DibCodec::Layout::Icon, image, error, headerSize);
    if (ok && !headerSize)
        image.SetType(CXIMAGE_FORMAT_ICO);
    return ok;
}

bool IcoCodec::encode(const CxImage& image, QByteArray& out, QString& error)
{
    if (image.Width() > maxIconSide || image.Height() > maxIconSide) {
        error = QStringLiteral("Can't save this image as icon");
        return false;
    }
    const QByteArray dib = DibCodec::encode(image, true, DibCodec::Layout::Icon);
    const int bpp = qFromLittleEndian<quint16>(dib.constData() + 14);
    out.resize(6 + directoryEntrySize);
    uchar* p = reinterpret_cast<uchar*>(out.data());
    qToLittleEndian<quint16>(0, p);
    qToLittleEndian<quint16>(1, p + 2);
    qToLittleEndian<quint16>(1, p + 4);
    p[6] = uchar(image.Width() % maxIconSide);
    p[7] = uchar(image.Height() % maxIconSide);
    p[8] = uchar(bpp < 8 ? 1 << bpp : 0);
    p[9] = 0;
    qToLittleEndian<quint16>(1, p + 10);
    qToLittleEndian<quint16>(quint16(bpp), p + 12);
    qToLittleEndian<quint32>(quint32(dib.size()), p + 14);
    qToLittleEndian<quint32>(6 + directoryEntrySize, p + 18);
    out.append(dib);
    return true;
}

} // namespace tvl
