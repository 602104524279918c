#include "images/codecs/TiffCodec.h"

#include "images/CxImage.h"
#include "images/ImageLimits.h"

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

void writeTags(TIFF* tif, const CxImage& image, int samples, int bitsPerSample, int photometric)
{
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(image.Width()));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(image.Height()));
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, uint16_t(samples));
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, uint16_t(bitsPerSample));
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, uint16_t(photometric));
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, uint16_t(PLANARCONFIG_CONTIG));
    TIFFSetField(tif, TIFFTAG_COMPRESSION, uint16_t(COMPRESSION_LZW));
    TIFFSetField(tif, TIFFTAG_ORIENTATION, uint16_t(ORIENTATION_TOPLEFT));
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
    TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, uint16_t(RESUNIT_INCH));
    TIFFSetField(tif, TIFFTAG_XRESOLUTION, float(image.XDpi()));
    TIFFSetField(tif, TIFFTAG_YRESOLUTION, float(image.YDpi()));
    if (samples == 4) {
        const uint16_t extra[1] = {EXTRASAMPLE_UNASSALPHA};
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, uint16_t(1), extra);
    }
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
    Stream stream;
    stream.output = &out;
    auto tif = open(stream, "w");
    if (!tif) {
        error = stream.error.isEmpty() ? QStringLiteral("TIFF: cannot start the file") : stream.error;
        return false;
    }
    const int bpp = image.Bpp();
    const bool grey = image.IsGreyScale() && !image.HasAlpha();
    const bool alpha = image.HasAlpha();
    std::vector<uchar> row;
    if (grey) {
        writeTags(tif.get(), image, 1, 8, PHOTOMETRIC_MINISBLACK);
    } else if (bpp <= 8 && !alpha) {
        writeTags(tif.get(), image, 1, bpp, PHOTOMETRIC_PALETTE);
        std::vector<uint16_t> red;
        std::vector<uint16_t> green;
        std::vector<uint16_t> blue;
        for (QRgb entry : image.Palette()) {
            red.push_back(uint16_t(qRed(entry) * 257));
            green.push_back(uint16_t(qGreen(entry) * 257));
            blue.push_back(uint16_t(qBlue(entry) * 257));
        }
        TIFFSetField(tif.get(), TIFFTAG_COLORMAP, red.data(), green.data(), blue.data());
    }
    const bool packed = grey || (bpp <= 8 && !alpha);
    if (!packed)
        writeTags(tif.get(), image, alpha ? 4 : 3, 8, PHOTOMETRIC_RGB);
    row.resize(packed ? size_t(image.BytesPerLine()) : size_t(image.Width()) * (alpha ? 4 : 3));
    for (int y = 0; y < image.Height(); ++y) {
        if (packed) {
            std::memcpy(row.data(), image.ScanLine(y), row.size());
        } else {
            const int samples = alpha ? 4 : 3;
            for (int x = 0; x < image.Width(); ++x) {
                const QRgb c = image.PixelColor(x, y);
                uchar* p = row.data() + size_t(x) * size_t(samples);
                p[0] = uchar(qRed(c));
                p[1] = uchar(qGreen(c));
                p[2] = uchar(qBlue(c));
                if (alpha)
                    p[3] = uchar(qAlpha(c));
            }
        }
        if (TIFFWriteScanline(tif.get(), row.data(), uint32_t(y), 0) < 0) {
            error = stream.error.isEmpty() ? QStringLiteral("TIFF: write failed") : stream.error;
            return false;
        }
    }
    if (!TIFFWriteDirectory(tif.get())) {
        error = stream.error.isEmpty() ? QStringLiteral("TIFF: write failed") : stream.error;
        return false;
    }
    tif.reset();
    return true;
}

} // namespace tvl
