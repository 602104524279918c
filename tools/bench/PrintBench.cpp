// Printing a Letter disc sheet to PDF: a disc photographed edge to edge with a 12-megapixel picture and
// a title with twenty track lines. With TOVRELLINE_BENCH_DESIGN and TOVRELLINE_BENCH_PHOTO set, the
// design and the photograph (JPEG) are also written there, so that print_compare.sh can time the whole
// program against glabels-3-batch on the same picture.
#include "document/files/DesignFile.h"
#include "document/model/SurfaceNames.h"
#include "images/CxImage.h"
#include "print/job/PaintJob.h"
#include "print/job/PrintJob.h"
#include "tests/render/SurfaceFixture.h"
#include "tools/bench/BenchPhotograph.h"

#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

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

void SetText(CRichChild& item, const QString& text)
{
    item.characters = ToCharacters(text);
    item.fonts.assign(item.characters.size(), std::nullopt);
    item.colors.assign(item.characters.size(), std::nullopt);
    item.underlines.assign(item.characters.size(), 0);
    item.fonts[0] = ItemFont{u"Liberation Sans"_s, 90, 400, 0};
    item.colors[0] = 0;
}

struct PrintSetup
{
    test::SurfaceFixture f;
    std::vector<JobPage> pages;

    PrintSetup()
    {
        App();
        const CRichChild& disc = *f.design.FindCover(u"Disc 1");
        const QByteArray jpeg = bench::PhotographJpeg(QSize(3464, 3464)); // 12 megapixels
        auto photo = test::MakeItem(u"Image(1)"_s, u"Image"_s, u"Disc 1"_s, disc.pageCode, disc.left(),
                                    disc.top(), disc.width(), disc.width());
        photo->bBackground(1);
        photo->image = std::make_shared<CxImage>();
        photo->image->LoadBuffer(jpeg, CXIMAGE_FORMAT_JPG);
        f.design.InsertItem(std::move(photo), f.design.IndexOf(u"Disc 1") + 1);
        QString tracks = u"Greatest Hits of the Year"_s;
        for (int i = 1; i <= 20; ++i)
            tracks += u"\r%1. Artist %2 - Track Title %3"_s.arg(i, 2, 10, QChar(u'0')).arg(i).arg(i * 7);
        SetText(f.Add(u"Text 1"_s, u"Text"_s, u"Disc 1"_s, disc.left() + 2450, disc.top() + 600, 2000, 3400),
                tracks + u"\b"_s);

        PrintJob job;
        job.labels.disc1 = true;
        pages = JobPages(job, f.disc, f.caseStock);
        const LiveDesignState live{u"Disc 1"_s, u"1"_s, u"Single"_s, u"Jewel"_s};
        if (const QString path = qEnvironmentVariable("TOVRELLINE_BENCH_DESIGN"); !path.isEmpty())
            WriteDesignFile(path, f.design, live);
        if (const QString path = qEnvironmentVariable("TOVRELLINE_BENCH_PHOTO"); !path.isEmpty()) {
            QFile file(path);
            if (file.open(QIODevice::WriteOnly))
                file.write(jpeg);
        }
    }
};

void BM_PrintDiscSheetToPdf(benchmark::State& state)
{
    PrintSetup setup;
    qsizetype bytes = 0;
    for (auto _ : state) {
        const FileResult<QByteArray> pdf = JobPdf(setup.f.design, setup.pages, 1, QGuiApplication::font());
        if (!pdf) {
            state.SkipWithError("printing failed");
            return;
        }
        bytes = pdf.value().size();
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_PrintDiscSheetToPdf)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

} // namespace
} // namespace tvl
