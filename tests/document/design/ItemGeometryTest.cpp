#include "document/design/ItemGeometry.h"
#include "document/design/DesignDocument.h"
#include "tests/render/SurfaceFixture.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

using namespace Qt::Literals::StringLiterals;

class ItemGeometryTest : public testing::Test
{
protected:
    void Open(test::SurfaceFixture& f, const QString& discMode = u"Single"_s)
    {
        document.BeginReplace();
        document.MutableDesign().ReplaceItems(std::move(f.design.itemList));
        document.EndReplace({u"Disc 1"_s, u"1"_s, discMode, u"Jewel"_s});
    }

    void SetUp() override
    {
        test::SurfaceFixture f;
        const CRichChild& disc = *f.design.FindCover(u"Disc 1");
        f.Add(u"Text 1"_s, u"Text"_s, u"Disc 1"_s, disc.left() + 1000, disc.top() + 1000, 2000, 400);
        f.Add(u"Image(1)"_s, u"Image"_s, u"Disc 1"_s, disc.left() + 500, disc.top() + 500, 1000, 1000);
        f.Add(u"Text 2"_s, u"Text"_s, u"Disc 2"_s, 700, 800, 900, 300);
        f.Add(u"Text 3"_s, u"Text"_s, u"Back Cover"_s, 3000, 3000, 2000, 400);
        Open(f);
    }

    const CRichChild& Item(QStringView name) const { return *document.design().FindItem(name); }
    QRect RectOf(QStringView name) const { return Item(name).Rect(); }
    int Steps() const { return document.history().stepCount(); }

    DesignDocument document;
};

TEST_F(ItemGeometryTest, OnlyTheGivenFieldsChangeAndZeroIsAPlaceLikeAnyOther)
{
    const QRect before = RectOf(u"Image(1)");
    ASSERT_TRUE(SetItemGeometry(document, u"Image(1)"_s, {0, 0, std::nullopt, std::nullopt}));
    EXPECT_EQ(RectOf(u"Image(1)"), QRect(0, 0, before.width(), before.height()));
    ASSERT_TRUE(SetItemGeometry(document, u"Image(1)"_s, {std::nullopt, std::nullopt, 0, std::nullopt}));
    EXPECT_EQ(Item(u"Image(1)").width(), 0);
    EXPECT_EQ(Steps(), 2);
    document.Undo();
    document.Undo();
    EXPECT_EQ(RectOf(u"Image(1)"), before);
}

TEST_F(ItemGeometryTest, NothingToChangeRecordsNoStep)
{
    EXPECT_FALSE(SetItemGeometry(document, u"Text 1"_s, {}));
    EXPECT_FALSE(SetItemGeometry(document, u"No Such Item"_s, GeometryChange::All(QRect(1, 2, 3, 4))));
    EXPECT_FALSE(SetItemGeometry(document, u"Left Tab"_s, GeometryChange::All(QRect(1, 2, 3, 4))))
        << "a guide area follows its cover only";
    EXPECT_EQ(Steps(), 0);
    EXPECT_FALSE(document.file().modified);
}

TEST_F(ItemGeometryTest, ABackCoverCarriesItsItemsAndRebuildsItsTabs)
{
    const CRichChild& back = Item(u"Back Cover");
    const QRect old = back.Rect();
    const QRect text = RectOf(u"Text 3");
    const QRect moved(old.x() + 300, old.y() - 200, old.width() - 500, old.height() + 100);
    ASSERT_TRUE(SetItemGeometry(document, u"Back Cover"_s, GeometryChange::All(moved)));
    EXPECT_EQ(back.Rect(), moved);
    EXPECT_EQ(RectOf(u"Text 3"), text.translated(300, -200)) << "content keeps its size off the disc sheet";
    EXPECT_EQ(RectOf(u"Left Tab"), QRect(moved.x(), moved.y(), back.coverSpine, moved.height()));
    EXPECT_EQ(RectOf(u"Right Tab"),
              QRect(moved.x() + moved.width() - back.coverSpine, moved.y(), back.coverSpine, moved.height()));
    EXPECT_EQ(Steps(), 1);
    document.Undo();
    EXPECT_EQ(back.Rect(), old);
    EXPECT_EQ(RectOf(u"Text 3"), text);
}

TEST_F(ItemGeometryTest, ADiscScalesItsItemsAboutItsNewCorner)
{
    const CRichChild& disc = Item(u"Disc 1");
    const QRect old = disc.Rect();
    ASSERT_EQ(RectOf(u"Text 1"), QRect(old.x() + 1000, old.y() + 1000, 2000, 400));
    // Twice as wide, moved right by 100: positions double from the new left and top.
    ASSERT_TRUE(
        SetItemGeometry(document, u"Disc 1"_s, {old.x() + 100, old.y(), old.width() * 2, disc.height()}));
    EXPECT_EQ(RectOf(u"Text 1"), QRect(old.x() + 100 + 2000, old.y() + 2000, 4000, 800));
    EXPECT_EQ(RectOf(u"Text 2"), QRect(700, 800, 900, 300)) << "disc 2 keeps its items";

    // A disc whose width was 0 gives no factor: its items only move.
    ASSERT_TRUE(SetItemGeometry(document, u"Disc 1"_s, {std::nullopt, std::nullopt, 0, std::nullopt}));
    const QRect before = RectOf(u"Text 1");
    ASSERT_TRUE(SetItemGeometry(document, u"Disc 1"_s, {disc.left() + 10, std::nullopt, 4625, std::nullopt}));
    EXPECT_EQ(RectOf(u"Text 1"), before.translated(10, 0));
}

TEST_F(ItemGeometryTest, SwappingTheDiscsExchangesTheirPlacesAsOneStep)
{
    const QRect first = Item(u"Disc 1").Rect();
    const QRect second = Item(u"Disc 2").Rect();
    const QRect text = RectOf(u"Text 1");
    ASSERT_TRUE(SwapDiscPositions(document));
    EXPECT_EQ(Item(u"Disc 1").Rect(), second);
    EXPECT_EQ(Item(u"Disc 2").Rect(), first);
    EXPECT_EQ(RectOf(u"Text 1"), text.translated(second.topLeft() - first.topLeft()));
    EXPECT_EQ(document.discPositionMode(), DiscPositionMode::DiscOnBottom);
    EXPECT_EQ(Steps(), 1);
    document.Undo();
    EXPECT_EQ(Item(u"Disc 1").Rect(), first);
    EXPECT_EQ(RectOf(u"Text 1"), text);
    EXPECT_EQ(document.discPositionMode(), DiscPositionMode::DiscOnTop);
}

} // namespace
} // namespace tvl
