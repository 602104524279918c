// Layout speed: AutoFit runs a full layout per candidate size, and typing in a linked field lays out
// every linked item on each keystroke, so a complete AutoFit layout must stay well inside one frame.
#include "document/model/LabelDesign.h"
#include "render/text/LayoutTextItem.h"

#include <benchmark/benchmark.h>

namespace tvl {
namespace {

CRichChild& AddSurface(LabelDesign& design, const char16_t* name, const char16_t* page, int width, int height)
{
    auto item = std::make_unique<CRichChild>();
    item->name = QString::fromUtf16(name);
    item->kind = ItemKind::Cover;
    item->surface = item->name;
    item->pageCode = QString::fromUtf16(page);
    item->left(500);
    item->top(500);
    item->width(width);
    item->height(height);
    return design.InsertItem(std::move(item));
}

LabelDesign MakeDesign()
{
    LabelDesign design;
    AddSurface(design, u"Back Cover", u"2", 5906, 4625);
    AddSurface(design, u"Disc 1", u"1", 4625, 1600).textMargin(50);
    return design;
}

CRichChild& AddText(LabelDesign& design, const QString& type, const QString& surface, int width, int height,
                    const QString& text, const QString& wrapStyle)
{
    auto item = std::make_unique<CRichChild>();
    item->name = design.MakeUniqueName(type);
    item->SetKindName(type);
    item->surface = surface;
    item->pageCode = design.FindCover(surface)->pageCode;
    item->left(500);
    item->top(500);
    item->width(width);
    item->height(height);
    item->wrapStyle(wrapStyle);
    item->alignment(QStringLiteral("Center"));
    item->angle(QStringLiteral("0 degrees"));
    item->trackNumbers(QStringLiteral("Track Numbers && Times"));
    item->textLayout(QStringLiteral("Table Format"));
    item->characters = ToCharacters(text);
    item->fonts.assign(item->characters.size(), std::nullopt);
    item->colors.assign(item->characters.size(), std::nullopt);
    item->underlines.assign(item->characters.size(), 0);
    item->fonts[0] = ItemFont{QStringLiteral("Arial"), 120, 400, 0};
    return design.InsertItem(std::move(item));
}

QString TrackList(int count)
{
    QString text;
    for (int n = 1; n <= count; ++n)
        text += QStringLiteral("%1. \bSong number %1 of the album\b %2:%3\b")
                    .arg(n)
                    .arg(3 + n % 4)
                    .arg(n % 60, 2, 10, QLatin1Char('0'));
    return text;
}

QString LongText(int characters)
{
    const QString words = QStringLiteral("the quick brown fox jumps over a lazy dog while singing ");
    QString text;
    while (text.size() < characters - 1)
        text += words;
    text.truncate(characters - 1);
    return text + QChar(0x08);
}

// Lays the item out afresh each iteration from the same starting size.
void Run(benchmark::State& state, LabelDesign& design, CRichChild& item, bool autoFit, int fixedSize)
{
    item.bAutoFit(autoFit ? 1 : 0);
    for (auto _ : state) {
        item.fonts[0]->height = autoFit ? 120 : fixedSize;
        item.MarkChanged();
        benchmark::DoNotOptimize(LayoutTextItem(item, design));
    }
    const auto layout = LayoutTextItem(item, design);
    state.counters["size"] =
        layout && layout->fittedHeight != 0 ? layout->fittedHeight : item.fonts[0]->height;
}

void BM_TrackTable99(benchmark::State& state)
{
    LabelDesign design = MakeDesign();
    CRichChild& item = AddText(design, QStringLiteral("Track"), QStringLiteral("Back Cover"), 5906, 4625,
                               TrackList(99), QStringLiteral("Multi-Line"));
    Run(state, design, item, state.range(0) != 0, 30);
}
BENCHMARK(BM_TrackTable99)->ArgName("autoFit")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_DiscWordWrap1000(benchmark::State& state)
{
    LabelDesign design = MakeDesign();
    CRichChild& item = AddText(design, QStringLiteral("Text"), QStringLiteral("Disc 1"), 4625, 4625,
                               LongText(1000), QStringLiteral("Word-Wrap"));
    Run(state, design, item, state.range(0) != 0, 105);
}
BENCHMARK(BM_DiscWordWrap1000)->ArgName("autoFit")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace tvl
