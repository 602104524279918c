#include "images/codecs/PngCodec.h"

#include "images/CxImage.h"
#include "images/ImageLimits.h"
#include "images/codecs/BoxShrink.h"
#include "images/codecs/ChunksInOrder.h"
#include "images/codecs/DeflatePieces.h"
#include "images/codecs/PngRowFilter.h"

#include <QtEndian>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <vector>

#include <libdeflate.h>
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
    // A thumbnail's box: a larger picture is shrunk into it while its rows are read.
    QSize box;
    std::optional<BoxShrink> shrink;
    QString error;
    bool interlaced = false;
    // With alpha: one row at a time, or the whole picture when it is interlaced.
    std::vector<uchar> pixels;
    std::vector<png_bytep> rows;
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

// The sampling step a picture shrunk by this factor can afford: the coarsest grid of an interlaced file's
// passes that still puts a pixel in every cell.
int SamplingStep(int factor)
{
    for (const int step : {8, 4, 2})
        if (factor >= step)
            return step;
    return 1;
}

// The passes that make up the grid of a sampling step: 1 for every 8th pixel, 3 for every 4th, 5 for
// every 2nd, all 7 for all.
int PassesFor(int step)
{
    switch (step) {
    case 8:
        return 1;
    case 4:
        return 3;
    case 2:
        return 5;
    default:
        return 7;
    }
}

// The whole factor a thumbnail of a picture shrinks by while it is read; below 2 the picture is decoded
// as usual. Cells of an interlaced file, whose passes revisit every row of cells, are held for the
// whole picture: that pays off from a factor of 4.
int ShrinkFactor(QSize source, QSize box, bool interlaced)
{
    if (!box.isValid() || (source.width() <= box.width() && source.height() <= box.height()))
        return 1;
    const QSize fitted = source.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    const int factor = std::min(
        {source.width() / fitted.width(), source.height() / fitted.height(), BoxShrink::kLargestFactor});
    return factor < (interlaced ? 4 : 2) ? 1 : factor;
}

// Reads the rows a thumbnail needs straight into its cells: 8-bit channels without gamma or colour
// work, and of an interlaced file only the first passes, so the later ones are never even inflated.
bool shrinkWhileReading(DecodeState& s, QSize source, int factor, bool interlaced)
{
    png_set_strip_16(s.png);
    png_set_expand(s.png);
    png_read_update_info(s.png, s.info);
    const int channels = png_get_channels(s.png, s.info);
    s.shrink.emplace(source, factor, channels == 2 || channels == 4, !interlaced);
    if (!s.shrink->Start(*s.image, s.error))
        return false;
    s.pixels.resize(png_get_rowbytes(s.png, s.info));
    if (!interlaced) {
        for (int y = 0; y < source.height(); ++y) {
            png_read_row(s.png, s.pixels.data(), nullptr);
            s.shrink->AddRow(y, s.pixels.data(), source.width(), 0, 1, channels);
        }
        s.shrink->Finish();
        return true;
    }
    const int passes = PassesFor(SamplingStep(factor));
    for (int pass = 0; pass < passes; ++pass) {
        const int rows = int(PNG_PASS_ROWS(png_uint_32(source.height()), pass));
        const int columns = int(PNG_PASS_COLS(png_uint_32(source.width()), pass));
        // libpng skips empty passes as well.
        if (rows == 0 || columns == 0)
            continue;
        for (int row = 0; row < rows; ++row) {
            png_read_row(s.png, s.pixels.data(), nullptr);
            const int y = int(PNG_PASS_START_ROW(pass)) + row * int(PNG_PASS_ROW_OFFSET(pass));
            s.shrink->AddRow(y, s.pixels.data(), columns, int(PNG_PASS_START_COL(pass)),
                             int(PNG_PASS_COL_OFFSET(pass)), channels);
        }
    }
    s.shrink->Finish();
    return true;
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
    // A thumbnail shrinks by the whole factor that keeps it no smaller than the box allows; the caller
    // resamples the rest of the way.
    const QSize source(int(png_get_image_width(s.png, s.info)), int(png_get_image_height(s.png, s.info)));
    const bool interlaced = png_get_interlace_type(s.png, s.info) != PNG_INTERLACE_NONE;
    if (const int factor = ShrinkFactor(source, s.box, interlaced); factor > 1) {
        const bool shrunk = shrinkWhileReading(s, source, factor, interlaced);
        png_destroy_read_struct(&s.png, &s.info, nullptr);
        return shrunk;
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

enum class Pixels
{
    Rgb,
    Rgba,
    Grey,
    Palette,
};

// How the image's rows are stored in the file.
struct Layout
{
    Pixels pixels = Pixels::Rgb;
    int colorType = PNG_COLOR_TYPE_RGB;
    int depth = 8;
    int bytesPerPixel = 3;
    size_t rowLength = 0;
    // libpng filters only rows of whole bytes per pixel that are not palette indices; so do we.
    bool filtered = true;
};

Layout LayoutOf(const CxImage& image)
{
    const auto width = size_t(image.Width());
    if (image.HasAlpha())
        return {Pixels::Rgba, PNG_COLOR_TYPE_RGB_ALPHA, 8, 4, width * 4, true};
    if (image.IsGreyScale())
        return {Pixels::Grey, PNG_COLOR_TYPE_GRAY, 8, 1, width, true};
    if (image.Bpp() <= 8)
        return {Pixels::Palette,
                PNG_COLOR_TYPE_PALETTE,
                image.Bpp(),
                1,
                (width * size_t(image.Bpp()) + 7) / 8,
                false};
    return {Pixels::Rgb, PNG_COLOR_TYPE_RGB, 8, 3, width * 3, true};
}

void RawRow(const CxImage& image, const Layout& layout, int y, uchar* out)
{
    const uchar* source = image.ScanLine(y);
    switch (layout.pixels) {
    case Pixels::Rgb:
        for (size_t i = 0; i < layout.rowLength; i += 3) {
            out[i] = source[i + 2];
            out[i + 1] = source[i + 1];
            out[i + 2] = source[i];
        }
        break;
    case Pixels::Rgba: {
        const uchar* alpha = image.AlphaScanLine(y);
        for (int x = 0; x < image.Width(); ++x) {
            const QRgb color = image.PixelColor(x, y);
            uchar* p = out + 4 * size_t(x);
            p[0] = uchar(qRed(color));
            p[1] = uchar(qGreen(color));
            p[2] = uchar(qBlue(color));
            p[3] = alpha[x];
        }
        break;
    }
    case Pixels::Grey:
    case Pixels::Palette:
        std::memcpy(out, source, layout.rowLength);
        break;
    }
}

void AppendBigEndian(QByteArray& out, uint32_t value)
{
    const char bytes[4] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    out.append(bytes, 4);
}

// One chunk: length, type, the data (given in parts, so that large pieces are not copied to join them)
// and the CRC of type and data.
void AppendChunk(QByteArray& out, const char* type, std::initializer_list<QByteArrayView> parts)
{
    qsizetype length = 0;
    for (QByteArrayView part : parts)
        length += part.size();
    AppendBigEndian(out, uint32_t(length));
    out.append(type, 4);
    uint32_t crc = libdeflate_crc32(0, type, 4);
    for (QByteArrayView part : parts) {
        // libdeflate starts the checksum afresh for a null buffer, which an empty part may have.
        if (part.isEmpty())
            continue;
        out.append(part);
        crc = libdeflate_crc32(crc, part.data(), size_t(part.size()));
    }
    AppendBigEndian(out, crc);
}

void AppendHeaderChunks(QByteArray& out, const CxImage& image, const Layout& layout)
{
    QByteArray header;
    AppendBigEndian(header, uint32_t(image.Width()));
    AppendBigEndian(header, uint32_t(image.Height()));
    header.append(char(layout.depth));
    header.append(char(layout.colorType));
    header.append(3, '\0'); // deflate, adaptive filtering, no interlace
    AppendChunk(out, "IHDR", {header});

    if (layout.pixels == Pixels::Palette) {
        const QList<QRgb> palette = image.Palette().mid(0, 1 << layout.depth);
        QByteArray colors;
        for (QRgb entry : palette) {
            colors.append(char(qRed(entry)));
            colors.append(char(qGreen(entry)));
            colors.append(char(qBlue(entry)));
        }
        AppendChunk(out, "PLTE", {colors});
        const int index = image.TransparentIndex();
        if (index >= 0 && index < palette.size()) {
            QByteArray alphas(index + 1, char(255));
            alphas[index] = 0;
            AppendChunk(out, "tRNS", {alphas});
        }
    } else if (layout.pixels == Pixels::Rgb && image.HasTransparency()) {
        const QRgb key = image.TransparentColor();
        const char sample[6] = {0, char(qRed(key)), 0, char(qGreen(key)), 0, char(qBlue(key))};
        AppendChunk(out, "tRNS", {QByteArrayView(sample, 6)});
    }

    const auto perMeter = [](int dpi) { return uint32_t(qRound(dpi / 0.0254)); };
    QByteArray resolution;
    AppendBigEndian(resolution, perMeter(image.XDpi()));
    AppendBigEndian(resolution, perMeter(image.YDpi()));
    resolution.append(char(PNG_RESOLUTION_METER));
    AppendChunk(out, "pHYs", {resolution});
}

// Rows are filtered and compressed in pieces of about this many bytes, each on its own thread.
constexpr size_t kPieceBytes = size_t(1) << 20;

// The filtered rows from first up to (not including) end, compressed as one piece of the image data.
std::optional<DeflatePiece> CompressRows(const CxImage& image, const Layout& layout, int first, int end)
{
    const size_t stride = layout.rowLength + 1;
    QByteArray filtered(qsizetype(stride * size_t(end - first)), Qt::Uninitialized);
    std::vector<uchar> rows(2 * layout.rowLength);
    uchar* row = rows.data();
    uchar* previous = rows.data() + layout.rowLength;
    bool hasPrevious = first > 0 && layout.filtered;
    if (hasPrevious)
        RawRow(image, layout, first - 1, previous);
    PngRowFilter filter(layout.rowLength, layout.bytesPerPixel);
    auto* out = reinterpret_cast<uchar*>(filtered.data());
    for (int y = first; y < end; ++y, out += stride) {
        RawRow(image, layout, y, row);
        if (layout.filtered) {
            filter.Filter(row, hasPrevious ? previous : nullptr, out);
            std::swap(row, previous);
            hasPrevious = true;
        } else {
            out[0] = 0;
            std::memcpy(out + 1, row, layout.rowLength);
        }
    }
    return CompressDeflatePiece(filtered, end == image.Height());
}

} // namespace

namespace {

// Decodes into `image`, whole or, with a box, shrunk while the rows are read.
bool decodeInto(QByteArrayView data, CxImage& image, QString& error, QSize* headerSize, QSize box)
{
    if (data.size() < 8 || png_sig_cmp(reinterpret_cast<png_const_bytep>(data.data()), 0, 8) != 0) {
        error = QStringLiteral("Not a PNG file");
        return false;
    }
    DecodeState state;
    state.data = data;
    state.image = &image;
    state.headerSize = headerSize;
    state.box = box;
    if (!runDecode(state)) {
        error = state.error.isEmpty() ? QStringLiteral("PNG decoding failed") : state.error;
        return false;
    }
    if (!state.shrink && !state.pixels.empty())
        splitAlpha(state.pixels, image);
    return true;
}

} // namespace

bool PngCodec::decode(QByteArrayView data, CxImage& image, QString& error, QSize* headerSize)
{
    return decodeInto(data, image, error, headerSize, QSize());
}

bool PngCodec::decodeThumbnail(QByteArrayView data, QSize box, CxImage& image, QString& error)
{
    return decodeInto(data, image, error, nullptr, box);
}

bool PngCodec::encode(const CxImage& image, QByteArray& out, QString& error)
{
    if (!image.IsValid()) {
        error = QStringLiteral("PNG encoding failed: no image");
        return false;
    }
    const Layout layout = LayoutOf(image);
    const int rowsPerPiece = int(std::max<size_t>(1, kPieceBytes / (layout.rowLength + 1)));
    const int pieces = (image.Height() + rowsPerPiece - 1) / rowsPerPiece;
    out.clear();
    out.append("\x89PNG\r\n\x1a\n", 8);
    AppendHeaderChunks(out, image, layout);
    uint32_t adler = 1;
    const bool written = MakeChunksInOrder<DeflatePiece>(
        pieces,
        [&](int piece) {
            const int first = piece * rowsPerPiece;
            return CompressRows(image, layout, first, std::min(image.Height(), first + rowsPerPiece));
        },
        [&](int piece, DeflatePiece& compressed) {
            adler = piece == 0 ? compressed.adler : CombineAdler(adler, compressed.adler, compressed.length);
            const bool last = piece == pieces - 1;
            AppendChunk(out, "IDAT",
                        {piece == 0 ? QByteArrayView(ZlibStreamHeader()) : QByteArrayView(), compressed.bytes,
                         last ? QByteArrayView(ZlibStreamTrailer(adler)) : QByteArrayView()});
        });
    if (!written) {
        out.clear();
        error = QStringLiteral("PNG encoding failed: not enough memory");
        return false;
    }
    AppendChunk(out, "IEND", {});
    return true;
}

} // namespace tvl
