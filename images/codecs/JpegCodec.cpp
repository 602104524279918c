#include "images/codecs/JpegCodec.h"

#include "images/CxImage.h"
#include "images/ExifOrientation.h"
#include "images/ImageLimits.h"
#include "images/LargePages.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace tvl {

namespace {

// A hostile progressive file can hold thousands of tiny scans that take minutes to decode.
constexpr long maxScans = 1000;

struct ErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void errorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings are quiet, except where the data runs out (the file ends, or a marker comes where coded data
// should) or a progressive file codes detail before the base of its blocks: such a file is broken, and
// decoding it would paint a picture no data stands behind.
void emitMessage(j_common_ptr cinfo, int level)
{
    const int code = cinfo->err->msg_code;
    if (level == -1 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER || code == JWRN_BOGUS_PROGRESSION))
        errorExit(cinfo);
}

void outputMessage(j_common_ptr) {}

// The error manager of every codec call: errors leave by longjmp with their message kept, warnings stay
// quiet except those emitMessage turns into errors (which only decoding raises).
jpeg_error_mgr* quietErrors(ErrorManager& err)
{
    jpeg_std_error(&err.pub);
    err.pub.error_exit = errorExit;
    err.pub.emit_message = emitMessage;
    err.pub.output_message = outputMessage;
    return &err.pub;
}

void progress(j_common_ptr cinfo)
{
    if (cinfo->is_decompressor) {
        auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
        if (d->input_scan_number > maxScans) {
            auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
            std::snprintf(err->message, sizeof err->message, "JPEG file has too many scans");
            std::longjmp(err->jump, 1);
        }
    }
}

struct DecodeState
{
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    jpeg_progress_mgr progress;
    QByteArrayView data;
    QSize atLeast;
    QSize* headerSize = nullptr;
    CxImage* image = nullptr;
    QString error;
    int orientation = 1;
    std::vector<uchar> row;
};

void convertCmykRow(const uchar* cmyk, uchar* bgr, int width, bool inverted)
{
    for (int x = 0; x < width; ++x, cmyk += 4) {
        int c = cmyk[0];
        int m = cmyk[1];
        int y = cmyk[2];
        int k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        bgr[3 * x] = uchar(y * k / 255);
        bgr[3 * x + 1] = uchar(m * k / 255);
        bgr[3 * x + 2] = uchar(c * k / 255);
    }
}

int chooseScale(const jpeg_decompress_struct& cinfo, QSize atLeast, int orientation)
{
    if (!atLeast.isValid())
        return 8;
    if (ExifOrientation::swapsSides(orientation))
        atLeast.transpose();
    for (int num = 1; num < 8; ++num) {
        const qint64 w = (qint64(cinfo.image_width) * num + 7) / 8;
        const qint64 h = (qint64(cinfo.image_height) * num + 7) / 8;
        if (w >= atLeast.width() && h >= atLeast.height())
            return num;
    }
    return 8;
}

bool allocate(DecodeState& s, int bpp)
{
    if (!s.image->Create(int(s.cinfo.output_width), int(s.cinfo.output_height), bpp, CXIMAGE_FORMAT_JPG)) {
        s.error = s.image->lastError();
        return false;
    }
    if (s.cinfo.out_color_space == JCS_CMYK)
        s.row.resize(size_t(s.cinfo.output_width) * 4);
    if (s.cinfo.density_unit == 1 && s.cinfo.X_density > 0 && s.cinfo.Y_density > 0)
        s.image->SetResolution(s.cinfo.X_density, s.cinfo.Y_density);
    else if (s.cinfo.density_unit == 2 && s.cinfo.X_density > 0 && s.cinfo.Y_density > 0)
        s.image->SetResolution(qRound(s.cinfo.X_density * 2.54), qRound(s.cinfo.Y_density * 2.54));
    return true;
}

// Every 8 x 8 block of every component costs the coded data at least one bit (its DC difference), so a
// file shorter than an eighth of its block count cannot hold its picture (arithmetic coding could go below
// a bit, but no camera or editor writes such files).
bool checkSize(const jpeg_decompress_struct& cinfo, qsizetype dataSize, QString& error)
{
    if (!ImageLimits::check(cinfo.image_width, cinfo.image_height, error))
        return false;
    qint64 blocks = 0;
    for (int c = 0; c < cinfo.num_components; ++c)
        blocks += qint64(cinfo.comp_info[c].width_in_blocks) * cinfo.comp_info[c].height_in_blocks;
    return ImageLimits::checkData(blocks, dataSize, 8, error);
}

bool checkSize(DecodeState& s)
{
    return checkSize(s.cinfo, s.data.size(), s.error);
}

int exifOrientation(const jpeg_decompress_struct& cinfo)
{
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) {
        if (m->marker == JPEG_APP0 + 1)
            return ExifOrientation::read(
                QByteArrayView(reinterpret_cast<const char*>(m->data), m->data_length));
    }
    return 1;
}

void readExif(DecodeState& s)
{
    s.orientation = exifOrientation(s.cinfo);
}

void setError(DecodeState& s)
{
    s.error = QString::fromLatin1(s.err.message);
}

// Only plain data lives in this frame: libjpeg leaves it with longjmp on errors.
bool runDecode(DecodeState& s)
{
    jpeg_decompress_struct& cinfo = s.cinfo;
    cinfo.err = quietErrors(s.err);
    if (setjmp(s.err.jump)) {
        setError(s);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    s.progress.progress_monitor = progress;
    cinfo.progress = &s.progress;
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(s.data.data()),
                 static_cast<unsigned long>(s.data.size()));
    jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xffff);
    jpeg_read_header(&cinfo, TRUE);
    if (!checkSize(s)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    readExif(s);
    if (s.headerSize) {
        *s.headerSize = QSize(int(cinfo.image_width), int(cinfo.image_height));
        if (ExifOrientation::swapsSides(s.orientation))
            s.headerSize->transpose();
        jpeg_destroy_decompress(&cinfo);
        return true;
    }
    const bool grey = cinfo.jpeg_color_space == JCS_GRAYSCALE;
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = grey ? JCS_GRAYSCALE : (cmyk ? JCS_CMYK : JCS_EXT_BGR);
    cinfo.scale_num = static_cast<unsigned int>(chooseScale(cinfo, s.atLeast, s.orientation));
    cinfo.scale_denom = 8;
    if (cinfo.scale_num < 8) {
        // A reduced picture is only a preview: trade the last bit of accuracy for speed.
        cinfo.dct_method = JDCT_IFAST;
        cinfo.do_fancy_upsampling = FALSE;
    }
    jpeg_start_decompress(&cinfo);
    if (!allocate(s, grey ? 8 : 24)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    const int width = int(cinfo.output_width);
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = int(cinfo.output_scanline);
        if (cmyk) {
            JSAMPROW row = s.row.data();
            jpeg_read_scanlines(&cinfo, &row, 1);
            convertCmykRow(s.row.data(), s.image->ScanLine(y), width, cinfo.saw_Adobe_marker);
        } else {
            JSAMPROW rows[4];
            const int count = int(std::min<JDIMENSION>(4, cinfo.output_height - cinfo.output_scanline));
            for (int i = 0; i < count; ++i)
                rows[i] = s.image->ScanLine(y + i);
            jpeg_read_scanlines(&cinfo, rows, JDIMENSION(count));
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

struct DrawableState
{
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    jpeg_progress_mgr progress;
    QByteArrayView data;
    QString error;
};

// Reads the header and starts a colour picture towards 32-bit rows; false (with nothing left to destroy)
// for a broken file and for a picture those rows cannot hold as it is drawn. Plain data only, as above.
bool startDrawable(DrawableState& s)
{
    jpeg_decompress_struct& cinfo = s.cinfo;
    cinfo.err = quietErrors(s.err);
    if (setjmp(s.err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    s.progress.progress_monitor = progress;
    cinfo.progress = &s.progress;
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(s.data.data()),
                 static_cast<unsigned long>(s.data.size()));
    jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xffff);
    jpeg_read_header(&cinfo, TRUE);
    const bool colour = cinfo.jpeg_color_space != JCS_GRAYSCALE && cinfo.jpeg_color_space != JCS_CMYK &&
                        cinfo.jpeg_color_space != JCS_YCCK;
    if (!colour || !checkSize(cinfo, s.data.size(), s.error) || exifOrientation(cinfo) != 1) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    // RGB32 words are 0xffRRGGBB; libjpeg-turbo sets the unused byte to 0xff.
    cinfo.out_color_space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;
    jpeg_start_decompress(&cinfo);
    return true;
}

bool readDrawableRows(DrawableState& s, uchar* bits, qsizetype bytesPerLine)
{
    jpeg_decompress_struct& cinfo = s.cinfo;
    if (setjmp(s.err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW rows[4];
        const int count = int(std::min<JDIMENSION>(4, cinfo.output_height - cinfo.output_scanline));
        for (int i = 0; i < count; ++i)
            rows[i] = bits + (qsizetype(cinfo.output_scanline) + i) * bytesPerLine;
        jpeg_read_scanlines(&cinfo, rows, JDIMENSION(count));
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

// What the encoder needs of a picture: its size, the layout of its pixels and where each row starts.
struct EncodeState
{
    jpeg_compress_struct cinfo;
    ErrorManager err;
    int width = 0;
    int height = 0;
    int components = 3;
    J_COLOR_SPACE colorSpace = JCS_EXT_BGR;
    int quality = kDefaultJpegQuality;
    int xDpi = 0;
    int yDpi = 0;
    std::function<const uchar*(int)> row;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    QString error;
};

bool runEncode(EncodeState& s)
{
    jpeg_compress_struct& cinfo = s.cinfo;
    cinfo.err = quietErrors(s.err);
    if (setjmp(s.err.jump)) {
        s.error = QString::fromLatin1(s.err.message);
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &s.buffer, &s.size);
    cinfo.image_width = JDIMENSION(s.width);
    cinfo.image_height = JDIMENSION(s.height);
    cinfo.input_components = s.components;
    cinfo.in_color_space = s.colorSpace;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, s.quality, TRUE);
    cinfo.density_unit = 1;
    cinfo.X_density = UINT16(std::clamp(s.xDpi, 1, 65535));
    cinfo.Y_density = UINT16(std::clamp(s.yDpi, 1, 65535));
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(s.row(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

Result<QByteArray, QString> encodeRows(EncodeState& state)
{
    const bool ok = runEncode(state);
    QByteArray bytes;
    if (ok)
        bytes = QByteArray(reinterpret_cast<const char*>(state.buffer), qsizetype(state.size));
    std::free(state.buffer);
    if (!ok)
        return state.error;
    return bytes;
}

} // namespace

bool JpegCodec::decode(QByteArrayView data, QSize atLeast, CxImage& image, QString& error, QSize* headerSize)
{
    if (data.size() < 3 || uchar(data[0]) != 0xff || uchar(data[1]) != 0xd8) {
        error = QStringLiteral("Not a JPEG file");
        return false;
    }
    DecodeState state;
    state.data = data;
    state.atLeast = atLeast;
    state.image = &image;
    state.headerSize = headerSize;
    if (!runDecode(state)) {
        error = state.error;
        return false;
    }
    if (headerSize)
        return true;
    if (!ExifOrientation::apply(image, state.orientation)) {
        error = image.lastError();
        return false;
    }
    return true;
}

QImage JpegCodec::decodeDrawable(QByteArrayView data)
{
    if (data.size() < 3 || uchar(data[0]) != 0xff || uchar(data[1]) != 0xd8)
        return {};
    DrawableState state;
    state.data = data;
    if (!startDrawable(state))
        return {};
    QImage image = LargePageImage(QSize(int(state.cinfo.output_width), int(state.cinfo.output_height)),
                                  QImage::Format_RGB32);
    if (image.isNull()) {
        jpeg_destroy_decompress(&state.cinfo);
        return {};
    }
    if (!readDrawableRows(state, image.bits(), image.bytesPerLine()))
        return {};
    return image;
}

Result<QByteArray, QString> JpegCodec::encode(const CxImage& image)
{
    if (!(image.Bpp() == 24 || image.IsGreyScale()))
        return QStringLiteral("JPEG can save only RGB or GreyScale images");
    EncodeState state;
    state.width = image.Width();
    state.height = image.Height();
    if (image.Bpp() == 8) {
        state.components = 1;
        state.colorSpace = JCS_GRAYSCALE;
    }
    state.quality = image.JpegQuality();
    state.xDpi = image.XDpi();
    state.yDpi = image.YDpi();
    state.row = [&image](int y) { return image.ScanLine(y); };
    return encodeRows(state);
}

Result<QByteArray, QString> JpegCodec::encode(const QImage& image, int quality, int dpi)
{
    if (image.format() != QImage::Format_RGB32)
        return QStringLiteral("JPEG can save only RGB or GreyScale images");
    EncodeState state;
    state.width = image.width();
    state.height = image.height();
    state.components = 4;
    // QImage's RGB32 pixels are 0xffRRGGBB words: blue comes first in memory on a little-endian machine.
    state.colorSpace = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;
    state.quality = std::clamp(quality, 0, 100);
    state.xDpi = dpi;
    state.yDpi = dpi;
    state.row = [&image](int y) { return image.constScanLine(y); };
    return encodeRows(state);
}

} // namespace tvl
