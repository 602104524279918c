#include "stock/StockEditor.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

CLabelDim BuiltIn(QStringView key)
{
    CLabelDim stock;
    MakeBuiltInStock(stock, key);
    return stock;
}

TEST(StockEditorTest, PagesSwitchMovesLabelsAndFoldsTheFront)
{
    StockEditor editor(BuiltIn(u"Jewel"), true, LengthUnits::Inches);
    EXPECT_TRUE(editor.TwoSheets());
    EXPECT_TRUE(editor.ShowsOrientation());
    EXPECT_TRUE(editor.ShowsFolded());
    EXPECT_FALSE(editor.ShowsLabelTwo()) << "the back has a sheet of its own";

    editor.SetTwoPages(false);
    const CLabelDim& onePage = editor.stock();
    EXPECT_EQ(onePage.page2, 2);
    EXPECT_EQ(onePage.paper1, QSize(8500, 11000)) << "the one sheet stands portrait";
    EXPECT_EQ(onePage.paper2, QSize(11000, 8500)) << "the second sheet keeps the first as it was";
    EXPECT_EQ(onePage.folded, 0);
    EXPECT_EQ(onePage.width1, 4760);
    EXPECT_EQ(QPoint(onePage.left1, onePage.top1), QPoint(1870, 600));
    EXPECT_EQ(QPoint(onePage.left2, onePage.top2), QPoint(1300, 5750));
    EXPECT_FALSE(editor.ShowsOrientation());
    EXPECT_FALSE(editor.ShowsFolded());
    EXPECT_TRUE(editor.ShowsLabelTwo());

    editor.SetTwoPages(true);
    const CLabelDim& twoPages = editor.stock();
    EXPECT_EQ(twoPages.page2, 3);
    EXPECT_EQ(twoPages.paper1, QSize(11000, 8500));
    EXPECT_EQ(twoPages.paper2, QSize(8500, 11000));
    EXPECT_EQ(twoPages.folded, 1);
    EXPECT_EQ(twoPages.width1, 9520);
    EXPECT_EQ(QPoint(twoPages.left1, twoPages.top1), QPoint(800, 800));
    EXPECT_EQ(QPoint(twoPages.left2, twoPages.top2), QPoint(1300, 600));

    StockEditor metric(BuiltIn(u"Jewel"), true, LengthUnits::Millimeters);
    metric.SetTwoPages(false);
    metric.SetTwoPages(true);
    EXPECT_EQ(metric.stock().paper2, QSize(8268, 11693)) << "a metric user's second sheet is A4";
}

TEST(StockEditorTest, TurningASheetKeepsItsPaperSize)
{
    StockEditor letter(BuiltIn(u"Jewel"), true, LengthUnits::Inches);
    ASSERT_EQ(letter.Paper(), PaperChoice::Letter);
    letter.SetLandscape(false);
    EXPECT_EQ(letter.stock().paper1, QSize(8500, 11000));
    EXPECT_EQ(letter.Paper(), PaperChoice::Letter);
    EXPECT_EQ(letter.stock().folded, 0) << "a portrait sheet unfolds the booklet";
    EXPECT_EQ(letter.stock().width1, 4760);
    letter.SetLandscape(true);
    EXPECT_EQ(letter.stock().paper1, QSize(11000, 8500));

    StockEditor a4(BuiltIn(u"DVD"), true, LengthUnits::Inches);
    a4.SetPaper(PaperChoice::A4);
    EXPECT_EQ(a4.stock().paper1, QSize(11693, 8268)) << "landscape stays landscape";
    a4.SetLandscape(false);
    EXPECT_EQ(a4.stock().paper1, QSize(8268, 11693));
    EXPECT_EQ(a4.Paper(), PaperChoice::A4);

    // The second sheet of a DVD stock is edited without an orientation choice.
    StockEditor second(BuiltIn(u"DVD"), false, LengthUnits::Inches);
    EXPECT_FALSE(second.ShowsOrientation());
    EXPECT_FALSE(second.ShowsLabelOne());
    second.SetPaper(PaperChoice::A4);
    EXPECT_EQ(second.stock().paper2, QSize(11693, 8268));
    EXPECT_EQ(second.stock().paper1, QSize(11000, 8500));
}

TEST(StockEditorTest, DiscPrinterPaperCentresDiscsAndComesBack)
{
    StockEditor editor(BuiltIn(u"Disc"), true, LengthUnits::Inches);
    editor.SetPaper(PaperChoice::DiscPrinter);
    const CLabelDim& direct = editor.stock();
    EXPECT_EQ(direct.paper1, QSize(5500, 5500));
    EXPECT_EQ(QPoint(direct.left1, direct.top1), QPoint(437, 437));
    EXPECT_EQ(QPoint(direct.left2, direct.top2), QPoint(437, 437));
    EXPECT_EQ(editor.Paper(), PaperChoice::DiscPrinter);
    // The disc fields now say where the printer puts the disc on its Letter page.
    EXPECT_EQ(editor.Field(u"left1"), 1938);
    EXPECT_TRUE(editor.SetField(u"left1", 5000));
    EXPECT_EQ(editor.stock().cdPrint1.left, 8500 - 4625);
    EXPECT_EQ(editor.stock().left1, 437);
    editor.SetField(u"left1", 1938);
    // A smaller disc is centred again on the printer's square page.
    editor.SetField(u"width1", 4500);
    EXPECT_EQ(editor.stock().left1, 500);
    editor.SetField(u"width1", 4625);

    editor.SetPaper(PaperChoice::Letter);
    const CLabelDim& back = editor.stock();
    EXPECT_EQ(back.paper1, QSize(8500, 11000));
    EXPECT_EQ(QPoint(back.left1, back.top1), QPoint(1938, 688));
    EXPECT_EQ(QPoint(back.left2, back.top2), QPoint(1938, 5688));
    EXPECT_EQ(back.cdPrint1, EdgeRect{});
    EXPECT_EQ(back.cdSaved2, EdgeRect{});
    editor.SetPaper(PaperChoice::A4);
    EXPECT_EQ(editor.stock().paper1, QSize(8268, 11693));
}

TEST(StockEditorTest, TypedFieldsFollowTheGeometryRules)
{
    StockEditor editor(BuiltIn(u"Disc"), true, LengthUnits::Inches);
    const struct
    {
        const char* key;
        const char* text;
        LengthUnits units;
        int value;
        bool corrected;
    } cases[] = {
        {"left1", "1.5''", LengthUnits::Inches, 1500, false},
        {"left1", "99999999999", LengthUnits::Inches, 8500 - 4625, true},
        {"left1", "-3", LengthUnits::Inches, 0, true},
        {"top2", "50.8 mm", LengthUnits::Millimeters, 1999, false},
        {"width1", "1", LengthUnits::Inches, 1062, true},
        {"height1", "1.6", LengthUnits::Inches, 562, true},
        {"width1", "4.625", LengthUnits::Inches, 4625, true}, // the second disc follows
    };
    for (const auto& c : cases) {
        editor.SetUnits(c.units);
        const QString key = QString::fromLatin1(c.key);
        EXPECT_EQ(editor.SetFieldText(key, QString::fromLatin1(c.text)), c.corrected) << c.text;
        EXPECT_EQ(editor.Field(key), c.value) << c.text;
    }
    EXPECT_EQ(editor.stock().width2, 4625);
    editor.SetUnits(LengthUnits::Inches);
    editor.StepField(u"left2", 1);
    EXPECT_EQ(editor.stock().left2, 1948);
    EXPECT_EQ(editor.FieldText(u"left2"), QStringLiteral("1.948 ''"));
}

TEST(StockEditorTest, FoldedCoverAndOpeningRules)
{
    CLabelDim portraitFolded = BuiltIn(u"Jewel");
    portraitFolded.paper1 = QSize(8500, 11000);
    StockEditor opened(portraitFolded, true, LengthUnits::Inches);
    EXPECT_EQ(opened.stock().folded, 0);
    EXPECT_EQ(opened.stock().width1, 4760);

    StockEditor editor(BuiltIn(u"Jewel"), true, LengthUnits::Inches);
    editor.SetFolded(false);
    EXPECT_EQ(editor.stock().width1, 4760);
    editor.SetFolded(false);
    EXPECT_EQ(editor.stock().width1, 4760) << "no change when the choice stands";
    editor.SetFolded(true);
    EXPECT_EQ(editor.stock().width1, 9520);

    CLabelDim onePage = BuiltIn(u"Jewel");
    onePage.page2 = 2;
    onePage.paper2 = QSize(0, 0);
    StockEditor oneSheet(onePage, false, LengthUnits::Inches);
    EXPECT_TRUE(oneSheet.firstSheet()) << "a one-sheet stock has only a first sheet";
    EXPECT_EQ(oneSheet.stock().paper2, onePage.paper1);
}

} // namespace
} // namespace tvl
