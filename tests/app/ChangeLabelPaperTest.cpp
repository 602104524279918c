#include "app/paper/ChangeLabelPaperDialog.h"
#include "app/paper/LabelAlignmentWizardDialog.h"
#include "app/paper/LengthSpinBox.h"
#include "app/paper/StockSheetImage.h"
#include "stock/StockCatalogue.h"
#include "tests/app/FakePaperHost.h"
#include "tests/stock/MemorySettings.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tvl {
namespace {

// A catalogue of the four built-in stocks in a folder of its own.
class PaperDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        catalogue.LoadCatalogue();
        ASSERT_EQ(catalogue.stocks().size(), 4u);
    }

    // The catalogue as the next run reads it.
    std::unique_ptr<StockCatalogue> Reloaded()
    {
        auto reloaded = std::make_unique<StockCatalogue>(dir.path() + u'/', settings);
        reloaded->LoadCatalogue();
        return reloaded;
    }

    static QStringList Names(const QListWidget* list)
    {
        QStringList names;
        for (int i = 0; i < list->count(); ++i)
            names.append(list->item(i)->text());
        return names;
    }

    // Types text into a field as a user does, then leaves it.
    static void Type(LengthSpinBox* field, const QString& text)
    {
        field->Editor()->setText(text);
        field->Editor()->setModified(true);
        emit field->editingFinished();
    }

    QTemporaryDir dir;
    MemorySettings settings;
    StockCatalogue catalogue{dir.path() + u'/', settings};
    FakePaperHost host{catalogue};
};

// Pixels of the outline colour in an image.
int BlackPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += qGray(image.pixel(x, y)) < 64;
    }
    return count;
}

TEST_F(PaperDialogTest, ListsPreviewsAndDelete)
{
    auto custom = std::make_unique<CLabelDim>(catalogue.stock(1));
    custom->name = QStringLiteral("a custom jewel");
    catalogue.AddStock(std::move(custom));
    ChangeLabelPaperDialog dialog(catalogue, host);

    EXPECT_EQ(Names(dialog.DiscList()), QStringList{QStringLiteral("(CD/DVD Disc Label - Generic)")});
    EXPECT_FALSE(dialog.DeleteButton(0)->isEnabled()) << "the last disc stock cannot go";
    EXPECT_TRUE(dialog.DeleteButton(1)->isEnabled());
    EXPECT_EQ(Names(dialog.CaseList()), (QStringList{QStringLiteral("(CD Jewel Case - Plain Paper)"),
                                                     QStringLiteral("(DVD Case - Plain Paper)"),
                                                     QStringLiteral("(DVD Slim Case - Plain Paper)"),
                                                     QStringLiteral("a custom jewel")}))
        << "sorted by name, letter case aside";
    EXPECT_EQ(dialog.SelectedIndex(1), 1);

    // Two sheets of a jewel stock, then a DVD stock's case and booklet.
    EXPECT_EQ(dialog.Caption(0)->text(), QStringLiteral("Disc"));
    EXPECT_EQ(dialog.Caption(1)->text(), QStringLiteral("Front Cover"));
    EXPECT_EQ(dialog.Caption(2)->text(), QStringLiteral("Back Cover"));
    EXPECT_GT(BlackPixels(dialog.Preview(0)->icon().pixmap(150, 150).toImage()), 100) << "two discs drawn";
    dialog.CaseList()->setCurrentRow(1);
    EXPECT_EQ(dialog.Caption(1)->text(), QStringLiteral("Case"));
    EXPECT_EQ(dialog.Caption(2)->text(), QStringLiteral("Booklet"));
    EXPECT_TRUE(dialog.Preview(2)->isEnabled());

    dialog.CaseList()->setCurrentRow(3);
    host.answers = {2};
    dialog.DeleteButton(1)->click();
    ASSERT_EQ(host.questions.size(), 1);
    EXPECT_EQ(host.questions[0],
              QStringLiteral("Are you sure you want to delete the ''a custom jewel'' template?|Yes`No`"));
    EXPECT_EQ(dialog.CaseList()->count(), 4) << "No keeps the stock";
    host.answers = {1};
    dialog.DeleteButton(1)->click();
    EXPECT_EQ(dialog.CaseList()->count(), 3);
    EXPECT_EQ(dialog.CaseList()->currentRow(), 2) << "the last entry takes the place of the last";
    EXPECT_EQ(Reloaded()->stocks().size(), 4u) << "the deletion is written";
}

TEST_F(PaperDialogTest, OnePageJewelStockShowsBothLabelsOnOneSheet)
{
    CLabelDim& jewel = catalogue.stock(1);
    jewel.page2 = 2;
    jewel.paper1 = QSize(8500, 11000);
    jewel.folded = 0;
    jewel.width1 = 4760;
    jewel.left1 = 1870;
    jewel.top1 = 600;
    jewel.left2 = 1300;
    jewel.top2 = 5750;
    ChangeLabelPaperDialog dialog(catalogue, host);
    EXPECT_EQ(dialog.Caption(1)->text(), QStringLiteral("Front && Back Cover"));
    EXPECT_TRUE(dialog.Caption(2)->text().isEmpty());
    EXPECT_TRUE(dialog.Preview(2)->icon().isNull());
    EXPECT_FALSE(dialog.Preview(2)->isEnabled());
}

TEST_F(PaperDialogTest, SwitchingCaseKindAsksAndLoadsTheDefaultDesign)
{
    {
        ChangeLabelPaperDialog dialog(catalogue, host);
        dialog.CaseList()->setCurrentRow(1); // (DVD Case - Plain Paper)
        host.answers = {2};
        dialog.accept();
        ASSERT_EQ(host.questions.size(), 1);
        EXPECT_EQ(host.questions[0],
                  QStringLiteral("You have switched to a DVD case template.\r\nThe default DVD "
                                 "case label will now be loaded.|OK`Cancel`"));
        EXPECT_EQ(host.saveQuestions, 0);
        EXPECT_TRUE(host.openedDefaults.isEmpty());
        EXPECT_EQ(catalogue.currentCase(), 1) << "the remembered jewel stock stays with a jewel design";
        EXPECT_EQ(host.applied, 0) << "nothing changed, so nothing is applied to the design";
    }
    {
        host.questions.clear();
        host.allowSave = false;
        ChangeLabelPaperDialog dialog(catalogue, host);
        dialog.CaseList()->setCurrentRow(2); // (DVD Slim Case - Plain Paper)
        host.answers = {1};
        dialog.accept();
        EXPECT_EQ(host.saveQuestions, 1);
        EXPECT_TRUE(host.openedDefaults.isEmpty()) << "a cancelled save question keeps the design";
        EXPECT_EQ(catalogue.currentCase(), 1);
    }
    host.allowSave = true;
    ChangeLabelPaperDialog dialog(catalogue, host);
    dialog.CaseList()->setCurrentRow(2);
    host.answers = {1};
    dialog.accept();
    EXPECT_EQ(host.openedDefaults, QStringList{QStringLiteral("DVD")});
    EXPECT_EQ(catalogue.currentCase(), 3);
    EXPECT_EQ(Reloaded()->currentCase(), 3);
    EXPECT_EQ(host.applied, 1) << "only the switch that happened is applied";
}

TEST_F(PaperDialogTest, ListsKeepTheEditedStockEvenWhenNamesRepeat)
{
    auto twin = std::make_unique<CLabelDim>(catalogue.stock(1));
    const int twinIndex = catalogue.AddStock(std::move(twin));
    ChangeLabelPaperDialog dialog(catalogue, host);
    for (int row = 0; row < dialog.CaseList()->count(); ++row) {
        dialog.CaseList()->setCurrentRow(row);
        if (dialog.SelectedIndex(1) == twinIndex)
            break;
    }
    ASSERT_EQ(dialog.SelectedIndex(1), twinIndex);
    int opened = -1;
    dialog.SetWizardRunner([&](int index, bool newStock, bool firstSheet) {
        EXPECT_FALSE(newStock);
        EXPECT_TRUE(firstSheet);
        opened = index;
        return index;
    });
    dialog.EditButton(1)->click();
    EXPECT_EQ(opened, twinIndex);
    EXPECT_EQ(dialog.SelectedIndex(1), twinIndex);

    // A jewel stock's third preview opens its second sheet, a DVD stock's its first.
    bool first = true;
    dialog.SetWizardRunner([&](int, bool, bool firstSheet) {
        first = firstSheet;
        return -1;
    });
    dialog.Preview(2)->click();
    EXPECT_FALSE(first);
    dialog.CaseList()->setCurrentRow(2); // (DVD Case - Plain Paper), after the twins
    dialog.Preview(2)->click();
    EXPECT_TRUE(first);
}

TEST_F(PaperDialogTest, CreatingACustomJewelStockInMillimetres)
{
    ChangeLabelPaperDialog dialog(catalogue, host);
    dialog.SetWizardRunner([&](int index, bool newStock, bool firstSheet) {
        LabelAlignmentWizardDialog wizard(catalogue, host, index, newStock, firstSheet, &dialog);
        EXPECT_EQ(wizard.windowTitle(), QStringLiteral(" Label Alignment Wizard"));
        EXPECT_EQ(wizard.NameField()->text(), QStringLiteral("Custom Jewel Case 1"));
        EXPECT_FALSE(wizard.Field(QStringLiteral("width1"))->isVisibleTo(&wizard));
        EXPECT_FALSE(wizard.Field(QStringLiteral("left2"))->isVisibleTo(&wizard));
        EXPECT_TRUE(wizard.FoldedBox()->isVisibleTo(&wizard));
        wizard.UnitsBox()->setCurrentIndex(1);
        EXPECT_EQ(host.units, LengthUnits::Millimeters);
        EXPECT_EQ(wizard.Field(QStringLiteral("left1"))->text(), QStringLiteral("20.3 mm"));
        EXPECT_EQ(wizard.PaperBox()->currentText(), QStringLiteral("Letter - (216mm x 279mm)"));
        const QImage before = wizard.PreviewImage();
        Type(wizard.Field(QStringLiteral("left1")), QStringLiteral("25.4"));
        EXPECT_EQ(wizard.Field(QStringLiteral("left1"))->text(), QStringLiteral("25.4 mm"));
        EXPECT_EQ(wizard.editor().stock().left1, 999);
        EXPECT_NE(wizard.PreviewImage(), before) << "the preview follows the edit";
        Type(wizard.Field(QStringLiteral("top1")), QStringLiteral("500"));
        EXPECT_EQ(wizard.editor().stock().top1, 8500 - 4760) << "kept on the sheet";
        wizard.PagesBox()->setCurrentIndex(0);
        EXPECT_TRUE(wizard.Field(QStringLiteral("left2"))->isVisibleTo(&wizard));
        EXPECT_FALSE(wizard.OrientationBox()->isVisibleTo(&wizard));
        wizard.PagesBox()->setCurrentIndex(1);
        Type(wizard.Field(QStringLiteral("left1")), QStringLiteral("12.7"));
        for (QPushButton* button : wizard.findChildren<QPushButton*>()) {
            if (button->text() == u"&Save")
                button->click();
        }
        return wizard.savedIndex();
    });
    dialog.CreateButton(1)->click();
    ASSERT_EQ(catalogue.stocks().size(), 5u);
    const CLabelDim& created = catalogue.stock(4);
    EXPECT_EQ(created.name, QStringLiteral("Custom Jewel Case 1"));
    EXPECT_EQ(created.left1, 499);
    EXPECT_EQ(created.stockType, CLabelDim::JewelStock);
    EXPECT_EQ(dialog.SelectedIndex(1), 4) << "the new stock is selected";
    EXPECT_EQ(host.applied, 0) << "a new stock is not in use";
    const auto reloaded = Reloaded();
    ASSERT_EQ(reloaded->stocks().size(), 5u);
    EXPECT_EQ(reloaded->stock(4), created);
    dialog.accept();
    EXPECT_EQ(catalogue.currentCase(), 4);
}

TEST_F(PaperDialogTest, WizardOnTheDiscStock)
{
    LabelAlignmentWizardDialog wizard(catalogue, host, 0, false, true);
    EXPECT_EQ(wizard.PaperBox()->count(), 3);
    EXPECT_FALSE(wizard.PagesBox()->isVisibleTo(&wizard));
    EXPECT_TRUE(wizard.Field(QStringLiteral("height1"))->isVisibleTo(&wizard));
    const QImage letter = wizard.PreviewImage();
    EXPECT_GT(BlackPixels(letter), 100);
    wizard.PaperBox()->setCurrentIndex(2);
    EXPECT_EQ(wizard.editor().stock().left2, 437);
    EXPECT_EQ(wizard.Field(QStringLiteral("left1"))->text(), QStringLiteral("1.938 ''"));
    wizard.Field(QStringLiteral("width1"))->stepDown();
    EXPECT_EQ(wizard.editor().stock().width1, 4615);
    EXPECT_EQ(wizard.editor().stock().left1, 442);
    EXPECT_NE(wizard.PreviewImage(), letter);

    // Cancel leaves the catalogue as it was; Save of the current disc stock applies the stocks again.
    wizard.reject();
    EXPECT_EQ(catalogue.stock(0).width1, 4625);
    LabelAlignmentWizardDialog saving(catalogue, host, 0, false, true);
    saving.Field(QStringLiteral("width1"))->stepDown();
    for (QPushButton* button : saving.findChildren<QPushButton*>()) {
        if (button->text() == u"&Save")
            button->click();
    }
    EXPECT_EQ(catalogue.stock(0).width1, 4615);
    EXPECT_EQ(host.applied, 1);
    EXPECT_EQ(Reloaded()->stock(0).width1, 4615);
}

TEST(StockSheetImageTest, DrawsOutlinesOnAWhiteSheet)
{
    CLabelDim disc;
    CLabelDim jewel;
    MakeBuiltInStock(disc, u"Disc");
    MakeBuiltInStock(jewel, u"Jewel");
    const QImage sheet = StockSheetImage(disc, jewel, u"3", QSize(200, 200));
    ASSERT_EQ(sheet.size(), QSize(200, 200));
    // The back's portrait Letter sheet fills the height; its outline and spine lines cross the middle row.
    EXPECT_EQ(sheet.pixelColor(100, 10), QColor(Qt::white));
    EXPECT_NE(sheet.pixelColor(5, 100), QColor(Qt::white)) << "grey beside a portrait sheet";
    int lines = 0;
    const int row = 50;
    for (int x = 1; x < 200; ++x)
        lines += qGray(sheet.pixel(x, row)) < 64 && qGray(sheet.pixel(x - 1, row)) >= 64;
    EXPECT_EQ(lines, 4) << "two edges and two spine lines";
}

} // namespace
} // namespace tvl
