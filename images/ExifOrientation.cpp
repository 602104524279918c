#include "images/ExifOrientation.h"

#include "images/CxImage.h"
#include "images/codecs/ByteReader.h"

#include <cstring>

namespace tvl {

int ExifOrientation::read(QByteArrayView exif)
{
    if (!exif.startsWith(QByteArrayView("Exif\0\0", 6)))
        return 1;
    const QByteArrayView tiff = exif.sliced(6);
    if (tiff.size() < 8)
        return 1;
    const bool bigEndian = tiff.startsWith("MM");
    if (!bigEndian && !tiff.startsWith("II"))
        return 1;
    auto swap16 = [&](quint16 v) { return bigEndian ? quint16((v >> 8) | (v << 8)) : v; };
    auto swap32 = [&](quint32 v) {
        return bigEndian ? ((v >> 24) | ((v >> 8) & 0xff00) | ((v << 8) & 0xff0000) | (v << 24)) : v;
    };
    ByteReader in(tiff, 4);
    const quint32 ifd = swap32(in.u32());
    if (ifd > quint32(tiff.size()))
        return 1;
    ByteReader entries(tiff, qsizetype(ifd));
    const int count = swap16(entries.u16());
    for (int i = 0; i < count && !entries.failed(); ++i) {
        const quint16 tag = swap16(entries.u16());
        const quint16 type = swap16(entries.u16());
        entries.u32();
        const quint16 value = swap16(entries.u16());
        entries.u16();
        if (!entries.failed() && tag == 0x0112 && type == 3)
            return value >= 1 && value <= 8 ? value : 1;
    }
    return 1;
}

bool ExifOrientation::apply(CxImage& image, int orientation)
{
    if (orientation <= 1 || orientation > 8 || !image.IsValid() || image.Bpp() < 8)
        return true;
    const int w = image.Width();
    const int h = image.Height();
    const bool swap = swapsSides(orientation);
    CxImage turned = image;
    if (!turned.Create(swap ? h : w, swap ? w : h, image.Bpp(), image.Type()))
        return false;
    turned.SetPalette(image.Palette());
    turned.SetResolution(swap ? image.YDpi() : image.XDpi(), swap ? image.XDpi() : image.YDpi());
    if (image.HasAlpha())
        turned.AlphaCreate();
    const int bytes = image.Bpp() / 8;
    for (int y = 0; y < turned.Height(); ++y) {
        uchar* dst = turned.ScanLine(y);
        uchar* dstAlpha = image.HasAlpha() ? turned.AlphaScanLine(y) : nullptr;
        for (int x = 0; x < turned.Width(); ++x) {
            int sx = x;
            int sy = y;
            switch (orientation) {
            case 2:
                sx = w - 1 - x;
                break;
            case 3:
                sx = w - 1 - x;
                sy = h - 1 - y;
                break;
            case 4:
                sy = h - 1 - y;
                break;
            case 5:
                sx = y;
                sy = x;
                break;
            case 6:
                sx = y;
                sy = h - 1 - x;
                break;
            case 7:
                sx = w - 1 - y;
                sy = h - 1 - x;
                break;
            case 8:
                sx = w - 1 - y;
                sy = x;
                break;
            }
            std::memcpy(dst + x * bytes, image.ScanLine(sy) + sx * bytes, size_t(bytes));
            if (dstAlpha)
                dstAlpha[x] = image.AlphaScanLine(sy)[sx];
        }
    }
    turned.SetSourceBytes(image.SourceBytes());
    image = std::move(turned);
    return true;
}

} // namespace tvl
