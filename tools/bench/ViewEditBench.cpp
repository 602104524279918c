// Editing on the label view: one pointer move while dragging over a disc sheet with two full-surface
// photographs at zoom 200 % (the frame follows; no item may be drawn), a whole drag from press to the
// repainted view at zoom 100 %, the hit test of a click on a sheet of 300 items, and opening a design with
// a 12-megapixel photograph up to the view's first paint.
#include "document/design/DesignDocument.h"
#include "document/files/DesignFile.h"
#include "editing/CMervo6View.h"
#include "editing/HitTest.h"
#include "images/CxImage.h"
#include "tests/render/SurfaceFixture.h"
#include "tools/bench/BenchPhotograph.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>

namespace tvl {
namespace {

using namespace Qt::Literals::StringLiterals;

std::shared_ptr<CxImage> Photograph(int size)
{
    QImage pixels(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y) {
        auto* line = reinterpret_cast<QRgb*>(pixels.scanLine(y));
        for (int x = 0; x < size; ++x)
            line[x] = qRgb(x * 255 / size, y * 255 / size, (x + y) * 127 / size);
    }
    auto picture = std::make_shared<CxImage>();
    picture->FromBitmap(pixels);
    return picture;
}

// A single-disc design whose two discs are covered by photographs, with a text block selected on disc 1.
struct DragScene
{
    DesignDocument document;
    CMervo6View view{document};
    QPoint border;

    explicit DragScene(int zoom)
    {
        test::SurfaceFixture f(u"Jewel", u"Double");
        view.SetStocks(f.disc, f.caseStock);
        for (const QStringView disc : {u"Disc 1", u"Disc 2"}) {
            const CRichChild& cover = *f.design.FindCover(disc);
            CRichChild& photo = f.Add(u"Image(%1)"_s.arg(disc.back()), u"Image"_s, disc.toString(),
                                      cover.left(), cover.top(), cover.width(), cover.width());
            photo.image = Photograph(1500);
        }
        const CRichChild& disc = *f.design.FindCover(u"Disc 1");
        CRichChild& text =
            f.Add(u"Text 1"_s, u"Text"_s, u"Disc 1"_s, disc.left() + 1000, disc.top() + 1000, 2000, 400);
        text.ReplaceText(u"Album title\b"_s);
        text.fonts[0] = ItemFont{u"Liberation Sans"_s, 240, 700, 0};
        text.colors[0] = 0;
        document.BeginReplace();
        document.MutableDesign().ReplaceItems(std::move(f.design.itemList));
        document.EndReplace({u"Disc 1"_s, u"1"_s, u"Double"_s, u"Jewel"_s});
        view.SetZoom(zoom);
        view.resize(1200, 1000);
        view.show();
        QApplication::processEvents();
        document.Select(u"Text 1"_s);
        QApplication::processEvents();
        const QRect window = view.geometry().GetItemWindowRect(*document.Selected(), true).toQRect();
        border = QPoint(window.left() - 6, window.center().y());
    }

    void Mouse(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, QPointF(pos), view.viewport()->mapToGlobal(QPointF(pos)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &event);
    }
};

void BM_DragPointerMove(benchmark::State& state)
{
    DragScene scene(20);
    scene.Mouse(QEvent::MouseMove, scene.border, Qt::NoButton, Qt::NoButton);
    scene.Mouse(QEvent::MouseButtonPress, scene.border, Qt::LeftButton, Qt::LeftButton);
    const int drawn = scene.view.bitmaps().itemsDrawn();
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 40;
        scene.Mouse(QEvent::MouseMove, scene.border + QPoint(5 * step, 3 * step), Qt::NoButton,
                    Qt::LeftButton);
        QApplication::processEvents();
    }
    state.counters["items_drawn"] = scene.view.bitmaps().itemsDrawn() - drawn;
    scene.Mouse(QEvent::MouseButtonRelease, scene.border, Qt::LeftButton, Qt::NoButton);
}
BENCHMARK(BM_DragPointerMove)->Unit(benchmark::kMillisecond);

void BM_ReleaseToRepaint(benchmark::State& state)
{
    DragScene scene(10);
    int direction = 1;
    for (auto _ : state) {
        state.PauseTiming();
        const QPoint from = scene.border;
        const QPoint to = from + QPoint(12 * direction, 0);
        scene.Mouse(QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton);
        scene.Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        scene.Mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        QApplication::processEvents();
        state.ResumeTiming();
        scene.Mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        QApplication::processEvents();
        scene.border = to;
        direction = -direction;
    }
}
BENCHMARK(BM_ReleaseToRepaint)->Unit(benchmark::kMillisecond)->Iterations(60);

void BM_HitTest300Items(benchmark::State& state)
{
    test::SurfaceFixture f;
    f.geometry.SetZoom(10);
    quint32 seed = 7;
    const auto next = [&seed](int below) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<quint32>(below));
    };
    for (int i = 0; i < 300; ++i) {
        const QString surface = i % 2 ? u"Disc 1"_s : u"Disc 2"_s;
        const CRichChild& cover = *f.design.FindCover(surface);
        f.Add(u"Text %1"_s.arg(i), u"Text"_s, surface, cover.left() + next(3000), cover.top() + next(3000),
              300 + next(1500), 200 + next(800));
    }
    f.Select(u"Disc 1"_s);
    HitCycler cycler;
    const EdgeRect disc = f.geometry.GetItemWindowRect(*f.design.FindCover(u"Disc 1"), true);
    const QPoint click(disc.left + disc.width() / 4, disc.top + disc.height() / 3);
    QString selected;
    for (auto _ : state) {
        selected = cycler.Hit(f.design, f.geometry, click, selected, false);
        benchmark::DoNotOptimize(selected);
    }
    state.counters["stack"] = static_cast<double>(cycler.stack().size());
}
BENCHMARK(BM_HitTest300Items)->Unit(benchmark::kMicrosecond);

// From reading a disc design whose background is a 12-megapixel photograph to the view's first paint.
// Argument 0: as the program opens it, the photograph decoded in the background for the view; the counter
// ms_until_drawn is the time until the view has painted it too. Argument 1: the photograph decoded at
// full size while the design is read, as opening did before, for comparison.
void BM_OpenDesignToFirstPaint(benchmark::State& state)
{
    const bool decodeWhileReading = state.range(0) == 1;
    QTemporaryDir dir;
    const QString path = dir.filePath(u"disc.tvl"_s);
    {
        test::SurfaceFixture f;
        const CRichChild& disc = *f.design.FindCover(u"Disc 1");
        CRichChild& photo = f.Add(u"Image(1)"_s, u"Image"_s, u"Disc 1"_s, disc.left(), disc.top(),
                                  disc.width(), disc.width());
        photo.bBackground(1);
        photo.image = std::make_shared<CxImage>();
        photo.image->LoadBuffer(bench::PhotographJpeg(QSize(4000, 3000)), CXIMAGE_FORMAT_JPG);
        if (!WriteDesignFile(path, f.design, {u"Disc 1"_s, u"1"_s, u"Single"_s, u"Jewel"_s}))
            state.SkipWithError("the design could not be written");
    }
    const test::SurfaceFixture stocks;
    double drawnMs = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        FileResult<DesignContent> read = ReadDesignFile(path);
        if (!read) {
            state.SkipWithError("the design could not be read");
            break;
        }
        if (decodeWhileReading)
            read.value().design.FindItem(u"Image(1)")->image->Bpp();
        DesignDocument document;
        CMervo6View view{document};
        view.SetStocks(stocks.disc, stocks.caseStock);
        document.BeginReplace();
        document.MutableDesign().ReplaceItems(std::move(read.value().design.itemList));
        document.EndReplace({u"Disc 1"_s, u"1"_s, u"Single"_s, u"Jewel"_s});
        view.resize(1200, 1000);
        view.show();
        benchmark::DoNotOptimize(view.viewport()->grab());
        state.PauseTiming();
        while (!decodeWhileReading && view.bitmaps().pictures().backgroundCount() == 0) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::msleep(1);
        }
        drawnMs += double(clock.nsecsElapsed()) / 1e6;
        state.ResumeTiming();
    }
    state.counters["ms_until_drawn"] = benchmark::Counter(drawnMs, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_OpenDesignToFirstPaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
} // namespace tvl
