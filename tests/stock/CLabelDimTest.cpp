#include "stock/CLabelDim.h"
#include "document/archive/CArchive.h"
#include "document/archive/ObjectArray.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace tvl {
namespace {

TEST(CLabelDimTest, StoredRecordIs164BytesPlusNameAndReadsBackEqual)
{
    CLabelDim stock;
    ASSERT_TRUE(MakeBuiltInStock(stock, u"Jewel"));
    stock.cdPrint1 = {1, 2, 3, 4};
    stock.cdSaved2 = {5, 6, 7, 8};
    stock.spare[3] = {9, 10, 11, 12};

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        CArchive archive(buffer, CArchive::Mode::Store);
        stock.Serialize(archive);
    }
    const qsizetype nameBytes = 1 + stock.name.size();
    EXPECT_EQ(bytes.size(), 164 + nameBytes);
    // The name follows the stock type.
    EXPECT_EQ(bytes.mid(4, nameBytes), QByteArray("\x1d(CD Jewel Case - Plain Paper)"));

    buffer.close();
    buffer.open(QIODevice::ReadOnly);
    CArchive loader(buffer, CArchive::Mode::Load);
    CLabelDim copy;
    copy.Serialize(loader);
    EXPECT_EQ(copy, stock);
}

TEST(CLabelDimTest, ArrayOfStocksLoadsThroughTheRegisteredClass)
{
    std::vector<std::unique_ptr<CLabelDim>> stocks;
    for (const char16_t* key : {u"Disc", u"DVD"}) {
        stocks.push_back(std::make_unique<CLabelDim>());
        MakeBuiltInStock(*stocks.back(), QStringView(key));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        CArchive archive(buffer, CArchive::Mode::Store);
        PutObjectArray(archive, stocks);
    }
    buffer.close();
    buffer.open(QIODevice::ReadOnly);
    CArchive loader(buffer, CArchive::Mode::Load);
    const auto loaded = GetObjectArray<CLabelDim>(loader);
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(*loaded[0], *stocks[0]);
    EXPECT_EQ(*loaded[1], *stocks[1]);
}

TEST(CLabelDimTest, BuiltInStocks)
{
    CLabelDim disc;
    ASSERT_TRUE(MakeBuiltInStock(disc, u"Disc"));
    EXPECT_EQ(disc.name, u"(CD/DVD Disc Label - Generic)");
    EXPECT_EQ(disc.paper1, QSize(8500, 11000));
    EXPECT_EQ(disc.paper2, QSize(0, 0));
    EXPECT_EQ(disc.top2, 5688);
    EXPECT_EQ(disc.page2, 0);
    EXPECT_FALSE(disc.IsDirectToDisc());

    CLabelDim slim;
    ASSERT_TRUE(MakeBuiltInStock(slim, u"DVD Slim"));
    EXPECT_EQ(slim.stockType, CLabelDim::DvdStock);
    EXPECT_EQ(slim.left2, 283);
    EXPECT_EQ(slim.width2, 10433);
    EXPECT_EQ(slim.spine, 5079);
    EXPECT_EQ(slim.paper2, QSize(11000, 8500));

    CLabelDim untouched = slim;
    EXPECT_FALSE(MakeBuiltInStock(untouched, u"Slim"));
    EXPECT_EQ(untouched, slim);
}

} // namespace
} // namespace tvl
