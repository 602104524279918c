#include "stock/BuildSurfaceItems.h"
#include "stock/CLabelDim.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <stdexcept>

namespace tvl {
namespace {

struct Stocks
{
    Stocks()
    {
        MakeBuiltInStock(disc, u"Disc");
        MakeBuiltInStock(jewel, u"Jewel");
    }
    CLabelDim disc;
    CLabelDim jewel;
};

const CRichChild& Find(const std::vector<std::unique_ptr<CRichChild>>& items, QStringView name)
{
    for (const auto& item : items) {
        if (item->name == name)
            return *item;
    }
    throw std::runtime_error("missing item");
}

TEST(BuildSurfaceItems, MakesEveryStructuralItemInDrawingOrder)
{
    Stocks s;
    const auto items = BuildSurfaceItems(s.disc, s.jewel, u"Single", DiscPositionMode::DiscOnTop);
    QStringList names;
    for (const auto& item : items)
        names.append(item->name);
    EXPECT_EQ(names, (QStringList{u"Front Cover"_qs, u"Front Cover (Inside)"_qs, u"Back Cover"_qs,
                                  u"Left Tab"_qs, u"Right Tab"_qs, u"Page 2"_qs, u"Page 3"_qs, u"Page 1"_qs,
                                  u"Disc 1"_qs, u"Disc 2"_qs}));

    const CRichChild& back = Find(items, u"Back Cover");
    EXPECT_EQ(back.coverSpine, s.jewel.spine);
    EXPECT_EQ(back.pageCode, QString::number(s.jewel.page2));
    const CRichChild& right = Find(items, u"Right Tab");
    EXPECT_EQ(right.Rect(), QRect(s.jewel.left2 + s.jewel.width2 - s.jewel.spine, s.jewel.top2, s.jewel.spine,
                                  s.jewel.height2));
    EXPECT_EQ(right.surface, u"Back Cover");
    EXPECT_EQ(right.colors, (std::vector<std::optional<ItemColor>>{0x00FFFFFF}));
    EXPECT_EQ(Find(items, u"Page 1").Rect(), QRect(QPoint(0, 0), s.disc.paper1));
    EXPECT_TRUE(Find(items, u"Page 1").colors.empty());
    EXPECT_EQ(Find(items, u"Disc 2").textMargin(), 50);
}

TEST(BuildSurfaceItems, InsidePanelIsTheLeftHalfOrLeftOfAnUnfoldedCover)
{
    Stocks s;
    s.jewel.folded = 1;
    const auto folded = BuildSurfaceItems(s.disc, s.jewel, u"Single", DiscPositionMode::DiscOnTop);
    EXPECT_EQ(Find(folded, u"Front Cover (Inside)").Rect(),
              QRect(s.jewel.left1, s.jewel.top1, s.jewel.width1 / 2, s.jewel.height1));
    EXPECT_EQ(Find(folded, u"Front Cover").coverFolded, 1);

    s.jewel.folded = 0;
    const auto flat = BuildSurfaceItems(s.disc, s.jewel, u"Single", DiscPositionMode::DiscOnTop);
    EXPECT_EQ(Find(flat, u"Front Cover (Inside)").Rect(),
              QRect(s.jewel.left1 - s.jewel.width1, s.jewel.top1, s.jewel.width1, s.jewel.height1));
}

TEST(BuildSurfaceItems, DiscPositionModeChoosesWhereDiscOneGoes)
{
    Stocks s;
    const QRect first(s.disc.left1, s.disc.top1, s.disc.width1, s.disc.width1);
    const QRect second(s.disc.left2, s.disc.top2, s.disc.width2, s.disc.width2);
    const struct
    {
        const char16_t* mode;
        DiscPositionMode position;
        bool discOneFirst;
    } cases[] = {
        {u"Single", DiscPositionMode::DiscOnTop, true},
        {u"Single", DiscPositionMode::DiscOnBottom, false},
        {u"Single", DiscPositionMode::DuplicateDisc, true},
        {u"Double", DiscPositionMode::DiscOnTop, true},
        {u"Double", DiscPositionMode::DiscOnBottom, false},
        {u"Double", DiscPositionMode::DuplicateDisc, false},
    };
    for (const auto& c : cases) {
        const auto items = BuildSurfaceItems(s.disc, s.jewel, c.mode, c.position);
        EXPECT_EQ(Find(items, u"Disc 1").Rect(), c.discOneFirst ? first : second)
            << static_cast<int>(c.position);
        EXPECT_EQ(Find(items, u"Disc 2").Rect(), c.discOneFirst ? second : first)
            << static_cast<int>(c.position);
    }
}

} // namespace
} // namespace tvl
