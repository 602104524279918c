#include "stock/ClampStockField.h"
#include "stock/CLabelDim.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

CLabelDim BuiltIn(QStringView key)
{
    CLabelDim stock;
    MakeBuiltInStock(stock, key);
    return stock;
}

TEST(ClampStockFieldTest, KeepsLabelsOnTheirSheet)
{
    CLabelDim disc = BuiltIn(u"Disc");
    disc.left1 = 4000;
    EXPECT_TRUE(ClampStockField(disc, u"left1", false));
    EXPECT_EQ(disc.left1, 3875);
    disc.top2 = -5;
    EXPECT_TRUE(ClampStockField(disc, u"top2", false));
    EXPECT_EQ(disc.top2, 0);
    // Disc stocks measure the height of a disc by its diameter.
    disc.top1 = 7000;
    EXPECT_TRUE(ClampStockField(disc, u"top1", false));
    EXPECT_EQ(disc.top1, 11000 - 4625);
    disc.top2 = 5688;
    EXPECT_FALSE(ClampStockField(disc, u"top2", false));

    CLabelDim jewel = BuiltIn(u"Jewel");
    jewel.top1 = 4000;
    EXPECT_TRUE(ClampStockField(jewel, u"top1", false));
    EXPECT_EQ(jewel.top1, 8500 - 4760);
    // The back on its own portrait sheet, or sharing the landscape sheet of the front.
    jewel.left2 = 3000;
    EXPECT_TRUE(ClampStockField(jewel, u"left2", false));
    EXPECT_EQ(jewel.left2, 8500 - 5910);
    jewel.left2 = 3000;
    EXPECT_FALSE(ClampStockField(jewel, u"left2", true));
    jewel.top2 = 5000;
    EXPECT_TRUE(ClampStockField(jewel, u"top2", true));
    EXPECT_EQ(jewel.top2, 8500 - 4650);
    jewel.top2 = 5000;
    EXPECT_FALSE(ClampStockField(jewel, u"top2", false));
    EXPECT_FALSE(ClampStockField(jewel, u"spine", false));
}

TEST(ClampStockFieldTest, DiscDiameters)
{
    CLabelDim disc = BuiltIn(u"Disc");
    disc.width1 = 1000;
    EXPECT_TRUE(ClampStockField(disc, u"width1", false));
    EXPECT_EQ(disc.width1, 1062);
    EXPECT_EQ(disc.width2, 1062);
    EXPECT_EQ(disc.height1, 562);
    EXPECT_EQ(disc.height2, 562);

    disc.width1 = 6000;
    EXPECT_TRUE(ClampStockField(disc, u"width1", false));
    EXPECT_EQ(disc.width1, 5000);
    EXPECT_EQ(disc.width2, 5000);

    disc.width1 = 4700;
    EXPECT_TRUE(ClampStockField(disc, u"width1", false)); // only the second disc follows
    EXPECT_EQ(disc.width2, 4700);
    EXPECT_FALSE(ClampStockField(disc, u"width1", false));

    disc.height1 = 300;
    EXPECT_TRUE(ClampStockField(disc, u"height1", false));
    EXPECT_EQ(disc.height1, 562);
    EXPECT_EQ(disc.height2, 562);
    disc.height1 = 4500;
    EXPECT_TRUE(ClampStockField(disc, u"height1", false));
    EXPECT_EQ(disc.height1, 4200);
    EXPECT_EQ(disc.height2, 4200);
}

TEST(ClampStockFieldTest, DirectToDiscStockCentresBothDiscs)
{
    CLabelDim disc = BuiltIn(u"Disc");
    disc.paper1 = kDiscPrinterPaper;
    disc.width1 = 4701;
    EXPECT_TRUE(ClampStockField(disc, u"width1", false));
    EXPECT_EQ(disc.left1, 399);
    EXPECT_EQ(disc.top1, 399);
    EXPECT_EQ(disc.left2, 399);
    EXPECT_EQ(disc.top2, 399);
}

} // namespace
} // namespace tvl
