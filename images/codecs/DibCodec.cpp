#include "images/codecs/DibCodec.h"

#include "images/CxImage.h"
#include "images/ImageLimits.h"
#include "images/codecs/ByteReader.h"

#include <QtEndian>

#include <bit>
#include <cstring>

namespace tvl {

namespace {

constexpr quint32 BI_RGB = 0;
constexpr quint32 BI_RLE8 = 1;
constexpr quint32 BI_RLE4 = 2;
constexpr quint32 BI_BITFIELDS = 3;
constexpr quint32 BI_JPEG = 4;
constexpr quint32 BI_PNG = 5;
constexpr quint32 BI_ALPHABITFIELDS = 6;
constexpr quint32 BI_CMYK = 11;
constexpr quint32 BI_CMYKRLE4 = 13;

// A run of 255 pixels takes two bytes; escapes that skip rows or end the picture early leave the rest
// blank, which writers of real files do not lean on for more than a few times that.
constexpr qint64 maxRunLengthRatio = 1024;

struct DibHeader
{
    quint32 size = 0;
    qint64 width = 0;
    qint64 height = 0;
    bool topDown = false;
    int bpp = 0;
    quint32 compression = BI_RGB;
    quint32 xPelsPerMeter = 0;
    quint32 yPelsPerMeter = 0;
    quint32 colorsUsed = 0;
    quint32 masks[4] = {0, 0, 0, 0};
    bool hasMasks = false;
    bool core = false;
    bool os2v2 = false;
};

// One colour channel described by a bit mask, scaled to 0..255.
struct Channel
{
    explicit Channel(quint32 mask)
        : mask(mask)
    {
        if (mask == 0)
            return;
        shift = std::countr_zero(mask);
        bits = std::min(std::popcount(mask >> shift), 16);
        maxValue = (quint32(1) << bits) - 1;
    }
    int value(quint32 pixel) const
    {
        if (mask == 0)
            return 0;
        const quint32 v = ((pixel & mask) >> shift) & maxValue;
        return bits >= 8 ? int(v >> (bits - 8)) : int((v * 255 + maxValue / 2) / maxValue);
    }
    quint32 mask;
    int shift = 0;
    int bits = 0;
    quint32 maxValue = 0;
};

bool readHeader(ByteReader& in, DibHeader& h, QString& error)
{
    h.size = in.u32();
    if (in.failed() || h.size < 12 || qint64(h.size) > in.remaining() + 4) {
        error = QStringLiteral("Not a BMP");
        return false;
    }
    if (h.size == 12) {
        h.core = true;
        h.width = in.u16();
        h.height = in.u16();
        in.u16();
        h.bpp = in.u16();
        return true;
    }
    if (h.size < 16) {
        error = QStringLiteral("Not a BMP");
        return false;
    }
    h.os2v2 = h.size != 40 && h.size < 52 && h.size != 108 && h.size != 124;
    h.width = in.s32();
    h.height = in.s32();
    in.u16();
    h.bpp = in.u16();
    const qsizetype end = in.offset() - 16 + h.size;
    auto field = [&](quint32 offset) -> quint32 { return h.size >= offset + 4 ? in.u32() : 0; };
    h.compression = field(16);
    field(20);
    h.xPelsPerMeter = field(24);
    h.yPelsPerMeter = field(28);
    h.colorsUsed = field(32);
    field(36);
    if (h.size >= 52 && !h.os2v2) {
        h.masks[0] = in.u32();
        h.masks[1] = in.u32();
        h.masks[2] = in.u32();
        if (h.size >= 56)
            h.masks[3] = in.u32();
        h.hasMasks = true;
    }
    in.skip(end - in.offset());
    if (h.height < 0) {
        h.topDown = true;
        h.height = -h.height;
    }
    return !in.failed();
}

bool checkCompression(const DibHeader& h, QString& error)
{
    const quint32 c = h.compression;
    if (h.os2v2 && c > BI_RLE4) {
        error = QStringLiteral("compression type not supported");
        return false;
    }
    bool fits = false;
    switch (c) {
    case BI_RGB:
        fits = h.bpp == 1 || h.bpp == 4 || h.bpp == 8 || h.bpp == 16 || h.bpp == 24 || h.bpp == 32;
        break;
    case BI_RLE8:
        fits = h.bpp == 8;
        break;
    case BI_RLE4:
        fits = h.bpp == 4;
        break;
    case BI_BITFIELDS:
    case BI_ALPHABITFIELDS:
        fits = h.bpp == 16 || h.bpp == 32;
        break;
    case BI_JPEG:
    case BI_PNG:
    case BI_CMYK:
    case BI_CMYK + 1:
    case BI_CMYKRLE4:
        error = QStringLiteral("compression type not supported");
        return false;
    default:
        error = QStringLiteral("unknown compression");
        return false;
    }
    if (!fits) {
        error = QStringLiteral("Bit depth %1 not supported with this compression").arg(h.bpp);
        return false;
    }
    return true;
}

// Paletted run-length data (RLE8 or RLE4) into 4 or 8-bit rows; pixels never set stay index 0.
bool decodeRle(ByteReader& in, const DibHeader& h, CxImage& image, QString& error)
{
    const int width = int(h.width);
    const int height = int(h.height);
    const bool rle4 = h.compression == BI_RLE4;
    auto put = [&](int x, int y, int index) {
        if (x >= width || y >= height)
            return;
        uchar* row = image.ScanLine(h.topDown ? y : height - 1 - y);
        if (rle4) {
            uchar& byte = row[x / 2];
            byte = (x & 1) ? uchar((byte & 0xf0) | (index & 0x0f)) : uchar((byte & 0x0f) | (index << 4));
        } else {
            row[x] = uchar(index);
        }
    };
    int x = 0;
    int y = 0;
    while (y < height) {
        if (in.remaining() < 2) {
            error = QStringLiteral("BMP run-length data truncated");
            return false;
        }
        const int count = in.u8();
        const int value = in.u8();
        if (count > 0) {
            for (int i = 0; i < count && x < width; ++i, ++x)
                put(x, y, rle4 ? ((i & 1) ? value & 0x0f : value >> 4) : value);
            continue;
        }
        if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            x += in.u8();
            y += in.u8();
        } else {
            const int bytes = rle4 ? (value + 1) / 2 : value;
            const QByteArrayView run = in.bytes(bytes + (bytes & 1));
            if (run.isEmpty()) {
                error = QStringLiteral("BMP run-length data truncated");
                return false;
            }
            for (int i = 0; i < value; ++i, ++x) {
                const int byte = uchar(run[rle4 ? i / 2 : i]);
                put(x, y, rle4 ? ((i & 1) ? byte & 0x0f : byte >> 4) : byte);
            }
        }
    }
    return true;
}

void decodeMasked(const uchar* src, const DibHeader& h, const Channel (&channels)[4], uchar* dst,
                  uchar* alpha)
{
    const int step = h.bpp / 8;
    for (qint64 x = 0; x < h.width; ++x, src += step) {
        const quint32 pixel = step == 2 ? quint32(src[0] | (src[1] << 8)) : qFromLittleEndian<quint32>(src);
        dst[3 * x] = uchar(channels[2].value(pixel));
        dst[3 * x + 1] = uchar(channels[1].value(pixel));
        dst[3 * x + 2] = uchar(channels[0].value(pixel));
        if (alpha)
            alpha[x] = uchar(channels[3].value(pixel));
    }
}

// The 1-bit mask after an icon's colour rows: set bits are transparent.
void applyIconMask(ByteReader& in, const DibHeader& h, CxImage& image)
{
    const int width = int(h.width);
    const int height = int(h.height);
    const qsizetype stride = ((qsizetype(width) + 31) / 32) * 4;
    const QByteArrayView mask = in.bytes(stride * height);
    if (mask.isEmpty())
        return;
    bool anySet = false;
    for (char byte : mask)
        anySet = anySet || byte != 0;
    if (!anySet)
        return;
    image.AlphaCreate();
    for (int r = 0; r < height; ++r) {
        const uchar* bits = reinterpret_cast<const uchar*>(mask.data()) + r * stride;
        uchar* alpha = image.AlphaScanLine(h.topDown ? r : height - 1 - r);
        for (int x = 0; x < width; ++x) {
            if (bits[x >> 3] & (0x80 >> (x & 7)))
                alpha[x] = 0;
        }
    }
}

} // namespace

bool DibCodec::decode(QByteArrayView data, qsizetype bitsOffset, Layout layout, CxImage& image,
                      QString& error, QSize* headerSize)
{
    ByteReader in(data);
    DibHeader h;
    if (!readHeader(in, h, error) || !checkCompression(h, error))
        return false;
    if (layout == Layout::Icon)
        h.height /= 2;
    if (!ImageLimits::check(h.width, h.height, error))
        return false;

    if (!h.hasMasks) {
        const quint32 c = h.compression;
        if (c == BI_BITFIELDS || c == BI_ALPHABITFIELDS) {
            h.masks[0] = in.u32();
            h.masks[1] = in.u32();
            h.masks[2] = in.u32();
            if (c == BI_ALPHABITFIELDS)
                h.masks[3] = in.u32();
        } else if (h.bpp == 16) {
            h.masks[0] = 0x7c00;
            h.masks[1] = 0x03e0;
            h.masks[2] = 0x001f;
        } else if (h.bpp == 32) {
            h.masks[0] = 0x00ff0000;
            h.masks[1] = 0x0000ff00;
            h.masks[2] = 0x000000ff;
            h.masks[3] = 0xff000000;
        }
    }
    if (h.bpp == 32 && h.compression == BI_RGB)
        h.masks[3] = 0xff000000;

    qint64 colors = 0;
    if (h.bpp <= 8)
        colors = (h.colorsUsed > 0 && h.colorsUsed < (1u << h.bpp)) ? h.colorsUsed : (1 << h.bpp);
    else if (!h.core)
        colors = std::min<quint32>(h.colorsUsed, 256);
    const int entrySize = h.core ? 3 : 4;
    const qint64 paletteEnd = bitsOffset >= 0 ? bitsOffset : data.size();
    QList<QRgb> palette;
    for (qint64 i = 0; i < colors && in.offset() + entrySize <= paletteEnd; ++i) {
        const QByteArrayView entry = in.bytes(entrySize);
        if (entry.isEmpty())
            break;
        palette.append(qRgb(uchar(entry[2]), uchar(entry[1]), uchar(entry[0])) & 0x00ffffffu);
    }
    if (h.bpp <= 8 && palette.isEmpty()) {
        error = QStringLiteral("BMP palette missing");
        return false;
    }
    if (bitsOffset < 0)
        bitsOffset = in.offset();
    if (bitsOffset > data.size()) {
        error = QStringLiteral("BMP pixel data missing");
        return false;
    }

    const int width = int(h.width);
    const int height = int(h.height);
    const int outBpp = h.bpp <= 8 ? h.bpp : 24;
    const bool rle = h.compression == BI_RLE4 || h.compression == BI_RLE8;
    const qint64 stride = ((h.width * h.bpp + 31) / 32) * 4;
    const qint64 lastRow = (h.width * h.bpp + 7) / 8;
    const qint64 pixelBytes = data.size() - bitsOffset;
    if (rle && !ImageLimits::checkData(stride * h.height, pixelBytes, maxRunLengthRatio, error))
        return false;
    if (!rle && stride * (h.height - 1) + lastRow > pixelBytes) {
        error = QStringLiteral("BMP file truncated");
        return false;
    }
    if (headerSize) {
        *headerSize = QSize(width, height);
        return true;
    }
    if (!image.Create(width, height, outBpp, CXIMAGE_FORMAT_BMP)) {
        error = image.lastError();
        return false;
    }
    if (outBpp <= 8)
        image.SetPalette(palette);
    if (h.xPelsPerMeter > 0 && h.yPelsPerMeter > 0 && h.xPelsPerMeter < 1'000'000 &&
        h.yPelsPerMeter < 1'000'000)
        image.SetResolution(int((h.xPelsPerMeter * 254 + 5000) / 10000),
                            int((h.yPelsPerMeter * 254 + 5000) / 10000));

    ByteReader bits(data, bitsOffset);
    if (rle)
        return decodeRle(bits, h, image, error);

    const uchar* src = reinterpret_cast<const uchar*>(data.data()) + bitsOffset;
    bits.skip(std::min<qint64>(stride * h.height, bits.remaining()));
    const Channel channels[4] = {Channel(h.masks[0]), Channel(h.masks[1]), Channel(h.masks[2]),
                                 Channel(h.masks[3])};
    const bool maskedAlpha = h.bpp == 32 && h.masks[3] != 0;
    if (maskedAlpha)
        image.AlphaCreate();
    bool anyAlpha = false;
    for (int r = 0; r < height; ++r) {
        const int y = h.topDown ? r : height - 1 - r;
        const uchar* row = src + r * stride;
        uchar* dst = image.ScanLine(y);
        if (h.bpp <= 8 || h.bpp == 24) {
            std::memcpy(dst, row, size_t(lastRow));
        } else {
            uchar* alpha = maskedAlpha ? image.AlphaScanLine(y) : nullptr;
            decodeMasked(row, h, channels, dst, alpha);
            for (int x = 0; alpha && x < width && !anyAlpha; ++x)
                anyAlpha = alpha[x] != 0;
        }
    }
    // Most 32-bit files leave the fourth byte zero: that means opaque, not invisible.
    if (maskedAlpha && !anyAlpha)
        image.AlphaDelete();
    if (layout == Layout::Icon && !(maskedAlpha && anyAlpha))
        applyIconMask(bits, h, image);
    return true;
}

QByteArray DibCodec::encode(const CxImage& image, bool withAlpha, Layout layout)
{
    const bool alpha32 = withAlpha && image.HasAlpha() && image.Bpp() == 24;
    const int bpp = alpha32 ? 32 : image.Bpp();
    const int width = image.Width();
    const int height = image.Height();
    const qsizetype stride = ((qsizetype(width) * bpp + 31) / 32) * 4;
    const qsizetype maskStride = ((qsizetype(width) + 31) / 32) * 4;
    const qsizetype colors = bpp <= 8 ? (qsizetype(1) << bpp) : 0;
    const qsizetype imageSize = stride * height + (layout == Layout::Icon ? maskStride * height : 0);
    QByteArray out(40 + colors * 4 + imageSize, '\0');
    uchar* p = reinterpret_cast<uchar*>(out.data());
    qToLittleEndian<quint32>(40, p);
    qToLittleEndian<qint32>(width, p + 4);
    qToLittleEndian<qint32>(layout == Layout::Icon ? height * 2 : height, p + 8);
    qToLittleEndian<quint16>(1, p + 12);
    qToLittleEndian<quint16>(quint16(bpp), p + 14);
    qToLittleEndian<quint32>(quint32(imageSize), p + 20);
    qToLittleEndian<quint32>(quint32((image.XDpi() * 10000 + 127) / 254), p + 24);
    qToLittleEndian<quint32>(quint32((image.YDpi() * 10000 + 127) / 254), p + 28);
    qToLittleEndian<quint32>(quint32(colors), p + 32);
    p += 40;
    for (qsizetype i = 0; i < colors; ++i, p += 4)
        qToLittleEndian<quint32>(i < image.Palette().size() ? image.Palette()[i] & 0x00ffffffu : 0, p);
    for (int r = 0; r < height; ++r, p += stride) {
        const int y = height - 1 - r;
        const uchar* src = image.ScanLine(y);
        if (!alpha32) {
            std::memcpy(p, src, size_t(image.BytesPerLine()));
            continue;
        }
        const uchar* a = image.AlphaScanLine(y);
        for (int x = 0; x < width; ++x) {
            p[4 * x] = src[3 * x];
            p[4 * x + 1] = src[3 * x + 1];
            p[4 * x + 2] = src[3 * x + 2];
            p[4 * x + 3] = a[x];
        }
    }
    if (layout == Layout::Icon) {
        const bool keyed = image.HasTransparency();
        const QRgb key = image.Bpp() <= 8 && keyed && image.TransparentIndex() < image.Palette().size()
                             ? image.Palette()[image.TransparentIndex()] & 0x00ffffffu
                             : image.TransparentColor() & 0x00ffffffu;
        for (int r = 0; r < height; ++r, p += maskStride) {
            const int y = height - 1 - r;
            for (int x = 0; x < width; ++x) {
                const QRgb pixel = image.PixelColor(x, y);
                const bool clear = qAlpha(pixel) < 128 || (keyed && (pixel & 0x00ffffffu) == key);
                if (clear)
                    p[x >> 3] |= uchar(0x80 >> (x & 7));
            }
        }
    }
    return out;
}

} // namespace tvl
