#include "stock/ApplyStocks.h"
#include "MemorySettings.h"
#include "document/model/LabelDesign.h"
#include "stock/StockCatalogue.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>

namespace tvl {
namespace {

CRichChild& Add(LabelDesign& design, const char* name, const char* type, const char* surface, QRect rect)
{
    auto item = std::make_unique<CRichChild>();
    item->name = QString::fromLatin1(name);
    item->SetKindName(QString::fromLatin1(type));
    item->surface = QString::fromLatin1(surface);
    item->pageCode = QStringLiteral("9");
    item->left(rect.left());
    item->top(rect.top());
    item->width(rect.width());
    item->height(rect.height());
    return design.InsertItem(std::move(item));
}

// The structural items of a design, all at the origin, and one text on each surface.
LabelDesign MakeDesign()
{
    LabelDesign design;
    for (const char* page : {"Page 1", "Page 2", "Page 3"})
        Add(design, page, "Page", "", {});
    for (const char* cover : {"Front Cover", "Back Cover", "Disc 1", "Disc 2"})
        Add(design, cover, "Cover", cover, {});
    Add(design, "Front Cover (Inside)", "Boundary", "Front Cover", {});
    Add(design, "Left Tab", "Boundary", "Back Cover", {});
    Add(design, "Right Tab", "Boundary", "Back Cover", {});
    for (const char* surface : {"Front Cover", "Back Cover", "Disc 1", "Disc 2"})
        Add(design, (QByteArray(surface) + " text").constData(), "Text", surface, QRect(100, 200, 10, 10));
    return design;
}

class ApplyStocksTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        catalogue.LoadCatalogue();
    }

    QRect RectOf(const char* name) const { return design.FindItem(QString::fromLatin1(name))->Rect(); }
    QString PageOf(const char* name) const { return design.FindItem(QString::fromLatin1(name))->pageCode; }

    QTemporaryDir folder;
    MemorySettings settings;
    StockCatalogue catalogue{folder.path() + u'/', settings};
    LabelDesign design = MakeDesign();
    DiscPositionMode positionMode = DiscPositionMode::DiscOnTop;
};

TEST_F(ApplyStocksTest, PlacesSurfacesAndMovesTheirItems)
{
    ApplyStocks(design, catalogue, u"Jewel", u"Single", positionMode);

    EXPECT_EQ(RectOf("Front Cover"), QRect(800, 800, 9520, 4760));
    EXPECT_EQ(design.FindItem(u"Front Cover")->coverFolded, 1);
    EXPECT_EQ(RectOf("Front Cover (Inside)"), QRect(800, 800, 4760, 4760));
    EXPECT_EQ(RectOf("Back Cover"), QRect(1300, 600, 5910, 4650));
    EXPECT_EQ(design.FindItem(u"Back Cover")->coverSpine, 250);
    EXPECT_EQ(RectOf("Left Tab"), QRect(1300, 600, 250, 4650));
    EXPECT_EQ(RectOf("Right Tab"), QRect(1300 + 5910 - 250, 600, 250, 4650));
    EXPECT_EQ(RectOf("Disc 1"), QRect(1938, 688, 4625, 4625));
    EXPECT_EQ(design.FindItem(u"Disc 1")->height(), 1600);
    EXPECT_EQ(RectOf("Disc 2"), QRect(1938, 5688, 4625, 4625));
    EXPECT_EQ(RectOf("Page 1"), QRect(0, 0, 8500, 11000));
    EXPECT_EQ(RectOf("Page 2"), QRect(0, 0, 11000, 8500));
    EXPECT_EQ(RectOf("Page 3"), QRect(0, 0, 8500, 11000));

    // Every item went along with its surface and prints on its page.
    EXPECT_EQ(RectOf("Front Cover text"), QRect(900, 1000, 10, 10));
    EXPECT_EQ(RectOf("Back Cover text"), QRect(1400, 800, 10, 10));
    EXPECT_EQ(RectOf("Disc 2 text"), QRect(2038, 5888, 10, 10));
    EXPECT_EQ(PageOf("Front Cover text"), u"2");
    EXPECT_EQ(PageOf("Back Cover text"), u"3");
    EXPECT_EQ(PageOf("Right Tab"), u"3");
    EXPECT_EQ(PageOf("Disc 1 text"), u"1");

    // A second pass changes nothing.
    ApplyStocks(design, catalogue, u"Jewel", u"Single", positionMode);
    EXPECT_EQ(RectOf("Front Cover text"), QRect(900, 1000, 10, 10));
}

TEST_F(ApplyStocksTest, DiscPositionModes)
{
    struct Case
    {
        DiscPositionMode mode;
        const char16_t* discMode;
        bool discOneFirst;
    };
    for (const Case c : {Case{DiscPositionMode::DiscOnTop, u"Single", true},
                         Case{DiscPositionMode::DiscOnBottom, u"Single", false},
                         Case{DiscPositionMode::DuplicateDisc, u"Single", true},
                         Case{DiscPositionMode::DuplicateDisc, u"Double", false},
                         Case{DiscPositionMode::DiscOnBottom, u"Double", false}}) {
        DiscPositionMode mode = c.mode;
        ApplyStocks(design, catalogue, u"Jewel", QStringView(c.discMode), mode);
        EXPECT_EQ(design.FindItem(u"Disc 1")->top(), c.discOneFirst ? 688 : 5688) << static_cast<int>(c.mode);
        EXPECT_EQ(design.FindItem(u"Disc 2")->top(), c.discOneFirst ? 5688 : 688) << static_cast<int>(c.mode);
        EXPECT_EQ(design.FindItem(u"Disc 1 text")->top() - design.FindItem(u"Disc 1")->top(), 200);
        EXPECT_EQ(mode, c.mode);
    }

    catalogue.stock(catalogue.currentDisc()).paper1 = kDiscPrinterPaper;
    positionMode = DiscPositionMode::DiscOnBottom;
    ApplyStocks(design, catalogue, u"Jewel", u"Single", positionMode);
    EXPECT_EQ(positionMode, DiscPositionMode::DiscOnTop);
}

TEST_F(ApplyStocksTest, OnePageStockPutsBothCoversOnTheFirstCaseSheet)
{
    CLabelDim& jewel = catalogue.stock(catalogue.currentCase());
    jewel.page2 = 2;
    ApplyStocks(design, catalogue, u"Jewel", u"Single", positionMode);
    EXPECT_EQ(PageOf("Front Cover"), u"2");
    EXPECT_EQ(PageOf("Back Cover"), u"2");
    EXPECT_EQ(PageOf("Left Tab"), u"2");
    EXPECT_EQ(PageOf("Back Cover text"), u"2");
}

TEST_F(ApplyStocksTest, UnfoldingKeepsTheFrontPanelContentInPlace)
{
    ApplyStocks(design, catalogue, u"Jewel", u"Single", positionMode);
    CRichChild& text = *design.FindItem(u"Front Cover text");
    text.left(6000); // on the front panel, 440 right of the fold

    CLabelDim& jewel = catalogue.stock(catalogue.currentCase());
    jewel.folded = 0;
    jewel.left1 = 1000;
    jewel.width1 = 4760;
    ApplyStocks(design, catalogue, u"Jewel", u"Single", positionMode);
    EXPECT_EQ(RectOf("Front Cover"), QRect(1000, 800, 4760, 4760));
    EXPECT_EQ(text.left(), 1440);
    EXPECT_EQ(RectOf("Front Cover (Inside)"), QRect(1000 - 4760, 800, 4760, 4760));

    // Folding again grows the cover to the left; the panel content stays on the panel.
    jewel.folded = 1;
    jewel.left1 = 800;
    jewel.width1 = 9520;
    ApplyStocks(design, catalogue, u"Jewel", u"Single", positionMode);
    EXPECT_EQ(text.left(), 6000);
}

TEST_F(ApplyStocksTest, DvdCaseKindTakesADvdStock)
{
    ApplyStocks(design, catalogue, u"DVD", u"Single", positionMode);
    EXPECT_EQ(catalogue.currentCase(), 2);
    EXPECT_EQ(RectOf("Back Cover"), QRect(145, 647, 10727, 7191));
    EXPECT_EQ(RectOf("Right Tab"), QRect(145 + 10727 - 5079, 647, 5079, 7191));
    EXPECT_EQ(RectOf("Page 3"), QRect(0, 0, 11000, 8500));
}

TEST_F(ApplyStocksTest, ExtremeValuesFromFilesSaturate)
{
    CLabelDim& jewel = catalogue.stock(catalogue.currentCase());
    jewel.left2 = std::numeric_limits<int>::max();
    jewel.width2 = std::numeric_limits<int>::max();
    jewel.spine = std::numeric_limits<int>::min();
    jewel.folded = 0;
    design.FindItem(u"Front Cover")->coverFolded = 1;
    design.FindItem(u"Front Cover")->width(std::numeric_limits<int>::min());
    design.FindItem(u"Back Cover text")->left(std::numeric_limits<int>::min());
    ApplyStocks(design, catalogue, u"Jewel", u"Single", positionMode);
    EXPECT_EQ(design.FindItem(u"Right Tab")->left(), std::numeric_limits<int>::max());
    EXPECT_EQ(design.FindItem(u"Back Cover")->left(), std::numeric_limits<int>::max());
}

} // namespace
} // namespace tvl
