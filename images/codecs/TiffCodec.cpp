#include "images/codecs/TiffCodec.h"

#include "images/CxImage.h"
#include "images/ImageLimits.h"
#include "images/codecs/ChunksInOrder.h"
#include "images/codecs/DeflatePieces.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <tiffio.h>

namespace tvl {

namespace {

// libtiff's own allocations (strip buffers, directories) beyond this are a hostile file, not a picture.
constexpr tmsize_t maxLibraryAllocation = 256 * 1024 * 1024;

struct Stream
{
    QByteArrayView input;
    QByteArray* output = nullptr;
    toff_t position = 0;
    QString error;
};

Stream* streamOf(thandle_t handle)
{
    return static_cast<Stream*>(handle);
}

tmsize_t readProc(thandle_t handle, void* buffer, tmsize_t size)
{
    Stream* s = streamOf(handle);
    const qsizetype length = s->output ? s->output->size() : s->input.size();
    const char* data = s->output ? s->output->constData() : s->input.data();
    if (size < 0 || s->position >= toff_t(length))
        return 0;
    const tmsize_t count = std::min<tmsize_t>(size, tmsize_t(length) - tmsize_t(s->position));
    std::memcpy(buffer, data + s->position, size_t(count));
    s->position += toff_t(count);
    return count;
}

tmsize_t writeProc(thandle_t handle, void* buffer, tmsize_t size)
{
    Stream* s = streamOf(handle);
    if (!s->output || size < 0)
        return 0;
    const toff_t end = s->position + toff_t(size);
    if (end > toff_t(s->output->size()))
        s->output->resize(qsizetype(end));
    std::memcpy(s->output->data() + s->position, buffer, size_t(size));
    s->position = end;
    return size;
}

toff_t seekProc(thandle_t handle, toff_t offset, int whence)
{
    Stream* s = streamOf(handle);
    const toff_t length = toff_t(s->output ? s->output->size() : s->input.size());
    toff_t base = 0;
    if (whence == SEEK_CUR)
        base = s->position;
    else if (whence == SEEK_END)
        base = length;
    s->position = base + offset;
    return s->position;
}

int closeProc(thandle_t)
{
    return 0;
}

toff_t sizeProc(thandle_t handle)
{
    Stream* s = streamOf(handle);
    return toff_t(s->output ? s->output->size() : s->input.size());
}

int mapProc(thandle_t, void**, toff_t*)
{
    return 0;
}

void unmapProc(thandle_t, void*, toff_t) {}

int errorHandler(TIFF*, void* user, const char*, const char* format, va_list args)
{
    char text[256];
    std::vsnprintf(text, sizeof text, format, args);
    auto* s = static_cast<Stream*>(user);
    if (s->error.isEmpty())
        s->error = QString::fromLatin1(text);
    return 1;
}

int warningHandler(TIFF*, void*, const char*, const char*, va_list)
{
    return 1;
}

struct TiffCloser
{
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};

std::unique_ptr<TIFF, TiffCloser> open(Stream& stream, const char* mode)
{
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, maxLibraryAllocation);
    TIFFOpenOptionsSetErrorHandlerExtR(options, errorHandler, &stream);
    TIFFOpenOptionsSetWarningHandlerExtR(options, warningHandler, &stream);
    TIFF* tif = TIFFClientOpenExt("memory", mode, &stream, readProc, writeProc, seekProc, closeProc, sizeProc,
                                  mapProc, unmapProc, options);
    TIFFOpenOptionsFree(options);
    return std::unique_ptr<TIFF, TiffCloser>(tif);
}

// How many decoded bytes one byte of the file can at most become under the picture's compression.
qint64 maxExpansion(TIFF* tif, uint32_t width)
{
    uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    switch (compression) {
    case COMPRESSION_NONE:
        return 1;
    case COMPRESSION_PACKBITS:
        return 64;
    case COMPRESSION_CCITTRLE:
    case COMPRESSION_CCITTRLEW:
    case COMPRESSION_CCITTFAX3:
    case COMPRESSION_CCITTFAX4:
        // A blank fax row codes in a single bit.
        return std::max<qint64>(8, width);
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE:
        return 1032;
    case COMPRESSION_OJPEG:
    case COMPRESSION_JPEG:
        // At least a bit for each 8 x 8 block of each sample.
        return 64 * 8;
    default:
        // LZW's 12-bit codes stand for at most 4096 bytes; the rarer schemes get the same allowance.
        return 4096 * 8 / 12 + 1;
    }
}

// Before the raster is allocated: the file is long enough to hold the picture it declares.
bool checkData(TIFF* tif, uint32_t width, uint32_t height, qint64 fileBytes, QString& error)
{
    uint16_t samples = 1;
    uint16_t bits = 1;
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    const qint64 rowBytes =
        (qint64(width) * std::max<uint16_t>(samples, 1) * std::max<uint16_t>(bits, 1) + 7) / 8;
    return ImageLimits::checkData(rowBytes * height, fileBytes, maxExpansion(tif, width), error);
}

void readResolution(TIFF* tif, CxImage& image)
{
    float x = 0;
    float y = 0;
    uint16_t unit = RESUNIT_INCH;
    if (!TIFFGetField(tif, TIFFTAG_XRESOLUTION, &x) || !TIFFGetField(tif, TIFFTAG_YRESOLUTION, &y))
        return;
    TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
    const float factor = unit == RESUNIT_CENTIMETER ? 2.54f : 1.0f;
    if (unit != RESUNIT_NONE && x * factor >= 1 && y * factor >= 1 && x * factor < 100000 &&
        y * factor < 100000)
        image.SetResolution(qRound(x * factor), qRound(y * factor));
}

bool hasAlpha(TIFF* tif)
{
    uint16_t count = 0;
    uint16_t* types = nullptr;
    if (!TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &count, &types) || count == 0 || !types)
        return false;
    return types[0] == EXTRASAMPLE_ASSOCALPHA || types[0] == EXTRASAMPLE_UNASSALPHA;
}

bool isGrey(TIFF* tif)
{
    uint16_t photometric = 0;
    uint16_t samples = 1;
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    return TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric) && samples == 1 &&
           (photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE);
}

void fillFromRaster(const std::vector<uint32_t>& raster, bool grey, bool alpha, CxImage& image)
{
    const int width = image.Width();
    if (alpha)
        image.AlphaCreate();
    for (int y = 0; y < image.Height(); ++y) {
        const uint32_t* src = raster.data() + size_t(y) * size_t(width);
        uchar* dst = image.ScanLine(y);
        uchar* a = alpha ? image.AlphaScanLine(y) : nullptr;
        for (int x = 0; x < width; ++x) {
            const uint32_t p = src[x];
            int r = int(TIFFGetR(p));
            int g = int(TIFFGetG(p));
            int b = int(TIFFGetB(p));
            if (grey) {
                dst[x] = uchar(r);
                continue;
            }
            if (a) {
                // libtiff hands out premultiplied colours.
                const int av = int(TIFFGetA(p));
                a[x] = uchar(av);
                if (av > 0 && av < 255) {
                    r = std::min(255, (r * 255 + av / 2) / av);
                    g = std::min(255, (g * 255 + av / 2) / av);
                    b = std::min(255, (b * 255 + av / 2) / av);
                }
            }
            dst[3 * x] = uchar(b);
            dst[3 * x + 1] = uchar(g);
            dst[3 * x + 2] = uchar(r);
        }
    }
}

// How the image's rows are stored: samples a pixel and bits a sample, as written to the file.
struct Layout
{
    int samples = 3;
    int bitsPerSample = 8;
    int photometric = PHOTOMETRIC_RGB;
    size_t rowLength = 0;
};

Layout LayoutOf(const CxImage& image)
{
    const auto width = size_t(image.Width());
    if (image.HasAlpha())
        return {4, 8, PHOTOMETRIC_RGB, width * 4};
    if (image.IsGreyScale())
        return {1, 8, PHOTOMETRIC_MINISBLACK, width};
    if (image.Bpp() <= 8)
        return {1, image.Bpp(), PHOTOMETRIC_PALETTE, (width * size_t(image.Bpp()) + 7) / 8};
    return {3, 8, PHOTOMETRIC_RGB, width * 3};
}

// Samples of 8 bits are stored as differences from the sample to their left, which deflate compresses far
// better; palette indices are not.
bool UsesPredictor(const Layout& layout)
{
    return layout.bitsPerSample == 8 && layout.photometric != PHOTOMETRIC_PALETTE;
}

void writeTags(TIFF* tif, const CxImage& image, const Layout& layout, int rowsPerStrip)
{
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(image.Width()));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(image.Height()));
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, uint16_t(layout.samples));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, uint16_t(layout.bitsPerSample));
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, uint16_t(layout.photometric));
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, uint16_t(PLANARCONFIG_CONTIG));
    TIFFSetField(tif, TIFFTAG_COMPRESSION, uint16_t(COMPRESSION_ADOBE_DEFLATE));
    if (UsesPredictor(layout))
        TIFFSetField(tif, TIFFTAG_PREDICTOR, uint16_t(PREDICTOR_HORIZONTAL));
    TIFFSetField(tif, TIFFTAG_ORIENTATION, uint16_t(ORIENTATION_TOPLEFT));
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, uint32_t(rowsPerStrip));
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, uint16_t(RESUNIT_INCH));
    TIFFSetField(tif, TIFFTAG_XRESOLUTION, float(image.XDpi()));
    TIFFSetField(tif, TIFFTAG_YRESOLUTION, float(image.YDpi()));
    if (layout.samples == 4) {
        const uint16_t extra[1] = {EXTRASAMPLE_UNASSALPHA};
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, uint16_t(1), extra);
    }
    if (layout.photometric == PHOTOMETRIC_PALETTE) {
        std::vector<uint16_t> red(size_t(1) << layout.bitsPerSample);
        std::vector<uint16_t> green(red.size());
        std::vector<uint16_t> blue(red.size());
        const QList<QRgb>& palette = image.Palette();
        for (size_t i = 0; i < red.size() && i < size_t(palette.size()); ++i) {
            red[i] = uint16_t(qRed(palette[qsizetype(i)]) * 257);
            green[i] = uint16_t(qGreen(palette[qsizetype(i)]) * 257);
            blue[i] = uint16_t(qBlue(palette[qsizetype(i)]) * 257);
        }
        TIFFSetField(tif, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data());
    }
}

void RawRow(const CxImage& image, const Layout& layout, int y, uchar* out)
{
    if (layout.photometric != PHOTOMETRIC_RGB) {
        std::memcpy(out, image.ScanLine(y), layout.rowLength);
        return;
    }
    if (layout.samples == 3) {
        const uchar* source = image.ScanLine(y);
        for (size_t i = 0; i < layout.rowLength; i += 3) {
            out[i] = source[i + 2];
            out[i + 1] = source[i + 1];
            out[i + 2] = source[i];
        }
        return;
    }
    const uchar* alpha = image.AlphaScanLine(y);
    for (int x = 0; x < image.Width(); ++x) {
        const QRgb c = image.PixelColor(x, y);
        uchar* p = out + size_t(x) * 4;
        p[0] = uchar(qRed(c));
        p[1] = uchar(qGreen(c));
        p[2] = uchar(qBlue(c));
        p[3] = alpha[x];
    }
}

// Strips are compressed each on its own thread, in about this many bytes of rows.
constexpr size_t kStripBytes = size_t(1) << 20;

std::optional<QByteArray> CompressStrip(const CxImage& image, const Layout& layout, int first, int end)
{
    QByteArray rows(qsizetype(layout.rowLength * size_t(end - first)), Qt::Uninitialized);
    auto* row = reinterpret_cast<uchar*>(rows.data());
    const auto samples = size_t(layout.samples);
    for (int y = first; y < end; ++y, row += layout.rowLength) {
        RawRow(image, layout, y, row);
        if (UsesPredictor(layout)) {
            for (size_t i = layout.rowLength - 1; i >= samples; --i)
                row[i] = uchar(row[i] - row[i - samples]);
        }
    }
    return CompressZlibStream(rows);
}

} // namespace

bool TiffCodec::decode(QByteArrayView data, CxImage& image, QString& error, QSize* headerSize)
{
    if (!data.startsWith(QByteArrayView("II*\0", 4)) && !data.startsWith(QByteArrayView("MM\0*", 4)) &&
        !data.startsWith(QByteArrayView("II+\0", 4)) && !data.startsWith(QByteArrayView("MM\0+", 4))) {
        error = QStringLiteral("Not a TIFF file");
        return false;
    }
    Stream stream;
    stream.input = data;
    auto tif = open(stream, "rm");
    if (!tif) {
        error = stream.error.isEmpty() ? QStringLiteral("Corrupted TIFF file!") : stream.error;
        return false;
    }
    uint32_t width = 0;
    uint32_t height = 0;
    TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height);
    if (!ImageLimits::check(width, height, error))
        return false;
    char message[1024] = {};
    if (!TIFFRGBAImageOK(tif.get(), message)) {
        error = QStringLiteral("TIFF: %1").arg(QString::fromLatin1(message));
        return false;
    }
    if (!checkData(tif.get(), width, height, data.size(), error))
        return false;
    if (headerSize) {
        *headerSize = QSize(int(width), int(height));
        return true;
    }
    const bool grey = isGrey(tif.get());
    const bool alpha = !grey && hasAlpha(tif.get());
    std::vector<uint32_t> raster;
    try {
        raster.resize(size_t(width) * size_t(height));
    } catch (const std::bad_alloc&) {
        error = QStringLiteral("TIFF: out of memory");
        return false;
    }
    if (!TIFFReadRGBAImageOriented(tif.get(), width, height, raster.data(), ORIENTATION_TOPLEFT, 1)) {
        error = stream.error.isEmpty() ? QStringLiteral("Corrupted TIFF file!")
                                       : QStringLiteral("TIFF: %1").arg(stream.error);
        return false;
    }
    if (!image.Create(int(width), int(height), grey ? 8 : 24, CXIMAGE_FORMAT_TIF)) {
        error = image.lastError();
        return false;
    }
    fillFromRaster(raster, grey, alpha, image);
    readResolution(tif.get(), image);
    return true;
}

bool TiffCodec::encode(const CxImage& image, QByteArray& out, QString& error)
{
    if (!image.IsValid()) {
        error = QStringLiteral("TIFF: no image");
        return false;
    }
    Stream stream;
    stream.output = &out;
    auto tif = open(stream, "w");
    if (!tif) {
        error = stream.error.isEmpty() ? QStringLiteral("TIFF: cannot start the file") : stream.error;
        return false;
    }
    const Layout layout = LayoutOf(image);
    const int rowsPerStrip =
        int(std::clamp<size_t>(kStripBytes / layout.rowLength, 1, size_t(image.Height())));
    const int strips = (image.Height() + rowsPerStrip - 1) / rowsPerStrip;
    writeTags(tif.get(), image, layout, rowsPerStrip);
    bool stored = true;
    const bool compressed = MakeChunksInOrder<QByteArray>(
        strips,
        [&](int strip) {
            const int first = strip * rowsPerStrip;
            return CompressStrip(image, layout, first, std::min(image.Height(), first + rowsPerStrip));
        },
        [&](int strip, QByteArray& bytes) {
            stored = stored && TIFFWriteRawStrip(tif.get(), uint32_t(strip), bytes.data(), bytes.size()) >= 0;
        });
    if (!compressed || !stored || !TIFFWriteDirectory(tif.get())) {
        error = !compressed              ? QStringLiteral("TIFF: not enough memory")
                : stream.error.isEmpty() ? QStringLiteral("TIFF: write failed")
                                         : stream.error;
        return false;
    }
    tif.reset();
    return true;
}

} // namespace tvl
