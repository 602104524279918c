// The Print dialog against a CUPS scheduler with ten queues (tools/bench/print_dialog_bench.sh starts one
// of its own): opening it, from asking CUPS for the queues until it is shown with its sheet previews, and
// redrawing the previews after a change of an option, on a design with a photograph over each label.
#include "app/print/PrintDialog.h"
#include "app/settings/AppSettings.h"
#include "app/settings/SettingsStore.h"
#include "app/settings/StoreSettings.h"
#include "images/CxImage.h"
#include "print/cups/CupsQueue.h"
#include "stock/StockCatalogue.h"
#include "tests/render/SurfaceFixture.h"
#include "tools/bench/BenchPhotograph.h"

#include <QApplication>
#include <QComboBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace tvl {
namespace {

using namespace Qt::Literals::StringLiterals;

// A jewel design whose front, back and disc each carry a photograph as their background, and the
// program's settings and catalogue in a folder of their own.
struct PrintDialogScene
{
    PrintDialogScene()
        : store(dir.filePath(u"settings.ini"_s))
        , storeSettings(store)
        , catalogue(dir.path() + u'/', storeSettings)
    {
        catalogue.LoadCatalogue();
        auto photograph = std::make_shared<CxImage>();
        photograph->LoadBuffer(bench::PhotographJpeg(QSize(3200, 2150)), CXIMAGE_FORMAT_JPG);
        int number = 1;
        for (const QStringView surface : {u"Front Cover", u"Back Cover", u"Disc 1"}) {
            const CRichChild& cover = *fixture.design.FindCover(surface);
            CRichChild& picture = fixture.Add(u"Image(%1)"_s.arg(number++), u"Image"_s, surface.toString(),
                                              cover.left(), cover.top(), cover.width(), cover.height());
            picture.bBackground(1);
            picture.image = photograph;
        }
        settings.printFront = settings.printBack = settings.printDisc1 = true;
    }

    PrintDialogContext Context(QStringList printers)
    {
        return {fixture.design, false,   u"Jewel"_s, u"Front Cover"_s,
                catalogue,      store,   settings,   std::move(printers),
                QString(),      false,   nullptr,    nullptr,
                nullptr,        nullptr, nullptr,    nullptr,
                nullptr};
    }

    QTemporaryDir dir;
    test::SurfaceFixture fixture;
    SettingsStore store;
    StoreSettings storeSettings;
    StockCatalogue catalogue;
    AppSettings settings;
};

void BM_PrintDialogOpen(benchmark::State& state)
{
    PrintDialogScene scene;
    if (CupsPrinterNames().size() < 10) {
        state.SkipWithError("needs a CUPS scheduler with ten queues: run print_dialog_bench.sh");
        return;
    }
    for (auto _ : state) {
        PrintDialog dialog(scene.Context(CupsPrinterNames()), false);
        dialog.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(dialog.Tabs()->count());
    }
}
BENCHMARK(BM_PrintDialogOpen)->Unit(benchmark::kMillisecond)->UseRealTime();

// The previews of the front, the back and the disc sheets drawn again after the front's border changes;
// the figure per preview is this divided by three.
void BM_PrintDialogPreviewRedraw(benchmark::State& state)
{
    PrintDialogScene scene;
    PrintDialog dialog(scene.Context({}), false);
    dialog.show();
    QApplication::processEvents();
    dialog.Tabs()->setCurrentIndex(0);
    auto* border = dialog.Tabs()->widget(0)->findChildren<QComboBox*>().at(1);
    int choice = 0;
    for (auto _ : state) {
        choice = 1 - choice;
        border->setCurrentIndex(choice);
        emit border->activated(choice);
    }
    state.counters["previews"] = 3;
}
BENCHMARK(BM_PrintDialogPreviewRedraw)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace tvl
