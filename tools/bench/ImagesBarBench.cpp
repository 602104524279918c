// The Images bar on a folder of 300 camera pictures (4000 × 3000 JPEGs): how soon the first screenful of
// thumbnails shows, the longest the user-interface thread goes without serving its event loop while the
// bar lists the folder and makes thumbnails, and how many thumbnails a second one and two workers make.
//
// The pictures are made once into TOVRELLINE_BENCH_PHOTOS (default: a folder under the temporary folder)
// and kept for later runs.
#include "app/imagesbar/ImageBrowser.h"
#include "app/imagesbar/ImageCells.h"
#include "app/imagesbar/ImagesBarWidget.h"
#include "images/CxImage.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QScrollBar>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <thread>

namespace tvl {
namespace {

constexpr int kPhotoCount = 300;
constexpr QSize kPhotoSize(4000, 3000);
constexpr QSize kBarSize(250, 700);

// A photograph-like scene: sky and ground gradients, soft shapes, texture and sensor grain, different for
// every seed, so that each file carries real coefficient data like a camera picture.
QImage CameraPicture(int seed)
{
    QImage image(kPhotoSize, QImage::Format_RGB32);
    quint32 noise = 2654435761u * static_cast<quint32>(seed + 1);
    const double phase = seed * 0.37;
    const int horizon = kPhotoSize.height() * (40 + seed % 30) / 100;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const bool sky = y < horizon;
        for (int x = 0; x < image.width(); ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int grain = static_cast<int>(noise >> 28) - 8;
            const double texture = std::sin(x * 0.031 + phase) * std::cos(y * 0.027 - phase) * 24 +
                                   std::sin((x + y) * 0.0043 + phase) * 40;
            int r, g, b;
            if (sky) {
                r = 90 + y * 80 / horizon;
                g = 140 + y * 60 / horizon;
                b = 230 - y * 30 / horizon;
            } else {
                r = 70 + static_cast<int>(texture);
                g = 110 + static_cast<int>(texture * 0.8) + (x * 40 / image.width());
                b = 50 + static_cast<int>(texture * 0.5);
            }
            line[x] = qRgb(std::clamp(r + grain, 0, 255), std::clamp(g + grain, 0, 255),
                           std::clamp(b + grain, 0, 255));
        }
    }
    return image;
}

const QString& PhotoFolder()
{
    static const QString folder = [] {
        QString path = qEnvironmentVariable("TOVRELLINE_BENCH_PHOTOS");
        if (path.isEmpty())
            path = QDir::temp().filePath(QStringLiteral("tovrelline-bench-camera-300"));
        QDir().mkpath(path);
        for (int i = 0; i < kPhotoCount; ++i) {
            const QString file = QDir(path).filePath(QStringLiteral("IMG_%1.jpg").arg(i, 4, 10, QChar(u'0')));
            if (QFile::exists(file))
                continue;
            CxImage photo;
            photo.FromBitmap(CameraPicture(i));
            photo.SaveFile(file, CXIMAGE_FORMAT_JPG);
        }
        return path;
    }();
    return folder;
}

// Notes the longest time between two turns of the event loop, through a timer that asks for a turn every
// millisecond.
class EventLoopGap
{
public:
    EventLoopGap()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout,
                         [this] { m_longest = std::max(m_longest, m_since.restart()); });
        m_since.start();
        m_timer.start();
    }
    qint64 longest() const { return m_longest; }

private:
    QTimer m_timer;
    QElapsedTimer m_since;
    qint64 m_longest = 0;
};

// Runs the event loop until done answers true, looking every 5 ms; the thread sleeps in between, as the
// program's own does, rather than spinning against the workers.
bool RunUntil(const std::function<bool()>& done, int timeoutMs = 60000)
{
    if (done())
        return true;
    QEventLoop loop;
    QElapsedTimer waited;
    waited.start();
    QTimer check;
    check.setInterval(5);
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done() || waited.elapsed() > timeoutMs)
            loop.quit();
    });
    check.start();
    loop.exec();
    return done();
}

// True when every cell from first to last shows its thumbnail.
bool CellsShowThumbnails(const ImagesBarWidget& bar, int first, int last)
{
    for (int index = first; index <= last; ++index) {
        const ImageCell* cell = bar.CellFor(index);
        if (!cell || (cell->entry().thumbnail.isNull() && !cell->entry().failed))
            return false;
    }
    return true;
}

// Chooses the folder in a bar of a usual size and waits until the cells on screen show their thumbnails,
// then pages down through the whole folder the same way.
void ImagesBarBrowseFolder(benchmark::State& state)
{
    const QString& folder = PhotoFolder();
    // The program's window has drawn text long before the bar browses: the font database is up.
    {
        ImagesBarWidget warm({});
        warm.resize(kBarSize);
        warm.grab();
        QFontMetrics(warm.font()).horizontalAdvance(QStringLiteral("IMG_0000.jpg"));
    }
    qint64 longestGap = 0;
    double firstScreenTotal = 0;
    double firstScreenWorst = 0;
    for (auto _ : state) {
        ImagesBarWidget bar({}, nullptr, static_cast<int>(state.range(0)));
        bar.resize(kBarSize);
        bar.show();
        RunUntil([&] { return bar.isVisible(); });
        auto* scrollBar = bar.findChild<QScrollBar*>();
        EventLoopGap gap;
        QElapsedTimer chosen;
        chosen.start();
        bar.Browse(folder, QStringLiteral("*.jpg"), false);
        const int screenful = (kBarSize.height() + kCellHeight - 1) / kCellHeight;
        if (!RunUntil([&] {
                return bar.browser().Count() > 1 &&
                       CellsShowThumbnails(bar, 0, std::min(screenful * bar.columns(), kPhotoCount) - 1);
            })) {
            state.SkipWithError("the first screenful never showed");
            return;
        }
        const double firstScreen = static_cast<double>(chosen.nsecsElapsed()) / 1e6;
        firstScreenTotal += firstScreen;
        firstScreenWorst = std::max(firstScreenWorst, firstScreen);
        while (scrollBar->isVisible() && scrollBar->value() < scrollBar->maximum()) {
            scrollBar->setValue(scrollBar->value() + scrollBar->pageStep());
            const int first = scrollBar->value() / kCellHeight * bar.columns();
            const int last = std::min((scrollBar->value() + kBarSize.height()) / kCellHeight * bar.columns(),
                                      bar.browser().Count() - 1);
            if (!RunUntil([&] { return CellsShowThumbnails(bar, first, last); })) {
                state.SkipWithError("a page of thumbnails never showed");
                return;
            }
        }
        longestGap = std::max(longestGap, gap.longest());
    }
    state.counters["first_screen_ms"] = firstScreenTotal / static_cast<double>(state.iterations());
    state.counters["first_screen_worst_ms"] = firstScreenWorst;
    state.counters["longest_event_loop_gap_ms"] = static_cast<double>(longestGap);
}
BENCHMARK(ImagesBarBrowseFolder)->Arg(2)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same watch over an event loop with nothing to do, for the machine's own share of the gaps.
void IdleEventLoopGap(benchmark::State& state)
{
    qint64 longest = 0;
    for (auto _ : state) {
        EventLoopGap gap;
        QElapsedTimer timer;
        timer.start();
        RunUntil([&] { return timer.elapsed() > 5000; });
        longest = std::max(longest, gap.longest());
    }
    state.counters["longest_event_loop_gap_ms"] = static_cast<double>(longest);
}
BENCHMARK(IdleEventLoopGap)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Thumbnails of 120 of the pictures, made by the given number of workers.
void ImagesBarThumbnailRate(benchmark::State& state)
{
    const QString& folder = PhotoFolder();
    constexpr int kThumbnails = 120;
    double wall = 0;
    double processor = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ImageBrowser browser(static_cast<int>(state.range(0)));
        browser.Browse(folder, QStringLiteral("*.jpg"), false);
        while (browser.Listing())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        state.ResumeTiming();
        const auto wallStart = std::chrono::steady_clock::now();
        const std::clock_t processorStart = std::clock();
        // The range reaches two entries past its last one.
        browser.MakeThumbnails(0, kThumbnails - 3);
        while (browser.MakingThumbnails())
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        processor += static_cast<double>(std::clock() - processorStart) / CLOCKS_PER_SEC;
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
        state.PauseTiming();
        if (browser.DecodeCount() != kThumbnails || browser.Entry(kThumbnails - 1).thumbnail.isNull()) {
            state.SkipWithError("not every thumbnail was made");
            return;
        }
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kThumbnails);
    // How many processors the workers actually got: on a busy machine two workers may not get two.
    state.counters["processors_used"] = processor / wall;
    state.counters["per_processor_second"] =
        static_cast<double>(state.iterations() * kThumbnails) / processor;
}
BENCHMARK(ImagesBarThumbnailRate)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
} // namespace tvl
