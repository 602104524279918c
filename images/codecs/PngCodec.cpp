#include "images/codecs/PngCodec.h"

#include "images/CxImage.h"
#include "images/ImageLimits.h"

#include <QtEndian>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <vector>

#include <png.h>

namespace tvl {

namespace {

// Deflate's longest match, 258 bytes, takes at least two bits: no stream expands more than this.
constexpr qint64 maxInflateRatio = 1032;

enum class Output
{
    Index,
    Grey,
    Bgr,
    Bgra,
};

struct DecodeState
{
    png_structp png = nullptr;
    png_infop info = nullptr;
    QByteArrayView data;
    qsizetype offset = 0;
    CxImage* image = nullptr;
    QSize* headerSize = nullptr;
    QString error;
    bool interlaced = false;
    // With alpha: one row at a time, or the whole picture when it is interlaced.
    std::vector<uchar> pixels;
    std::vector<png_bytep> rows;
};

struct EncodeState
{
    png_structp png = nullptr;
    png_infop info = nullptr;
    const CxImage* image = nullptr;
    QByteArray out;
    QString error;
    std::vector<uchar> row;
    std::vector<png_color> palette;
    std::vector<png_byte> alphas;
};

[[noreturn]] void errorFn(png_structp png, png_const_charp message)
{
    auto* error = static_cast<QString*>(png_get_error_ptr(png));
    *error = QString::fromLatin1(message);
    png_longjmp(png, 1);
}

void warningFn(png_structp, png_const_charp) {}

void readFn(png_structp png, png_bytep out, png_size_t length)
{
    auto* s = static_cast<DecodeState*>(png_get_io_ptr(png));
    if (length > size_t(s->data.size() - s->offset))
        png_error(png, "PNG file truncated");
    std::memcpy(out, s->data.data() + s->offset, length);
    s->offset += qsizetype(length);
}

void writeFn(png_structp png, png_bytep data, png_size_t length)
{
    auto* s = static_cast<EncodeState*>(png_get_io_ptr(png));
    s->out.append(reinterpret_cast<const char*>(data), qsizetype(length));
}

void flushFn(png_structp) {}

Output chooseTransforms(png_structp png, png_infop info)
{
    const int colorType = png_get_color_type(png, info);
    const bool tRNS = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (png_get_bit_depth(png, info) == 16)
        png_set_scale_16(png);
    Output output = Output::Bgr;
    switch (colorType) {
    case PNG_COLOR_TYPE_PALETTE:
        if (!tRNS) {
            // 1 and 4-bit rows are laid out as in a DIB; 2-bit ones have no DIB depth and are widened.
            if (png_get_bit_depth(png, info) == 2)
                png_set_packing(png);
            return Output::Index;
        }
        png_set_palette_to_rgb(png);
        png_set_tRNS_to_alpha(png);
        output = Output::Bgra;
        break;
    case PNG_COLOR_TYPE_GRAY:
        if (!tRNS) {
            png_set_expand_gray_1_2_4_to_8(png);
            return Output::Grey;
        }
        png_set_expand_gray_1_2_4_to_8(png);
        png_set_gray_to_rgb(png);
        png_set_tRNS_to_alpha(png);
        output = Output::Bgra;
        break;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        png_set_gray_to_rgb(png);
        output = Output::Bgra;
        break;
    case PNG_COLOR_TYPE_RGB:
        if (tRNS) {
            png_set_tRNS_to_alpha(png);
            output = Output::Bgra;
        }
        break;
    default:
        output = Output::Bgra;
        break;
    }
    png_set_bgr(png);
    return output;
}

bool prepareImage(DecodeState& s, Output output)
{
    const int width = int(png_get_image_width(s.png, s.info));
    const int height = int(png_get_image_height(s.png, s.info));
    int bpp = output == Output::Bgr || output == Output::Bgra ? 24 : 8;
    if (output == Output::Index)
        bpp = png_get_bit_depth(s.png, s.info);
    if (!s.image->Create(width, height, bpp, CXIMAGE_FORMAT_PNG)) {
        s.error = s.image->lastError();
        return false;
    }
    if (output == Output::Index) {
        png_colorp palette = nullptr;
        int count = 0;
        png_get_PLTE(s.png, s.info, &palette, &count);
        QList<QRgb> colors;
        for (int i = 0; i < count; ++i)
            colors.append(qRgb(palette[i].red, palette[i].green, palette[i].blue) & 0x00ffffffu);
        s.image->SetPalette(colors);
    }
    png_uint_32 xRes = 0;
    png_uint_32 yRes = 0;
    int unit = 0;
    if (png_get_pHYs(s.png, s.info, &xRes, &yRes, &unit) && unit == PNG_RESOLUTION_METER && xRes > 0 &&
        yRes > 0 && xRes < 1'000'000 && yRes < 1'000'000)
        s.image->SetResolution(qRound(xRes * 0.0254), qRound(yRes * 0.0254));
    if (output == Output::Bgra && !s.interlaced) {
        s.image->AlphaCreate();
        s.pixels.resize(size_t(width) * 4);
        return true;
    }
    s.rows.resize(size_t(height));
    if (output == Output::Bgra) {
        s.pixels.resize(size_t(width) * 4 * size_t(height));
        for (int y = 0; y < height; ++y)
            s.rows[size_t(y)] = s.pixels.data() + size_t(y) * size_t(width) * 4;
    } else {
        for (int y = 0; y < height; ++y)
            s.rows[size_t(y)] = s.image->ScanLine(y);
    }
    return true;
}

void splitRow(const uchar* bgra, CxImage& image, int y)
{
    uchar* dst = image.ScanLine(y);
    uchar* alpha = image.AlphaScanLine(y);
    for (int x = 0; x < image.Width(); ++x, bgra += 4) {
        dst[3 * x] = bgra[0];
        dst[3 * x + 1] = bgra[1];
        dst[3 * x + 2] = bgra[2];
        alpha[x] = bgra[3];
    }
}

void splitAlpha(const std::vector<uchar>& bgra, CxImage& image)
{
    image.AlphaCreate();
    for (int y = 0; y < image.Height(); ++y)
        splitRow(bgra.data() + size_t(y) * size_t(image.Width()) * 4, image, y);
}

// The bytes of all IDAT chunks, read from the chunk headers without inflating anything.
qint64 compressedBytes(QByteArrayView data)
{
    qint64 total = 0;
    qint64 offset = 8;
    while (offset + 8 <= data.size()) {
        const qint64 length = qFromBigEndian<quint32>(data.data() + offset);
        const QByteArrayView type = data.sliced(offset + 4, 4);
        if (type == QByteArrayView("IEND", 4))
            break;
        if (type == QByteArrayView("IDAT", 4))
            total += std::min(length, data.size() - offset - 8);
        offset += 12 + length;
    }
    return total;
}

// Before anything is allocated: the size is within the limits and the compressed data could fill it.
bool checkSize(DecodeState& s)
{
    const png_uint_32 width = png_get_image_width(s.png, s.info);
    const png_uint_32 height = png_get_image_height(s.png, s.info);
    if (!ImageLimits::check(width, height, s.error))
        return false;
    const qint64 filtered = qint64(height) * (qint64(png_get_rowbytes(s.png, s.info)) + 1);
    return ImageLimits::checkData(filtered, compressedBytes(s.data), maxInflateRatio, s.error);
}

// Only plain data lives in this frame: libpng leaves it with longjmp on errors.
bool runDecode(DecodeState& s)
{
    s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &s.error, errorFn, warningFn);
    if (!s.png)
        return false;
    s.info = png_create_info_struct(s.png);
    if (!s.info || setjmp(png_jmpbuf(s.png))) {
        png_destroy_read_struct(&s.png, &s.info, nullptr);
        return false;
    }
    png_set_read_fn(s.png, &s, readFn);
    png_set_user_limits(s.png, png_uint_32(ImageLimits::maxSide()), png_uint_32(ImageLimits::maxSide()));
    png_read_info(s.png, s.info);
    if (!checkSize(s)) {
        png_destroy_read_struct(&s.png, &s.info, nullptr);
        return false;
    }
    if (s.headerSize) {
        *s.headerSize =
            QSize(int(png_get_image_width(s.png, s.info)), int(png_get_image_height(s.png, s.info)));
        png_destroy_read_struct(&s.png, &s.info, nullptr);
        return true;
    }
    const Output output = chooseTransforms(s.png, s.info);
    s.interlaced = png_set_interlace_handling(s.png) > 1;
    png_read_update_info(s.png, s.info);
    if (!prepareImage(s, output)) {
        png_destroy_read_struct(&s.png, &s.info, nullptr);
        return false;
    }
    if (s.rows.empty()) {
        // Rows with alpha are split as they arrive, so the picture never needs a second full copy.
        for (int y = 0; y < s.image->Height(); ++y) {
            png_read_row(s.png, s.pixels.data(), nullptr);
            splitRow(s.pixels.data(), *s.image, y);
        }
        s.pixels.clear();
    } else {
        png_read_image(s.png, s.rows.data());
    }
    png_destroy_read_struct(&s.png, &s.info, nullptr);
    return true;
}

void fillRow(EncodeState& s, int y, bool rgba)
{
    const CxImage& image = *s.image;
    const int width = image.Width();
    if (!rgba) {
        std::memcpy(s.row.data(), image.ScanLine(y), s.row.size());
        return;
    }
    const uchar* alpha = image.HasAlpha() ? image.AlphaScanLine(y) : nullptr;
    for (int x = 0; x < width; ++x) {
        const QRgb color = image.PixelColor(x, y);
        uchar* p = s.row.data() + 4 * x;
        p[0] = uchar(qBlue(color));
        p[1] = uchar(qGreen(color));
        p[2] = uchar(qRed(color));
        p[3] = alpha ? alpha[x] : 255;
    }
}

void describe(EncodeState& s, bool rgba)
{
    const CxImage& image = *s.image;
    const int bpp = image.Bpp();
    int colorType = PNG_COLOR_TYPE_RGB;
    int depth = 8;
    if (rgba) {
        colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    } else if (image.IsGreyScale()) {
        colorType = PNG_COLOR_TYPE_GRAY;
    } else if (bpp <= 8) {
        colorType = PNG_COLOR_TYPE_PALETTE;
        depth = bpp;
    }
    png_set_IHDR(s.png, s.info, png_uint_32(image.Width()), png_uint_32(image.Height()), depth, colorType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        for (QRgb entry : image.Palette())
            s.palette.push_back(
                png_color{png_byte(qRed(entry)), png_byte(qGreen(entry)), png_byte(qBlue(entry))});
        png_set_PLTE(s.png, s.info, s.palette.data(), int(s.palette.size()));
        const int index = image.TransparentIndex();
        if (index >= 0 && index < int(s.palette.size())) {
            s.alphas.assign(size_t(index) + 1, 255);
            s.alphas[size_t(index)] = 0;
            png_set_tRNS(s.png, s.info, s.alphas.data(), int(s.alphas.size()), nullptr);
        }
    } else if (colorType == PNG_COLOR_TYPE_RGB && image.HasTransparency()) {
        png_color_16 key{};
        key.red = png_uint_16(qRed(image.TransparentColor()));
        key.green = png_uint_16(qGreen(image.TransparentColor()));
        key.blue = png_uint_16(qBlue(image.TransparentColor()));
        png_set_tRNS(s.png, s.info, nullptr, 0, &key);
    }
    const auto meter = [](int dpi) { return png_uint_32(qRound(dpi / 0.0254)); };
    png_set_pHYs(s.png, s.info, meter(image.XDpi()), meter(image.YDpi()), PNG_RESOLUTION_METER);
    s.row.resize(rgba ? size_t(image.Width()) * 4 : size_t(image.BytesPerLine()));
}

bool runEncode(EncodeState& s)
{
    s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &s.error, errorFn, warningFn);
    if (!s.png)
        return false;
    s.info = png_create_info_struct(s.png);
    if (!s.info || setjmp(png_jmpbuf(s.png))) {
        png_destroy_write_struct(&s.png, &s.info);
        return false;
    }
    png_set_write_fn(s.png, &s, writeFn, flushFn);
    const bool rgba = s.image->HasAlpha();
    describe(s, rgba);
    png_write_info(s.png, s.info);
    if (s.image->Bpp() == 24 || rgba)
        png_set_bgr(s.png);
    for (int y = 0; y < s.image->Height(); ++y) {
        fillRow(s, y, rgba);
        png_write_row(s.png, s.row.data());
    }
    png_write_end(s.png, s.info);
    png_destroy_write_struct(&s.png, &s.info);
    return true;
}

} // namespace

bool PngCodec::decode(QByteArrayView data, CxImage& image, QString& error, QSize* headerSize)
{
    if (data.size() < 8 || png_sig_cmp(reinterpret_cast<png_const_bytep>(data.data()), 0, 8) != 0) {
        error = QStringLiteral("Not a PNG file");
        return false;
    }
    DecodeState state;
    state.data = data;
    state.image = &image;
    state.headerSize = headerSize;
    if (!runDecode(state)) {
        error = state.error.isEmpty() ? QStringLiteral("PNG decoding failed") : state.error;
        return false;
    }
    if (!state.pixels.empty())
        splitAlpha(state.pixels, image);
    return true;
}

bool PngCodec::encode(const CxImage& image, QByteArray& out, QString& error)
{
    EncodeState state;
    state.image = &image;
    if (!runEncode(state)) {
        error = state.error.isEmpty() ? QStringLiteral("PNG encoding failed") : state.error;
        return false;
    }
    out = std::move(state.out);
    return true;
}

} // namespace tvl
