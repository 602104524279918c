#include "images/CxImage.h"

#include <QFile>
#include <QtGlobal>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

namespace tvl {
namespace {

// A 4000 × 3000 picture with smooth shading and fine detail, so that the JPEG carries real photo-like
// coefficient data rather than flat blocks.
CxImage syntheticPhoto()
{
    CxImage image;
    image.Create(4000, 3000, 24, CXIMAGE_FORMAT_JPG);
    quint32 noise = 12345;
    for (int y = 0; y < image.Height(); ++y) {
        uchar* row = image.ScanLine(y);
        for (int x = 0; x < image.Width(); ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int grain = int(noise >> 27) - 16;
            const double wave = std::sin(x * 0.013) * std::cos(y * 0.021);
            row[3 * x] = uchar(std::clamp(int(128 + 90 * wave) + grain, 0, 255));
            row[3 * x + 1] = uchar(std::clamp(x * 255 / 4000 + grain, 0, 255));
            row[3 * x + 2] = uchar(std::clamp(y * 255 / 3000 + grain, 0, 255));
        }
    }
    return image;
}

// The photograph: the file named by TOVRELLINE_BENCH_JPEG, or the synthetic one (written to
// TOVRELLINE_BENCH_WRITE when set, so that other tools can be timed on the same bytes).
const QByteArray& photoJpeg()
{
    static const QByteArray bytes = [] {
        const QString path = qEnvironmentVariable("TOVRELLINE_BENCH_JPEG");
        if (!path.isEmpty()) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                return file.readAll();
        }
        CxImage photo = syntheticPhoto();
        QByteArray encoded;
        photo.EncodeBuffer(encoded, CXIMAGE_FORMAT_JPG);
        const QString out = qEnvironmentVariable("TOVRELLINE_BENCH_WRITE");
        if (!out.isEmpty())
            photo.SaveFile(out, CXIMAGE_FORMAT_JPG);
        return encoded;
    }();
    return bytes;
}

void JpegDecodeFull(benchmark::State& state)
{
    const QByteArray& bytes = photoJpeg();
    for (auto _ : state) {
        CxImage image;
        benchmark::DoNotOptimize(image.LoadBuffer(bytes, CXIMAGE_FORMAT_JPG));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(JpegDecodeFull)->Unit(benchmark::kMillisecond);

void JpegThumbnail110(benchmark::State& state)
{
    const QByteArray& bytes = photoJpeg();
    for (auto _ : state) {
        CxImage image;
        benchmark::DoNotOptimize(image.LoadThumbnailBuffer(bytes, CXIMAGE_FORMAT_JPG, QSize(110, 110)));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(JpegThumbnail110)->Unit(benchmark::kMillisecond);

void Resample4000To1000(benchmark::State& state)
{
    CxImage source;
    source.LoadBuffer(photoJpeg(), CXIMAGE_FORMAT_JPG);
    for (auto _ : state) {
        CxImage image = source;
        benchmark::DoNotOptimize(image.ResampleTo(1000, 750));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(Resample4000To1000)->Unit(benchmark::kMillisecond);

void PngEncodeDecode(benchmark::State& state)
{
    CxImage source;
    source.LoadBuffer(photoJpeg(), CXIMAGE_FORMAT_JPG);
    source.ResampleTo(1000, 750);
    for (auto _ : state) {
        QByteArray encoded;
        source.EncodeBuffer(encoded, CXIMAGE_FORMAT_PNG);
        CxImage image;
        benchmark::DoNotOptimize(image.LoadBuffer(encoded, CXIMAGE_FORMAT_PNG));
    }
}
BENCHMARK(PngEncodeDecode)->Unit(benchmark::kMillisecond);

// A 2000 × 1500 photograph with an alpha channel (a soft vignette to clear), as our encoder writes it; the
// file named by TOVRELLINE_BENCH_PNG_WRITE gets the same bytes so that other tools can be timed on them.
const QByteArray& alphaPng()
{
    static const QByteArray bytes = [] {
        CxImage photo;
        photo.LoadBuffer(photoJpeg(), CXIMAGE_FORMAT_JPG);
        photo.ResampleTo(2000, 1500);
        photo.AlphaCreate();
        for (int y = 0; y < photo.Height(); ++y) {
            uchar* alpha = photo.AlphaScanLine(y);
            for (int x = 0; x < photo.Width(); ++x) {
                const double dx = (x - 1000) / 1000.0;
                const double dy = (y - 750) / 750.0;
                alpha[x] = uchar(std::clamp(int(255 * (1.3 - std::sqrt(dx * dx + dy * dy))), 0, 255));
            }
        }
        QByteArray encoded;
        photo.EncodeBuffer(encoded, CXIMAGE_FORMAT_PNG);
        const QString out = qEnvironmentVariable("TOVRELLINE_BENCH_PNG_WRITE");
        if (!out.isEmpty()) {
            QFile file(out);
            if (file.open(QIODevice::WriteOnly))
                file.write(encoded);
        }
        return encoded;
    }();
    return bytes;
}

void PngAlphaThumbnail110(benchmark::State& state)
{
    const QByteArray& bytes = alphaPng();
    for (auto _ : state) {
        CxImage image;
        benchmark::DoNotOptimize(image.LoadThumbnailBuffer(bytes, CXIMAGE_FORMAT_PNG, QSize(110, 110)));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(PngAlphaThumbnail110)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tvl
