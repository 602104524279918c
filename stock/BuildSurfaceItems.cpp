#include "stock/BuildSurfaceItems.h"

#include "document/model/SurfaceNames.h"
#include "stock/CLabelDim.h"

namespace tvl {
namespace {

constexpr ItemColor kWhite = 0x00FFFFFF;
constexpr int kDiscTextMargin = 50;

std::unique_ptr<CRichChild> MakeItem(QStringView name, ItemKind kind, QStringView surface,
                                     const QString& pageCode, QRect rect)
{
    auto item = std::make_unique<CRichChild>();
    item->name = name.toString();
    item->kind = kind;
    item->surface = surface.toString();
    item->pageCode = pageCode;
    item->left(rect.x());
    item->top(rect.y());
    item->width(rect.width());
    item->height(rect.height());
    if (item->kind != ItemKind::Page)
        item->colors = {kWhite};
    return item;
}

} // namespace

std::vector<std::unique_ptr<CRichChild>> BuildSurfaceItems(const CLabelDim& disc, const CLabelDim& caseStock,
                                                           QStringView discMode,
                                                           DiscPositionMode discPositionMode)
{
    const CLabelDim& c = caseStock;
    const QString frontPage = QString::number(c.page1);
    const QString backPage = QString::number(c.page2);
    std::vector<std::unique_ptr<CRichChild>> items;

    items.push_back(MakeItem(kFrontCover, ItemKind::Cover, kFrontCover, frontPage,
                             QRect(c.left1, c.top1, c.width1, c.height1)));
    items.back()->coverFolded = c.folded;
    const QRect inside = c.folded ? QRect(c.left1, c.top1, c.width1 / 2, c.height1)
                                  : QRect(c.left1 - c.width1, c.top1, c.width1, c.height1);
    items.push_back(MakeItem(kFrontInside, ItemKind::Boundary, kFrontCover, frontPage, inside));

    items.push_back(MakeItem(kBackCover, ItemKind::Cover, kBackCover, backPage,
                             QRect(c.left2, c.top2, c.width2, c.height2)));
    items.back()->coverSpine = c.spine;
    items.push_back(MakeItem(kLeftTab, ItemKind::Boundary, kBackCover, backPage,
                             QRect(c.left2, c.top2, c.spine, c.height2)));
    items.push_back(MakeItem(kRightTab, ItemKind::Boundary, kBackCover, backPage,
                             QRect(c.left2 + c.width2 - c.spine, c.top2, c.spine, c.height2)));

    items.push_back(
        MakeItem(u"Page 2", ItemKind::Page, {}, QStringLiteral("2"), QRect(QPoint(0, 0), c.paper1)));
    items.push_back(
        MakeItem(u"Page 3", ItemKind::Page, {}, QStringLiteral("3"), QRect(QPoint(0, 0), c.paper2)));
    items.push_back(
        MakeItem(u"Page 1", ItemKind::Page, {}, QStringLiteral("1"), QRect(QPoint(0, 0), disc.paper1)));

    const QRect first(disc.left1, disc.top1, disc.width1, disc.height1);
    const QRect second(disc.left2, disc.top2, disc.width2, disc.height2);
    const bool firstPosition = discPositionMode == DiscPositionMode::DiscOnTop ||
                               (discPositionMode == DiscPositionMode::DuplicateDisc && discMode == u"Single");
    items.push_back(
        MakeItem(kDisc1, ItemKind::Cover, kDisc1, QStringLiteral("1"), firstPosition ? first : second));
    items.back()->textMargin(kDiscTextMargin);
    items.push_back(
        MakeItem(kDisc2, ItemKind::Cover, kDisc2, QStringLiteral("1"), firstPosition ? second : first));
    items.back()->textMargin(kDiscTextMargin);
    return items;
}

} // namespace tvl
