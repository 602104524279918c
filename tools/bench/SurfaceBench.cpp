// Repainting the label view and exporting a label, each beside the work that bounds it: the libraries'
// own PNG and JPEG encoders at their default settings on an image of the exported size. Export times
// count the CPU time of every thread, as Qt scales large pictures on several threads; on a busy
// machine the wall-clock times mostly show the wait for a free core.
#include "document/files/DesignFile.h"
#include "document/model/SurfaceNames.h"
#include "images/CxImage.h"
#include "print/export/LabelExport.h"
#include "render/surface/RenderSurfaceImage.h"
#include "render/surface/SheetPainter.h"
#include "render/surface/SurfaceBitmaps.h"
#include "tests/render/SurfaceFixture.h"
#include "tools/bench/BenchPhotograph.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <png.h>
#include <vector>

namespace tvl {
namespace {

using namespace Qt::Literals::StringLiterals;

QGuiApplication& App()
{
    static int argc = 3;
    static char name[] = "bench";
    static char option[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    static QGuiApplication app(argc, argv);
    return app;
}

// The benchmarks' photograph, decoded as a design holds it.
std::shared_ptr<CxImage> Photograph(int size)
{
    auto picture = std::make_shared<CxImage>();
    picture->LoadBuffer(bench::PhotographJpeg(QSize(size, size)), CXIMAGE_FORMAT_JPG);
    return picture;
}

void AddBackgroundPhoto(LabelDesign& design, const QString& surface, const QString& name)
{
    const CRichChild& cover = *design.FindCover(surface);
    auto photo = test::MakeItem(name, u"Image"_s, surface, cover.pageCode, cover.left(), cover.top(),
                                cover.width(), cover.width());
    photo->bBackground(1);
    photo->image = Photograph(1600);
    design.InsertItem(std::move(photo), design.IndexOf(surface) + 1);
}

void BM_RepaintSheetWithTwoPhotographs(benchmark::State& state)
{
    App();
    test::SurfaceFixture f(u"Jewel", u"Double");
    AddBackgroundPhoto(f.design, u"Disc 1"_s, u"Image(1)"_s);
    AddBackgroundPhoto(f.design, u"Disc 2"_s, u"Image(2)"_s);
    f.geometry.SetClientSize(QSize(1200, 1000));
    f.Select(u"Disc 1"_s);
    SurfaceBitmaps bitmaps;
    bitmaps.Create();
    bitmaps.Clear(f.scene, f.geometry);
    bitmaps.Render(f.scene, f.geometry);
    QImage window(f.geometry.clientSize(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&window);
        SheetPainter::Paint(painter, window.rect(), f.scene, f.geometry, bitmaps, {});
    }
    state.counters["items_drawn"] = bitmaps.itemsDrawn();
    state.counters["stretches"] = bitmaps.pictures().stretchCount();
}
BENCHMARK(BM_RepaintSheetWithTwoPhotographs)->Unit(benchmark::kMillisecond);

void BM_RenderSheetWithTwoPhotographs(benchmark::State& state)
{
    App();
    test::SurfaceFixture f(u"Jewel", u"Double");
    AddBackgroundPhoto(f.design, u"Disc 1"_s, u"Image(1)"_s);
    AddBackgroundPhoto(f.design, u"Disc 2"_s, u"Image(2)"_s);
    f.Select(u"Disc 1"_s);
    SurfaceBitmaps bitmaps;
    bitmaps.Create();
    for (auto _ : state) {
        bitmaps.Clear(f.scene, f.geometry);
        bitmaps.Render(f.scene, f.geometry);
    }
}
BENCHMARK(BM_RenderSheetWithTwoPhotographs)->Unit(benchmark::kMillisecond);

// A design file with one disc photographed edge to edge, as `tovrelline export` reads it; also written to
// TOVRELLINE_BENCH_DESIGN when set, so that the whole program can be timed on it (export_compare.sh).
struct ExportSetup
{
    QTemporaryDir dir;
    QString design;

    ExportSetup()
    {
        App();
        test::SurfaceFixture f;
        AddBackgroundPhoto(f.design, u"Disc 1"_s, u"Image(1)"_s);
        design = dir.filePath(u"photo.tvl"_s);
        const LiveDesignState live{u"Disc 1"_s, u"1"_s, u"Single"_s, u"Jewel"_s};
        WriteDesignFile(design, f.design, live);
        if (const QString kept = qEnvironmentVariable("TOVRELLINE_BENCH_DESIGN"); !kept.isEmpty())
            WriteDesignFile(kept, f.design, live);
    }
};

void ExportDisc(benchmark::State& state, const QString& extension)
{
    ExportSetup setup;
    const QString out = setup.dir.filePath(u"disc"_s + extension);
    for (auto _ : state) {
        FileResult<DesignContent> read = ReadDesignFile(setup.design);
        if (!read || !ExportLabel(read.value().design, {Disc1Surface, 600, 0, 0}, out))
            state.SkipWithError("export failed");
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(out).size());
}

// A DVD design whose front and back covers are each filled by a 12-megapixel photograph, the design whose
// window (window_compare.sh) and `dump` (lighter_compare.sh) are measured; written to
// TOVRELLINE_BENCH_DVD_DESIGN when set. The benchmark times reading it as the window reads it: the
// photographs' headers are read, their pixels wait until they are drawn.
void BM_ReadDvdDesignWithTwoPhotographs(benchmark::State& state)
{
    App();
    test::SurfaceFixture f(u"DVD", u"Single");
    const QByteArray photo = bench::PhotographJpeg(QSize(4000, 3000));
    for (const QString& surface : {kFrontCover.toString(), kBackCover.toString()}) {
        const CRichChild& cover = *f.design.FindCover(surface);
        auto item =
            test::MakeItem(surface == kFrontCover ? u"Image(1)"_s : u"Image(2)"_s, u"Image"_s, surface,
                           cover.pageCode, cover.left(), cover.top(), cover.width(), cover.height());
        item->bBackground(1);
        item->image = std::make_shared<CxImage>();
        item->image->LoadBuffer(photo, CXIMAGE_FORMAT_JPG);
        f.design.InsertItem(std::move(item), f.design.IndexOf(surface) + 1);
    }
    QTemporaryDir dir;
    QString design = dir.filePath(u"dvd.tvl"_s);
    if (const QString kept = qEnvironmentVariable("TOVRELLINE_BENCH_DVD_DESIGN"); !kept.isEmpty())
        design = kept;
    if (!WriteDesignFile(design, f.design, {kFrontCover.toString(), u"2"_s, u"Single"_s, u"DVD"_s}))
        state.SkipWithError("the design could not be written");
    for (auto _ : state) {
        FileResult<DesignContent> read = ReadDesignFile(design);
        benchmark::DoNotOptimize(read);
    }
}
BENCHMARK(BM_ReadDvdDesignWithTwoPhotographs)->Unit(benchmark::kMillisecond);

// A disc design whose background is one 12-megapixel photograph, the design whose window
// window_compare.sh times (written to TOVRELLINE_BENCH_DISC_DESIGN and the photograph to
// TOVRELLINE_BENCH_PHOTO when set); the benchmark times reading it as the window reads it.
void BM_ReadDiscDesignWithPhotograph(benchmark::State& state)
{
    App();
    test::SurfaceFixture f;
    const QByteArray photo = bench::PhotographJpeg(QSize(4000, 3000));
    const CRichChild& disc = *f.design.FindCover(u"Disc 1");
    auto item = test::MakeItem(u"Image(1)"_s, u"Image"_s, u"Disc 1"_s, disc.pageCode, disc.left(), disc.top(),
                               disc.width(), disc.width());
    item->bBackground(1);
    item->image = std::make_shared<CxImage>();
    item->image->LoadBuffer(photo, CXIMAGE_FORMAT_JPG);
    f.design.InsertItem(std::move(item), f.design.IndexOf(u"Disc 1") + 1);
    QTemporaryDir dir;
    QString design = dir.filePath(u"disc.tvl"_s);
    if (const QString kept = qEnvironmentVariable("TOVRELLINE_BENCH_DISC_DESIGN"); !kept.isEmpty())
        design = kept;
    if (const QString kept = qEnvironmentVariable("TOVRELLINE_BENCH_PHOTO"); !kept.isEmpty()) {
        QFile file(kept);
        if (!file.open(QIODevice::WriteOnly) || file.write(photo) != photo.size())
            state.SkipWithError("the photograph could not be written");
    }
    if (!WriteDesignFile(design, f.design, {u"Disc 1"_s, u"1"_s, u"Single"_s, u"Jewel"_s}))
        state.SkipWithError("the design could not be written");
    for (auto _ : state) {
        FileResult<DesignContent> read = ReadDesignFile(design);
        benchmark::DoNotOptimize(read);
    }
}
BENCHMARK(BM_ReadDiscDesignWithPhotograph)->Unit(benchmark::kMillisecond);

void BM_ExportDisc600Png(benchmark::State& state)
{
    ExportDisc(state, u".png"_s);
}
BENCHMARK(BM_ExportDisc600Png)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_ExportDisc600Tiff(benchmark::State& state)
{
    ExportDisc(state, u".tif"_s);
}
BENCHMARK(BM_ExportDisc600Tiff)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_ExportDisc600Jpeg(benchmark::State& state)
{
    ExportDisc(state, u".jpg"_s);
}
BENCHMARK(BM_ExportDisc600Jpeg)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The exported disc's pixels (2775 x 2775) as packed RGB rows.
std::vector<unsigned char> ExportedPixels(int& width, int& height)
{
    ExportSetup setup;
    FileResult<DesignContent> read = ReadDesignFile(setup.design);
    SurfaceImageRequest request;
    request.surface = Disc1Surface;
    request.dpiX = request.dpiY = 600;
    const QImage image =
        RenderSurfaceImage(read.value().design, request).convertToFormat(QImage::Format_RGB888);
    width = image.width();
    height = image.height();
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * 3 * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        std::memcpy(pixels.data() + static_cast<size_t>(y) * 3 * static_cast<size_t>(width),
                    image.constScanLine(y), static_cast<size_t>(width) * 3);
    return pixels;
}

void WritePng(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void BM_LibpngEncode2775(benchmark::State& state)
{
    int width = 0;
    int height = 0;
    const std::vector<unsigned char> pixels = ExportedPixels(width, height);
    size_t bytes = 0;
    for (auto _ : state) {
        std::vector<unsigned char> out;
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        if (setjmp(png_jmpbuf(png))) {
            png_destroy_write_struct(&png, &info);
            state.SkipWithError("libpng failed");
            break;
        }
        png_set_write_fn(png, &out, WritePng, nullptr);
        png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                     PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < height; ++y)
            png_write_row(png, pixels.data() + static_cast<size_t>(y) * 3 * static_cast<size_t>(width));
        png_write_end(png, info);
        png_destroy_write_struct(&png, &info);
        benchmark::DoNotOptimize(out.data());
        bytes = out.size();
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_LibpngEncode2775)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// libjpeg's default encode of the exported size plus the decode of the photograph the label holds.
void BM_LibjpegEncode2775PlusPhotoDecode(benchmark::State& state)
{
    int width = 0;
    int height = 0;
    const std::vector<unsigned char> pixels = ExportedPixels(width, height);
    const QByteArray photo = [] {
        CxImage picture = *Photograph(1600);
        return picture.SourceBytes();
    }();
    for (auto _ : state) {
        jpeg_decompress_struct in{};
        jpeg_error_mgr inErrors{};
        in.err = jpeg_std_error(&inErrors);
        jpeg_create_decompress(&in);
        jpeg_mem_src(&in, reinterpret_cast<const unsigned char*>(photo.constData()),
                     static_cast<unsigned long>(photo.size()));
        jpeg_read_header(&in, TRUE);
        jpeg_start_decompress(&in);
        std::vector<unsigned char> row(static_cast<size_t>(in.output_width) *
                                       static_cast<size_t>(in.output_components));
        while (in.output_scanline < in.output_height) {
            JSAMPROW rows[] = {row.data()};
            jpeg_read_scanlines(&in, rows, 1);
        }
        jpeg_finish_decompress(&in);
        jpeg_destroy_decompress(&in);

        jpeg_compress_struct outInfo{};
        jpeg_error_mgr outErrors{};
        outInfo.err = jpeg_std_error(&outErrors);
        jpeg_create_compress(&outInfo);
        unsigned char* buffer = nullptr;
        unsigned long size = 0;
        jpeg_mem_dest(&outInfo, &buffer, &size);
        outInfo.image_width = static_cast<JDIMENSION>(width);
        outInfo.image_height = static_cast<JDIMENSION>(height);
        outInfo.input_components = 3;
        outInfo.in_color_space = JCS_RGB;
        jpeg_set_defaults(&outInfo);
        jpeg_start_compress(&outInfo, TRUE);
        while (outInfo.next_scanline < outInfo.image_height) {
            JSAMPROW rows[] = {const_cast<unsigned char*>(pixels.data()) +
                               static_cast<size_t>(outInfo.next_scanline) * 3 * static_cast<size_t>(width)};
            jpeg_write_scanlines(&outInfo, rows, 1);
        }
        jpeg_finish_compress(&outInfo);
        jpeg_destroy_compress(&outInfo);
        std::free(buffer);
    }
}
BENCHMARK(BM_LibjpegEncode2775PlusPhotoDecode)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

} // namespace
} // namespace tvl
