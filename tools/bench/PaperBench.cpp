// The label paper and export dialogs' previews: each sheet preview of Change Label Paper, the wizard's
// sheet picture, and the export dialog's preview of a DVD wrap-around cover under a full photograph,
// timed from the change of a choice until the new preview is shown.
#include "app/export/ExportDialog.h"
#include "app/paper/StockSheetImage.h"
#include "images/CxImage.h"
#include "stock/CLabelDim.h"
#include "tests/render/SurfaceFixture.h"
#include "tools/bench/BenchPhotograph.h"

#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace tvl {
namespace {

using namespace Qt::Literals::StringLiterals;

CLabelDim BuiltIn(QStringView key)
{
    CLabelDim stock;
    MakeBuiltInStock(stock, key);
    return stock;
}

void BM_ChangeLabelPaperPreview(benchmark::State& state)
{
    const CLabelDim disc = BuiltIn(u"Disc");
    const CLabelDim caseStock = BuiltIn(state.range(0) == 0 ? u"Jewel" : u"DVD");
    const QString page = QString::number(state.range(1));
    for (auto _ : state)
        benchmark::DoNotOptimize(StockSheetImage(disc, caseStock, page, QSize(150, 150)));
}
BENCHMARK(BM_ChangeLabelPaperPreview)
    ->ArgNames({"dvd", "page"})
    ->Args({0, 1})
    ->Args({0, 2})
    ->Args({0, 3})
    ->Args({1, 2})
    ->Args({1, 3})
    ->Unit(benchmark::kMillisecond);

// The wizard's picture fills most of a 1920 x 1080 screen's work area.
void BM_WizardPreview(benchmark::State& state)
{
    const CLabelDim disc = BuiltIn(u"Disc");
    const CLabelDim jewel = BuiltIn(u"Jewel");
    const QString page = state.range(0) == 0 ? u"1"_s : u"2"_s;
    for (auto _ : state)
        benchmark::DoNotOptimize(StockSheetImage(disc, jewel, page, QSize(1100, 760)));
}
BENCHMARK(BM_WizardPreview)->ArgName("case")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The benchmarks' photograph, decoded as a design holds it.
std::shared_ptr<CxImage> Photograph(QSize size)
{
    auto picture = std::make_shared<CxImage>();
    picture->LoadBuffer(bench::PhotographJpeg(size), CXIMAGE_FORMAT_JPG);
    return picture;
}

void Wait(QLabel* preview, qint64 before)
{
    while (preview->pixmap().cacheKey() == before)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

QLabel* PreviewOf(const ExportDialog& dialog)
{
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->accessibleName() == u"Preview")
            return label;
    }
    return nullptr;
}

// From a change of the overlap until the preview shows the cover drawn anew, the dialog's short delay
// included; every iteration opens a new dialog, so nothing drawn before is reused.
void BM_ExportPreviewDvdCoverWithPhotograph(benchmark::State& state)
{
    test::SurfaceFixture f(u"DVD", u"Single");
    const CRichChild& cover = *f.design.FindCover(u"Back Cover");
    auto photo = test::MakeItem(u"Image(1)"_s, u"Image"_s, u"Back Cover"_s, cover.pageCode, cover.left(),
                                cover.top(), cover.width(), cover.height());
    photo->bBackground(1);
    photo->image = Photograph(QSize(3200, 2150));
    f.design.InsertItem(std::move(photo), f.design.IndexOf(u"Back Cover") + 1);

    QTemporaryDir dir;
    ExportDialogSetup setup;
    setup.caseKind = u"DVD"_s;
    setup.defaultLabel = 1;
    setup.settingsPath = dir.filePath(u"export.ini"_s);
    for (auto _ : state) {
        state.PauseTiming();
        ExportDialog dialog(f.design, setup);
        dialog.resize(760, 520);
        dialog.show();
        QLabel* preview = PreviewOf(dialog);
        // The preview drawn at opening is shown again at the dialog's size once it is laid out.
        QEventLoop settle;
        QTimer::singleShot(60, &settle, &QEventLoop::quit);
        settle.exec();
        const qint64 before = preview->pixmap().cacheKey();
        state.ResumeTiming();
        dialog.OverlapBox()->setCurrentIndex(1);
        Wait(preview, before);
    }
}
BENCHMARK(BM_ExportPreviewDvdCoverWithPhotograph)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace tvl
