#include "TextFixture.h"

#include "render/text/LayoutTextItem.h"

#include <gtest/gtest.h>

namespace tvl::test {
namespace {

CRichChild& AddSurface(LabelDesign& design, const QString& name, const QString& page, int left, int top,
                       int width, int height)
{
    auto item = std::make_unique<CRichChild>();
    item->name = name;
    item->kind = ItemKind::Cover;
    item->surface = name;
    item->pageCode = page;
    item->left(left);
    item->top(top);
    item->width(width);
    item->height(height);
    item->colors.assign(1, ItemColor{0xFFFFFF});
    return design.InsertItem(std::move(item));
}

} // namespace

LabelDesign MakeDesign()
{
    LabelDesign design;
    AddSurface(design, QStringLiteral("Front Cover"), QStringLiteral("2"), 500, 500, 4750, 4750);
    AddSurface(design, QStringLiteral("Back Cover"), QStringLiteral("3"), 1000, 1500, 5900, 4625);
    AddSurface(design, QStringLiteral("Disc 1"), QStringLiteral("1"), 200, 300, 4625, 1600).textMargin(50);
    AddSurface(design, QStringLiteral("Disc 2"), QStringLiteral("1"), 200, 5600, 4625, 1600).textMargin(50);
    return design;
}

CRichChild& AddItem(LabelDesign& design, const TextSpec& spec)
{
    const CRichChild* surface = design.FindCover(spec.surface);
    auto item = std::make_unique<CRichChild>();
    item->name = design.MakeUniqueName(ItemKindName(spec.kind));
    item->kind = spec.kind;
    item->surface = spec.surface;
    item->pageCode = surface->pageCode;
    item->left(surface->left() + spec.left);
    item->top(surface->top() + spec.top);
    item->width(spec.width);
    item->height(spec.height);
    item->wrapStyle(spec.wrapStyle);
    item->alignment(spec.alignment);
    item->angle(spec.angle);
    item->bAutoFit(spec.autoFit ? 1 : 0);
    item->trackNumbers(spec.trackNumbers);
    item->textLayout(spec.textLayout);
    item->characters = ToCharacters(spec.text);
    const size_t count = item->characters.size();
    item->fonts.assign(count, std::nullopt);
    item->colors.assign(count, std::nullopt);
    item->underlines.assign(count, 0);
    if (count > 0) {
        item->fonts[0] = ItemFont{QStringLiteral("Arial"), spec.fontHeight, 400, 0};
        item->colors[0] = ItemColor{0};
    }
    return design.InsertItem(std::move(item));
}

const ItemLayout& LayOut(CRichChild& item, const LabelDesign& design)
{
    // Every layout a test looked at stays alive while later ones are made.
    thread_local std::vector<std::shared_ptr<const ItemLayout>> kept;
    const std::shared_ptr<const ItemLayout> layout = LayoutTextItem(item, design);
    EXPECT_NE(layout, nullptr);
    static const ItemLayout empty;
    if (!layout)
        return empty;
    kept.push_back(layout);
    return *layout;
}

QString TrackText(int count)
{
    QString text;
    for (int n = 1; n <= count; ++n)
        text += QStringLiteral("%1. \bTrack %1\b %2:%3\b")
                    .arg(n)
                    .arg(n / 60)
                    .arg(n % 60, 2, 10, QLatin1Char('0'));
    return text;
}

size_t IndexOf(const CRichChild& item, QStringView needle, size_t from)
{
    const qsizetype at = item.Text().indexOf(needle, static_cast<qsizetype>(from));
    EXPECT_GE(at, 0) << needle.toString().toStdString();
    return static_cast<size_t>(at);
}

} // namespace tvl::test
