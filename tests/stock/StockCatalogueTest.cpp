#include "stock/StockCatalogue.h"
#include "MemorySettings.h"
#include "document/files/SafeWrite.h"
#include "stock/CatalogueFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tvl {
namespace {

std::unique_ptr<CLabelDim> Stock(int type, const char* name)
{
    auto stock = std::make_unique<CLabelDim>();
    MakeBuiltInStock(*stock, type == 0 ? u"Disc" : type == 1 ? u"Jewel" : u"DVD");
    stock->name = QString::fromLatin1(name);
    return stock;
}

void WriteCatalogue(const QString& path, std::vector<std::unique_ptr<CLabelDim>> stocks, int disc, int cases)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    WriteCatalogueFile(file, stocks, disc, cases);
}

QStringList Names(const StockCatalogue& catalogue)
{
    QStringList names;
    for (const auto& stock : catalogue.stocks())
        names << stock->name;
    return names;
}

class StockCatalogueTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    QTemporaryDir folder;
    QString path = folder.path() + u'/';
    MemorySettings settings;
    StockCatalogue catalogue{path, settings};
};

TEST_F(StockCatalogueTest, FirstStartWritesTheBuiltInStocks)
{
    catalogue.LoadCatalogue();
    EXPECT_EQ(Names(catalogue), QStringList({QStringLiteral("(CD/DVD Disc Label - Generic)"),
                                             QStringLiteral("(CD Jewel Case - Plain Paper)"),
                                             QStringLiteral("(DVD Case - Plain Paper)"),
                                             QStringLiteral("(DVD Slim Case - Plain Paper)")}));
    EXPECT_EQ(catalogue.currentDisc(), 0);
    EXPECT_EQ(catalogue.currentCase(), 1);
    ASSERT_TRUE(QFile::exists(path + QStringLiteral("labels.ini")));

    QFile file(path + QStringLiteral("labels.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const CatalogueContent content = ReadCatalogueFile(file);
    EXPECT_TRUE(content.complete);
    EXPECT_EQ(content.stocks.size(), 4u);
    EXPECT_EQ(content.currentCase, 1);
    // The index text closes the file.
    EXPECT_TRUE(file.readAll().isEmpty());
}

TEST_F(StockCatalogueTest, UpdateFileMergesNewNamesAndIsRemoved)
{
    std::vector<std::unique_ptr<CLabelDim>> main;
    main.push_back(Stock(0, "Disc A"));
    main.push_back(Stock(1, "Jewel A"));
    main.push_back(Stock(2, "DVD A"));
    WriteCatalogue(path + QStringLiteral("labels.ini"), std::move(main), 0, 2);

    std::vector<std::unique_ptr<CLabelDim>> update;
    update.push_back(Stock(1, "Jewel A"));
    update.push_back(Stock(0, "Disc B"));
    update.back()->left1 = 123;
    WriteCatalogue(path + QStringLiteral("labels2.ini"), std::move(update), 1, 0);

    catalogue.LoadCatalogue();
    EXPECT_EQ(Names(catalogue), QStringList({QStringLiteral("Disc A"), QStringLiteral("Jewel A"),
                                             QStringLiteral("DVD A"), QStringLiteral("Disc B")}));
    EXPECT_EQ(catalogue.stocks()[3]->left1, 123);
    EXPECT_EQ(catalogue.currentDisc(), 0);
    EXPECT_EQ(catalogue.currentCase(), 2);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("labels2.ini")));

    StockCatalogue again(path, settings);
    again.LoadCatalogue();
    EXPECT_EQ(Names(again), Names(catalogue));
}

TEST_F(StockCatalogueTest, UpdateFileAloneBecomesTheCatalogue)
{
    std::vector<std::unique_ptr<CLabelDim>> update;
    update.push_back(Stock(1, "Jewel U"));
    update.push_back(Stock(0, "Disc U"));
    update.push_back(Stock(2, "DVD U"));
    WriteCatalogue(path + QStringLiteral("labels2.ini"), std::move(update), 1, 2);

    catalogue.LoadCatalogue();
    EXPECT_EQ(Names(catalogue),
              QStringList({QStringLiteral("Jewel U"), QStringLiteral("Disc U"), QStringLiteral("DVD U")}));
    EXPECT_EQ(catalogue.currentDisc(), 1);
    EXPECT_EQ(catalogue.currentCase(), 2);
    EXPECT_TRUE(QFile::exists(path + QStringLiteral("labels.ini")));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("labels2.ini")));
}

TEST_F(StockCatalogueTest, DamagedFileKeepsWhatWasReadAndValidCurrentStocks)
{
    std::vector<std::unique_ptr<CLabelDim>> main;
    main.push_back(Stock(1, "Jewel A"));
    main.push_back(Stock(0, "Disc A"));
    WriteCatalogue(path + QStringLiteral("labels.ini"), std::move(main), 7, 0);
    QFile file(path + QStringLiteral("labels.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.resize(file.size() - 40); // cuts the second stock

    catalogue.LoadCatalogue();
    ASSERT_GE(catalogue.stocks().size(), 2u);
    EXPECT_EQ(catalogue.stocks()[0]->name, u"Jewel A");
    EXPECT_TRUE(catalogue.DiscStock().IsDiscStock());
    EXPECT_TRUE(catalogue.CaseStock().IsCaseStock());
}

TEST_F(StockCatalogueTest, ReconcileSwitchesBetweenJewelAndDvdStocks)
{
    std::vector<std::unique_ptr<CLabelDim>> main;
    main.push_back(Stock(0, "Disc A"));
    main.push_back(Stock(1, "Jewel A"));
    main.push_back(Stock(1, "Jewel B"));
    main.push_back(Stock(2, "DVD A"));
    main.push_back(Stock(2, "DVD B"));
    WriteCatalogue(path + QStringLiteral("labels.ini"), std::move(main), 0, 2);
    catalogue.LoadCatalogue();

    catalogue.ReconcileCaseKind(u"Jewel");
    EXPECT_EQ(catalogue.currentCase(), 2);
    EXPECT_TRUE(settings.values.isEmpty());

    catalogue.ReconcileCaseKind(u"DVD");
    EXPECT_EQ(catalogue.currentCase(), 3); // no remembered DVD stock: the first one
    EXPECT_EQ(settings.values.value(QStringLiteral("IndexJewel")), u"2");
    EXPECT_EQ(settings.values.value(QStringLiteral("IndexDVD")), u"3");

    catalogue.ReconcileCaseKind(u"Jewel");
    EXPECT_EQ(catalogue.currentCase(), 2); // the remembered jewel stock
    EXPECT_EQ(settings.values.value(QStringLiteral("IndexDVD")), u"3");
    settings.values[QStringLiteral("IndexDVD")] = QStringLiteral("4");
    catalogue.ReconcileCaseKind(u"DVD");
    EXPECT_EQ(catalogue.currentCase(), 4);

    // A remembered index that is not a stock of the kind falls back to the first one.
    settings.values[QStringLiteral("IndexJewel")] = QStringLiteral("3");
    catalogue.ReconcileCaseKind(u"Jewel");
    EXPECT_EQ(catalogue.currentCase(), 1);
    EXPECT_EQ(settings.values.value(QStringLiteral("IndexJewel")), u"1");

    StockCatalogue reloaded(path, settings);
    reloaded.LoadCatalogue();
    EXPECT_EQ(reloaded.currentCase(), 1);
}

TEST_F(StockCatalogueTest, ReconcileWithNoDvdStockLeftAppendsTheBuiltInOne)
{
    std::vector<std::unique_ptr<CLabelDim>> main;
    main.push_back(Stock(0, "Disc A"));
    main.push_back(Stock(1, "Jewel A"));
    WriteCatalogue(path + QStringLiteral("labels.ini"), std::move(main), 0, 1);
    catalogue.LoadCatalogue();
    settings.values[QStringLiteral("IndexDVD")] = QStringLiteral("1");

    catalogue.ReconcileCaseKind(u"DVD");
    ASSERT_EQ(catalogue.stocks().size(), 3u);
    EXPECT_EQ(catalogue.currentCase(), 2);
    EXPECT_EQ(catalogue.CaseStock().name, u"(DVD Case - Plain Paper)");
    EXPECT_EQ(settings.values.value(QStringLiteral("IndexDVD")), u"2");
}

TEST_F(StockCatalogueTest, NewStockNames)
{
    catalogue.LoadCatalogue();
    EXPECT_EQ(catalogue.NewStockName(0), u"Custom Disc Label 1");
    catalogue.AddStock(Stock(0, "Custom Disc Label 1"));
    catalogue.AddStock(Stock(0, "Custom Disc Label 7"));
    catalogue.AddStock(Stock(0, "Custom Disc Labels"));
    catalogue.AddStock(Stock(1, "Custom Jewel Case 99999999999999"));
    EXPECT_EQ(catalogue.NewStockName(0), u"Custom Disc Label 8");
    EXPECT_EQ(catalogue.NewStockName(2), u"Custom DVD Case 1");
    EXPECT_EQ(catalogue.NewStockName(1), u"Custom Jewel Case 1000000000");
    EXPECT_EQ(catalogue.NewStockName(5), u"Custom");
}

TEST_F(StockCatalogueTest, DeletingFixesTheCurrentStocks)
{
    std::vector<std::unique_ptr<CLabelDim>> main;
    main.push_back(Stock(0, "b disc"));
    main.push_back(Stock(1, "Jewel A"));
    main.push_back(Stock(0, "C disc"));
    main.push_back(Stock(0, "A disc"));
    main.push_back(Stock(2, "DVD A"));
    WriteCatalogue(path + QStringLiteral("labels.ini"), std::move(main), 2, 4);
    catalogue.LoadCatalogue();

    // A stock listed before the current case stock: the same case stock stays current.
    ASSERT_TRUE(catalogue.DeleteStock(1));
    EXPECT_EQ(catalogue.CaseStock().name, u"DVD A");
    EXPECT_EQ(catalogue.currentDisc(), 1);

    // The current disc stock: the first disc stock by name becomes current.
    ASSERT_TRUE(catalogue.DeleteStock(1));
    EXPECT_EQ(catalogue.DiscStock().name, u"A disc");
    EXPECT_EQ(catalogue.CaseStock().name, u"DVD A");

    // The last case stock stays.
    EXPECT_FALSE(catalogue.DeleteStock(2));

    StockCatalogue reloaded(path, settings);
    reloaded.LoadCatalogue();
    EXPECT_EQ(Names(reloaded),
              QStringList({QStringLiteral("b disc"), QStringLiteral("A disc"), QStringLiteral("DVD A")}));
    EXPECT_EQ(reloaded.DiscStock().name, u"A disc");
}

TEST_F(StockCatalogueTest, SaveFailureIsReported)
{
    StockCatalogue nowhere(path + QStringLiteral("missing/"), settings);
    nowhere.LoadCatalogue();
    EXPECT_EQ(nowhere.stocks().size(), 4u); // the built-in stocks stay in memory
    const FileResult<> saved = nowhere.SaveCatalogue();
    ASSERT_FALSE(saved);
    EXPECT_EQ(saved.error().message, u"Error creating the template file.");
}

} // namespace
} // namespace tvl
