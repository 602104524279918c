#include "images/codecs/PcxCodec.h"

#include "images/CxImage.h"
#include "images/ImageLimits.h"
#include "images/codecs/ByteReader.h"

#include <QtEndian>

#include <cstring>
#include <vector>

namespace tvl {

namespace {

constexpr int headerSize = 128;
constexpr int paletteMarker = 0x0c;
constexpr int vgaPaletteSize = 1 + 768;
// One run byte pair yields at most 63 bytes.
constexpr int maxRun = 63;

struct Header
{
    int version = 0;
    int encoding = 0;
    int bpp = 0;
    int width = 0;
    int height = 0;
    int hDpi = 0;
    int vDpi = 0;
    QByteArrayView colormap;
    int planes = 0;
    int bytesPerLine = 0;
};

bool readHeader(QByteArrayView data, Header& h, QString& error)
{
    ByteReader in(data);
    const int manufacturer = in.u8();
    h.version = in.u8();
    h.encoding = in.u8();
    h.bpp = in.u8();
    const int xMin = in.u16();
    const int yMin = in.u16();
    const int xMax = in.u16();
    const int yMax = in.u16();
    h.hDpi = in.u16();
    h.vDpi = in.u16();
    h.colormap = in.bytes(48);
    in.u8();
    h.planes = in.u8();
    h.bytesPerLine = in.u16();
    if (in.failed() || data.size() < headerSize || manufacturer != 0x0a || h.version > 5 || h.encoding > 1 ||
        xMax < xMin || yMax < yMin) {
        error = QStringLiteral("Error: Not a PCX file");
        return false;
    }
    h.width = xMax - xMin + 1;
    h.height = yMax - yMin + 1;
    const bool known = (h.bpp == 1 && h.planes >= 1 && h.planes <= 4) || (h.bpp == 2 && h.planes == 1) ||
                       (h.bpp == 4 && h.planes == 1) ||
                       (h.bpp == 8 && (h.planes == 1 || h.planes == 3 || h.planes == 4));
    if (!known) {
        error = QStringLiteral("PCX: %1 bits in %2 planes not supported").arg(h.bpp).arg(h.planes);
        return false;
    }
    if (h.bytesPerLine < (h.width * h.bpp + 7) / 8) {
        error = QStringLiteral("PCX: line length too short");
        return false;
    }
    return ImageLimits::check(h.width, h.height, error);
}

qint64 unpackedSize(const Header& h)
{
    return qint64(h.planes) * h.bytesPerLine * h.height;
}

// Whether the data after the header can unpack to every line, before anything is allocated.
bool longEnough(QByteArrayView data, const Header& h, QString& error)
{
    const qint64 available = data.size() - headerSize;
    const qint64 most = h.encoding == 1 ? available * maxRun : available;
    if (most >= unpackedSize(h))
        return true;
    error = QStringLiteral("PCX file truncated");
    return false;
}

// The run-length stream may run across line ends, so it is unpacked as one stream into consecutive lines.
bool unpack(QByteArrayView data, const Header& h, std::vector<uchar>& out, QString& error)
{
    const qint64 total = unpackedSize(h);
    const qint64 available = data.size() - headerSize;
    const bool rle = h.encoding == 1;
    if (!longEnough(data, h, error))
        return false;
    out.resize(size_t(total));
    const uchar* src = reinterpret_cast<const uchar*>(data.data()) + headerSize;
    const uchar* end = src + available;
    if (!rle) {
        std::memcpy(out.data(), src, size_t(total));
        return true;
    }
    qint64 written = 0;
    while (written < total) {
        if (src >= end) {
            error = QStringLiteral("PCX file truncated");
            return false;
        }
        int count = 1;
        uchar value = *src++;
        if ((value & 0xc0) == 0xc0) {
            count = value & 0x3f;
            if (src >= end) {
                error = QStringLiteral("PCX file truncated");
                return false;
            }
            value = *src++;
        }
        const qint64 n = std::min<qint64>(count, total - written);
        std::memset(out.data() + written, value, size_t(n));
        written += n;
    }
    return true;
}

QList<QRgb> headerPalette(const Header& h, int count)
{
    QList<QRgb> palette;
    for (int i = 0; i < count && i * 3 + 2 < h.colormap.size(); ++i)
        palette.append(
            qRgb(uchar(h.colormap[i * 3]), uchar(h.colormap[i * 3 + 1]), uchar(h.colormap[i * 3 + 2])) &
            0x00ffffffu);
    return palette;
}

void fill(const Header& h, const std::vector<uchar>& lines, QByteArrayView data, CxImage& image)
{
    const size_t lineSize = size_t(h.planes) * size_t(h.bytesPerLine);
    for (int y = 0; y < h.height; ++y) {
        const uchar* line = lines.data() + size_t(y) * lineSize;
        uchar* dst = image.ScanLine(y);
        if (h.bpp == 8 && h.planes == 1) {
            std::memcpy(dst, line, size_t(h.width));
        } else if (h.bpp == 8) {
            uchar* alpha = h.planes == 4 ? image.AlphaScanLine(y) : nullptr;
            for (int x = 0; x < h.width; ++x) {
                dst[3 * x + 2] = line[x];
                dst[3 * x + 1] = line[h.bytesPerLine + x];
                dst[3 * x] = line[2 * h.bytesPerLine + x];
                if (alpha)
                    alpha[x] = line[3 * h.bytesPerLine + x];
            }
        } else if (h.bpp == 1 && h.planes == 1) {
            std::memcpy(dst, line, size_t((h.width + 7) / 8));
        } else {
            // Planar or packed 2 and 4-bit pixels into 4-bit indices.
            for (int x = 0; x < h.width; ++x) {
                int index = 0;
                if (h.bpp == 1) {
                    for (int p = 0; p < h.planes; ++p)
                        index |= ((line[p * h.bytesPerLine + x / 8] >> (7 - x % 8)) & 1) << p;
                } else if (h.bpp == 2) {
                    index = (line[x / 4] >> (6 - 2 * (x % 4))) & 3;
                } else {
                    index = (line[x / 2] >> ((x & 1) ? 0 : 4)) & 0x0f;
                }
                uchar& byte = dst[x / 2];
                byte = (x & 1) ? uchar((byte & 0xf0) | index) : uchar((byte & 0x0f) | (index << 4));
            }
        }
    }
    if (h.bpp == 8 && h.planes == 1) {
        const qsizetype at = data.size() - vgaPaletteSize;
        if (at >= headerSize && uchar(data[at]) == paletteMarker) {
            QList<QRgb> palette;
            for (int i = 0; i < 256; ++i)
                palette.append(qRgb(uchar(data[at + 1 + 3 * i]), uchar(data[at + 2 + 3 * i]),
                                    uchar(data[at + 3 + 3 * i])) &
                               0x00ffffffu);
            image.SetPalette(palette);
        }
    } else if (h.bpp == 1 && h.planes == 1) {
        image.SetPalette({0x000000u, 0xffffffu});
    } else if (h.bpp * h.planes <= 4) {
        image.SetPalette(headerPalette(h, 1 << (h.bpp * h.planes)));
    }
}

void packLine(const uchar* src, int length, QByteArray& out)
{
    int i = 0;
    while (i < length) {
        int run = 1;
        while (i + run < length && run < maxRun && src[i + run] == src[i])
            ++run;
        if (run > 1 || (src[i] & 0xc0) == 0xc0)
            out.append(char(0xc0 | run));
        out.append(char(src[i]));
        i += run;
    }
}

} // namespace

bool PcxCodec::decode(QByteArrayView data, CxImage& image, QString& error, QSize* size)
{
    Header h;
    if (!readHeader(data, h, error))
        return false;
    if (size) {
        if (!longEnough(data, h, error))
            return false;
        *size = QSize(h.width, h.height);
        return true;
    }
    std::vector<uchar> lines;
    if (!unpack(data, h, lines, error))
        return false;
    const int bpp = h.bpp == 8 ? (h.planes == 1 ? 8 : 24) : (h.bpp == 1 && h.planes == 1 ? 1 : 4);
    if (!image.Create(h.width, h.height, bpp, CXIMAGE_FORMAT_PCX)) {
        error = image.lastError();
        return false;
    }
    if (h.planes == 4 && h.bpp == 8)
        image.AlphaCreate();
    fill(h, lines, data, image);
    if (h.hDpi > 0 && h.vDpi > 0 && h.hDpi < 10000 && h.vDpi < 10000)
        image.SetResolution(h.hDpi, h.vDpi);
    return true;
}

bool PcxCodec::encode(const CxImage& image, QByteArray& out, QString&)
{
    const int width = image.Width();
    const int height = image.Height();
    const int bpp = image.Bpp();
    const int planes = bpp == 24 ? 3 : (bpp == 4 ? 4 : 1);
    const int bitsPerPlane = bpp == 24 || bpp == 8 ? 8 : 1;
    const int bytesPerLine = ((width * bitsPerPlane + 15) / 16) * 2;

    out = QByteArray(headerSize, '\0');
    uchar* p = reinterpret_cast<uchar*>(out.data());
    p[0] = 0x0a;
    p[1] = 5;
    p[2] = 1;
    p[3] = uchar(bitsPerPlane);
    qToLittleEndian<quint16>(quint16(width - 1), p + 8);
    qToLittleEndian<quint16>(quint16(height - 1), p + 10);
    qToLittleEndian<quint16>(quint16(image.XDpi()), p + 12);
    qToLittleEndian<quint16>(quint16(image.YDpi()), p + 14);
    for (int i = 0; bpp <= 4 && i < image.Palette().size(); ++i) {
        p[16 + 3 * i] = uchar(qRed(image.Palette()[i]));
        p[17 + 3 * i] = uchar(qGreen(image.Palette()[i]));
        p[18 + 3 * i] = uchar(qBlue(image.Palette()[i]));
    }
    p[65] = uchar(planes);
    qToLittleEndian<quint16>(quint16(bytesPerLine), p + 66);
    qToLittleEndian<quint16>(1, p + 68);

    std::vector<uchar> line(size_t(planes) * size_t(bytesPerLine));
    for (int y = 0; y < height; ++y) {
        std::fill(line.begin(), line.end(), uchar(0));
        const uchar* src = image.ScanLine(y);
        if (bpp == 24) {
            for (int x = 0; x < width; ++x) {
                line[size_t(x)] = src[3 * x + 2];
                line[size_t(bytesPerLine + x)] = src[3 * x + 1];
                line[size_t(2 * bytesPerLine + x)] = src[3 * x];
            }
        } else if (bpp == 4) {
            for (int x = 0; x < width; ++x) {
                const int index = (x & 1) ? src[x / 2] & 0x0f : src[x / 2] >> 4;
                for (int plane = 0; plane < 4; ++plane) {
                    if (index & (1 << plane))
                        line[size_t(plane * bytesPerLine + x / 8)] |= uchar(0x80 >> (x % 8));
                }
            }
        } else {
            std::memcpy(line.data(), src, size_t(bpp == 8 ? width : (width + 7) / 8));
        }
        for (int plane = 0; plane < planes; ++plane)
            packLine(line.data() + size_t(plane) * size_t(bytesPerLine), bytesPerLine, out);
    }
    if (bpp == 8) {
        out.append(char(paletteMarker));
        for (QRgb entry : image.Palette()) {
            out.append(char(qRed(entry)));
            out.append(char(qGreen(entry)));
            out.append(char(qBlue(entry)));
        }
    }
    return true;
}

} // namespace tvl
