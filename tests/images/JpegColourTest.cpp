#include "ImageTestSupport.h"

#include "images/CxImage.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace tvl {
namespace {

// Writes a 16 × 16 four-channel JPEG with libjpeg itself, stored as YCCK. Like Photoshop's files it carries
// an Adobe marker, so the channels are inverted: (255, 0, 0, 255) is full red.
QByteArray ycckJpeg()
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = 16;
    cinfo.image_height = 16;
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, JCS_YCCK);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(16 * 4);
    for (int x = 0; x < 16; ++x) {
        row[size_t(4 * x)] = 255;
        row[size_t(4 * x + 3)] = 255;
    }
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray bytes(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return bytes;
}

TEST(DecodeJpeg, YcckBecomesRgb)
{
    CxImage image;
    ASSERT_TRUE(image.LoadBuffer(ycckJpeg(), CXIMAGE_FORMAT_JPG)) << image.lastError().toStdString();
    EXPECT_EQ(image.Bpp(), 24);
    EXPECT_TRUE(test::colorNear(image.PixelColor(8, 8), qRgb(255, 0, 0), 6));
}

} // namespace
} // namespace tvl
