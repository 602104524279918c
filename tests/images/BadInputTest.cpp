#include "ImageTestSupport.h"

#include "images/CxImage.h"
#include "images/codecs/ImageCodecs.h"

namespace tvl {
namespace {

using test::fixtureBytes;

struct Source
{
    const char* file;
    int type;
};

void PrintTo(const Source& c, std::ostream* os)
{
    *os << c.file;
}

class BrokenFile : public testing::TestWithParam<Source>
{
};

// Every prefix of a good file is a truncated file: each must fail cleanly (the sanitizers watch the rest).
TEST_P(BrokenFile, TruncationsFailCleanly)
{
    const QByteArray bytes = fixtureBytes(GetParam().file);
    ASSERT_FALSE(bytes.isEmpty());
    for (qsizetype length = 0; length < bytes.size(); ++length) {
        CxImage image;
        const bool ok = image.LoadBuffer(QByteArrayView(bytes).first(length), GetParam().type);
        if (!ok) {
            EXPECT_FALSE(image.IsValid());
            EXPECT_FALSE(image.lastError().isEmpty()) << length;
        }
    }
    CxImage whole;
    EXPECT_TRUE(whole.LoadBuffer(bytes, GetParam().type));
}

// Flipping bytes one at a time must never crash or hang, whatever the decoder makes of it.
TEST_P(BrokenFile, CorruptBytesAreSurvived)
{
    const QByteArray bytes = fixtureBytes(GetParam().file);
    for (qsizetype i = 0; i < std::min<qsizetype>(bytes.size(), 400); ++i) {
        QByteArray corrupt = bytes;
        corrupt[i] = char(~corrupt[i]);
        CxImage image;
        if (!image.LoadBuffer(corrupt, GetParam().type)) {
            EXPECT_FALSE(image.IsValid());
        }
    }
}

// Whatever a damaged file's headers say, a decode that succeeds gives the size the header probe found.
TEST_P(BrokenFile, HeaderProbeAgreesWithTheDecoder)
{
    const QByteArray bytes = fixtureBytes(GetParam().file);
    for (qsizetype i = 0; i < std::min<qsizetype>(bytes.size(), 400); ++i) {
        QByteArray corrupt = bytes;
        corrupt[i] = char(corrupt[i] ^ 0x41);
        const auto probed = ImageCodecs::probe(corrupt, GetParam().type);
        if (!probed)
            continue;
        CxImage image;
        if (image.LoadBuffer(corrupt, probed.value().type)) {
            EXPECT_EQ(QSize(image.Width(), image.Height()), probed.value().size) << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    All, BrokenFile,
    testing::Values(
        Source{"bmp24.bmp", CXIMAGE_FORMAT_BMP}, Source{"bmp8rle.bmp", CXIMAGE_FORMAT_BMP},
        Source{"bmp16.bmp", CXIMAGE_FORMAT_BMP}, Source{"bmpos2.bmp", CXIMAGE_FORMAT_BMP},
        Source{"jpeg-progressive.jpg", CXIMAGE_FORMAT_JPG}, Source{"png-interlaced.png", CXIMAGE_FORMAT_PNG},
        Source{"png-palette.png", CXIMAGE_FORMAT_DETECT}, Source{"gif-interlaced.gif", CXIMAGE_FORMAT_GIF},
        Source{"tiff-lzw.tif", CXIMAGE_FORMAT_TIF}, Source{"tiff-jpeg.tif", CXIMAGE_FORMAT_TIF},
        Source{"ico-quad.ico", CXIMAGE_FORMAT_ICO}, Source{"ico-png.ico", CXIMAGE_FORMAT_ICO},
        Source{"pcx-8.pcx", CXIMAGE_FORMAT_PCX}, Source{"pcx-4planes.pcx", CXIMAGE_FORMAT_PCX},
        Source{"wmf-shapes.wmf", CXIMAGE_FORMAT_WMF}, Source{"emf-shapes.emf", CXIMAGE_FORMAT_WMF}));

TEST(BadInput, HugeDeclaredSizesAreRefusedBeforeAllocating)
{
    QByteArray bmp = fixtureBytes("bmp24.bmp");
    // 30000 pixels wide, still 32 rows: over the side limit.
    bmp[18] = char(0x30);
    bmp[19] = char(0x75);
    CxImage image;
    EXPECT_FALSE(image.LoadBuffer(bmp, CXIMAGE_FORMAT_BMP));
    EXPECT_TRUE(image.lastError().contains(QStringLiteral("too large"))) << image.lastError().toStdString();

    // 15000 × 15000 = 225 megapixels: each side is allowed, the area is not.
    QByteArray png = fixtureBytes("png-rgb.png");
    for (int offset : {16, 20}) {
        png[offset] = 0;
        png[offset + 1] = 0;
        png[offset + 2] = char(0x3a);
        png[offset + 3] = char(0x98);
    }
    EXPECT_FALSE(image.LoadBuffer(png, CXIMAGE_FORMAT_PNG));
    EXPECT_FALSE(image.IsValid());
}

TEST(BadInput, EmptyAndNullBuffers)
{
    CxImage image;
    for (int type = 0; type <= CXIMAGE_FORMAT_DETECT; ++type) {
        EXPECT_FALSE(image.LoadBuffer(QByteArrayView(), type)) << type;
        EXPECT_FALSE(image.LoadBuffer(nullptr, 10, type)) << type;
        EXPECT_FALSE(image.lastError().isEmpty());
    }
    EXPECT_FALSE(image.LoadFile(QStringLiteral("/no/such/file.png"), CXIMAGE_FORMAT_PNG));
    EXPECT_FALSE(image.lastError().isEmpty());
}

} // namespace
} // namespace tvl
