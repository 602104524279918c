#include "images/codecs/GifCodec.h"

#include "images/CxImage.h"
#include "images/ImageLimits.h"

#include <QHash>

#include <cstring>
#include <memory>
#include <vector>

#include <gif_lib.h>

namespace tvl {

namespace {

// An LZW code of at most 12 bits stands for at most 4096 bytes.
constexpr qint64 maxLzwRatio = 4096 * 8 / 12 + 1;

struct Reader
{
    QByteArrayView data;
    qsizetype offset = 0;
};

int readFn(GifFileType* gif, GifByteType* buffer, int length)
{
    auto* reader = static_cast<Reader*>(gif->UserData);
    const qsizetype count = std::min<qsizetype>(length, reader->data.size() - reader->offset);
    if (count <= 0)
        return 0;
    std::memcpy(buffer, reader->data.data() + reader->offset, size_t(count));
    reader->offset += count;
    return int(count);
}

int writeFn(GifFileType* gif, const GifByteType* buffer, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(buffer), length);
    return length;
}

struct GifCloser
{
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

QString gifError(int code)
{
    const char* text = GifErrorString(code);
    return text ? QStringLiteral("GIF: %1").arg(QString::fromLatin1(text))
                : QStringLiteral("GIF: error %1").arg(code);
}

bool readFrame(GifFileType* gif, int transparent, CxImage& image, QString& error, QSize* headerSize)
{
    if (DGifGetImageDesc(gif) == GIF_ERROR) {
        error = gifError(gif->Error);
        return false;
    }
    const GifImageDesc& desc = gif->Image;
    if (desc.Width <= 0 || desc.Height <= 0 || desc.Left < 0 || desc.Top < 0) {
        error = QStringLiteral("GIF: bad frame size");
        return false;
    }
    const qint64 width = std::max<qint64>(gif->SWidth, qint64(desc.Left) + desc.Width);
    const qint64 height = std::max<qint64>(gif->SHeight, qint64(desc.Top) + desc.Height);
    // The screen around the frame is only background, so the coded data has to account for all of it.
    const qint64 dataBytes = static_cast<Reader*>(gif->UserData)->data.size();
    if (!ImageLimits::check(width, height, error) ||
        !ImageLimits::checkData(width * height, dataBytes, maxLzwRatio, error))
        return false;
    if (headerSize) {
        *headerSize = QSize(int(width), int(height));
        return true;
    }
    if (!image.Create(int(width), int(height), 8, CXIMAGE_FORMAT_GIF)) {
        error = image.lastError();
        return false;
    }
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (map) {
        QList<QRgb> palette;
        for (int i = 0; i < map->ColorCount; ++i) {
            const GifColorType& c = map->Colors[i];
            palette.append(qRgb(c.Red, c.Green, c.Blue) & 0x00ffffffu);
        }
        image.SetPalette(palette);
    }
    // Outside the first frame the screen shows its background, or nothing when there is a transparent index.
    const int fill = transparent >= 0 ? transparent : gif->SBackGroundColor;
    for (int y = 0; y < int(height); ++y)
        std::memset(image.ScanLine(y), fill, size_t(width));
    image.SetTransparentIndex(transparent);

    static constexpr int passStart[] = {0, 4, 2, 1};
    static constexpr int passStep[] = {8, 8, 4, 2};
    const int passes = desc.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const int start = desc.Interlace ? passStart[pass] : 0;
        const int step = desc.Interlace ? passStep[pass] : 1;
        for (int row = start; row < desc.Height; row += step) {
            GifPixelType* line = image.ScanLine(desc.Top + row) + desc.Left;
            if (DGifGetLine(gif, line, desc.Width) == GIF_ERROR) {
                error = gifError(gif->Error);
                return false;
            }
        }
    }
    return true;
}

// A palette of the exact colours when there are few enough; false when there are more.
bool exactPalette(const CxImage& image, int limit, std::vector<GifColorType>& colors,
                  std::vector<GifByteType>& indices)
{
    const int width = image.Width();
    QHash<QRgb, int> known;
    for (int y = 0; y < image.Height(); ++y) {
        const uchar* row = image.ScanLine(y);
        GifByteType* dst = indices.data() + size_t(y) * size_t(width);
        for (int x = 0; x < width; ++x) {
            const QRgb color = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
            auto it = known.constFind(color);
            if (it == known.cend()) {
                if (known.size() == limit)
                    return false;
                it = known.insert(color, int(known.size()));
                colors[size_t(it.value())] = GifColorType{
                    GifByteType(qRed(color)), GifByteType(qGreen(color)), GifByteType(qBlue(color))};
            }
            dst[x] = GifByteType(it.value());
        }
    }
    return true;
}

// giflib's median cut keeps 5 bits a channel; each entry then becomes the mean of the pixels it stands for.
bool medianCut(const CxImage& image, int limit, std::vector<GifColorType>& colors,
               std::vector<GifByteType>& indices)
{
    const int width = image.Width();
    const int height = image.Height();
    const size_t count = size_t(width) * size_t(height);
    std::vector<GifByteType> channel[3];
    for (auto& c : channel)
        c.resize(count);
    for (int y = 0; y < height; ++y) {
        const uchar* row = image.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            const size_t i = size_t(y) * size_t(width) + size_t(x);
            for (int c = 0; c < 3; ++c)
                channel[c][i] = row[3 * x + 2 - c];
        }
    }
    int size = limit;
    if (GifQuantizeBuffer(unsigned(width), unsigned(height), &size, channel[0].data(), channel[1].data(),
                          channel[2].data(), indices.data(), colors.data()) == GIF_ERROR)
        return false;
    std::vector<quint64> sums(size_t(limit) * 4, 0);
    for (size_t i = 0; i < count; ++i) {
        quint64* s = sums.data() + size_t(indices[i]) * 4;
        for (int c = 0; c < 3; ++c)
            s[c] += channel[c][i];
        ++s[3];
    }
    for (int k = 0; k < limit; ++k) {
        const quint64* s = sums.data() + size_t(k) * 4;
        if (s[3] > 0)
            colors[size_t(k)] =
                GifColorType{GifByteType((s[0] + s[3] / 2) / s[3]), GifByteType((s[1] + s[3] / 2) / s[3]),
                             GifByteType((s[2] + s[3] / 2) / s[3])};
    }
    return true;
}

// Colour table and pixel indices for a 24-bit image; with alpha one entry is kept for transparency.
bool quantize(const CxImage& image, std::vector<GifColorType>& colors, std::vector<GifByteType>& indices,
              int& transparent, QString& error)
{
    const int width = image.Width();
    const bool alpha = image.HasAlpha();
    const int limit = alpha ? 255 : 256;
    colors.assign(256, GifColorType{0, 0, 0});
    indices.resize(size_t(width) * size_t(image.Height()));
    if (!exactPalette(image, limit, colors, indices)) {
        colors.assign(256, GifColorType{0, 0, 0});
        if (!medianCut(image, limit, colors, indices)) {
            error = QStringLiteral("GIF: colour reduction failed");
            return false;
        }
    }
    transparent = -1;
    if (alpha) {
        transparent = 255;
        for (int y = 0; y < image.Height(); ++y) {
            const uchar* a = image.AlphaScanLine(y);
            for (int x = 0; x < width; ++x) {
                if (a[x] < 128)
                    indices[size_t(y) * size_t(width) + size_t(x)] = GifByteType(transparent);
            }
        }
    }
    return true;
}

void paletteIndices(const CxImage& image, std::vector<GifColorType>& colors,
                    std::vector<GifByteType>& indices)
{
    for (QRgb entry : image.Palette())
        colors.push_back(
            GifColorType{GifByteType(qRed(entry)), GifByteType(qGreen(entry)), GifByteType(qBlue(entry))});
    const int width = image.Width();
    const int bpp = image.Bpp();
    indices.resize(size_t(width) * size_t(image.Height()));
    for (int y = 0; y < image.Height(); ++y) {
        const uchar* row = image.ScanLine(y);
        GifByteType* dst = indices.data() + size_t(y) * size_t(width);
        for (int x = 0; x < width; ++x) {
            if (bpp == 8)
                dst[x] = row[x];
            else if (bpp == 4)
                dst[x] = (x & 1) ? row[x >> 1] & 0x0f : row[x >> 1] >> 4;
            else
                dst[x] = (row[x >> 3] >> (7 - (x & 7))) & 1;
        }
    }
}

} // namespace

bool GifCodec::decode(QByteArrayView data, CxImage& image, QString& error, QSize* headerSize)
{
    if (!data.startsWith("GIF87a") && !data.startsWith("GIF89a")) {
        error = QStringLiteral("Not a GIF file");
        return false;
    }
    Reader reader{data, 0};
    int code = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&reader, readFn, &code));
    if (!gif) {
        error = gifError(code);
        return false;
    }
    int transparent = -1;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR) {
            error = gifError(gif->Error);
            return false;
        }
        if (record == IMAGE_DESC_RECORD_TYPE)
            return readFrame(gif.get(), transparent, image, error, headerSize);
        if (record == TERMINATE_RECORD_TYPE) {
            error = QStringLiteral("GIF file holds no picture");
            return false;
        }
        if (record == EXTENSION_RECORD_TYPE) {
            int extCode = 0;
            GifByteType* ext = nullptr;
            if (DGifGetExtension(gif.get(), &extCode, &ext) == GIF_ERROR) {
                error = gifError(gif->Error);
                return false;
            }
            if (extCode == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 4)
                transparent = (ext[1] & 1) ? ext[4] : -1;
            while (ext) {
                if (DGifGetExtensionNext(gif.get(), &ext) == GIF_ERROR) {
                    error = gifError(gif->Error);
                    return false;
                }
            }
        }
    }
}

bool GifCodec::encode(const CxImage& image, QByteArray& out, QString& error)
{
    std::vector<GifColorType> colors;
    std::vector<GifByteType> indices;
    int transparent = image.TransparentIndex();
    if (image.Bpp() == 24) {
        if (!quantize(image, colors, indices, transparent, error))
            return false;
    } else {
        paletteIndices(image, colors, indices);
    }
    ColorMapObject* map = GifMakeMapObject(int(colors.size()), colors.data());
    int code = 0;
    GifFileType* gif = EGifOpen(&out, writeFn, &code);
    if (!gif || !map) {
        GifFreeMapObject(map);
        error = gifError(code);
        return false;
    }
    const int width = image.Width();
    bool ok = EGifPutScreenDesc(gif, width, image.Height(), 8, 0, map) != GIF_ERROR;
    if (ok && transparent >= 0 && transparent < int(colors.size())) {
        EGifSetGifVersion(gif, true);
        const GifByteType control[4] = {1, 0, 0, GifByteType(transparent)};
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control) != GIF_ERROR;
    }
    ok = ok && EGifPutImageDesc(gif, 0, 0, width, image.Height(), false, nullptr) != GIF_ERROR;
    for (int y = 0; ok && y < image.Height(); ++y)
        ok = EGifPutLine(gif, indices.data() + size_t(y) * size_t(width), width) != GIF_ERROR;
    if (!ok)
        code = gif->Error;
    int closeCode = 0;
    if (EGifCloseFile(gif, &closeCode) == GIF_ERROR && ok) {
        ok = false;
        code = closeCode;
    }
    GifFreeMapObject(map);
    if (!ok)
        error = gifError(code);
    return ok;
}

} // namespace tvl
