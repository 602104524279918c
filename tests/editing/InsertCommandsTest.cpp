#include "editing/insert/InsertCommands.h"
#include "editing/insert/InsertImageFile.h"
#include "editing/insert/WhichDiscDialog.h"
#include "tests/editing/BlankDocument.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTimer>
#include <gtest/gtest.h>

namespace tvl {
namespace {

class InsertCommandsTest : public testing::Test
{
protected:
    InsertCommandsTest()
    {
        InsertPorts ports;
        ports.whichDisc = [this](const QString& text, int& lastDisc) {
            questions.append(text);
            shownDisc = lastDisc;
            if (clickedDisc)
                lastDisc = clickedDisc;
            return discAnswer;
        };
        ports.chooseImage = [this](const QString& folder) {
            startFolders.append(folder);
            return chosenFile;
        };
        ports.imageFolder = [this] { return imageFolder; };
        ports.setImageFolder = [this](const QString& folder) { imageFolder = folder; };
        ports.loadPicture = test::LoadTestPicture;
        ports.reportPictureError = [this](const QString& message) { errors.append(message); };
        ports.jitter = [] { return 0; };
        inserts = std::make_unique<InsertCommands>(document, std::move(ports));
    }

    // Nothing was added: no new item, no step, the design not modified.
    void ExpectUnchanged(size_t items)
    {
        EXPECT_EQ(document.design().itemList.size(), items);
        EXPECT_EQ(document.history().stepCount(), 0);
        EXPECT_FALSE(document.file().modified);
    }

    DesignDocument document;
    std::unique_ptr<InsertCommands> inserts;
    QStringList questions;
    int shownDisc = 0;
    int clickedDisc = 0;
    int discAnswer = 1;
    QString chosenFile;
    QStringList startFolders;
    QString imageFolder;
    QStringList errors;
};

TEST_F(InsertCommandsTest, AlbumFieldsAskForTheDiscOnlyInDoubleDesignsAndCancelAddsNothing)
{
    test::OpenBlankDesign(document, "Single");
    ASSERT_TRUE(inserts->Insert(InsertKind::Artist));
    EXPECT_TRUE(questions.isEmpty());
    const CRichChild* artist = document.design().FindItem(u"Artist(1)");
    ASSERT_NE(artist, nullptr);
    EXPECT_EQ(artist->Text(), QStringLiteral("Artist\b"));
    EXPECT_EQ(document.selectedName(), artist->name);

    test::OpenBlankDesign(document, "Double");
    const size_t items = document.design().itemList.size();
    discAnswer = -1;
    clickedDisc = 2;
    EXPECT_FALSE(inserts->Insert(InsertKind::Track));
    EXPECT_EQ(questions, QStringList{QStringLiteral("Which disc do you want this data attached to?")});
    ExpectUnchanged(items);
    EXPECT_EQ(inserts->lastDisc(), 2) << "a click is remembered even when the question is cancelled";

    discAnswer = 2;
    ASSERT_TRUE(inserts->Insert(InsertKind::Artist));
    EXPECT_EQ(shownDisc, 2);
    const CRichChild* second = document.design().FindItem(u"Artist - Disc 2(1)");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->Text(), QStringLiteral("Artist - Disc 2\b"));

    questions.clear();
    ASSERT_TRUE(inserts->Insert(InsertKind::Text));
    EXPECT_TRUE(questions.isEmpty()) << "free text belongs to no disc";
    EXPECT_EQ(document.history().stepCount(), 2);

    test::OpenBlankDesign(document, "Double");
    EXPECT_EQ(inserts->lastDisc(), 1) << "a new design asks about disc 1 first";
}

TEST_F(InsertCommandsTest, EachCommandMakesItsKindOfItem)
{
    test::OpenBlankDesign(document, "Single");
    struct Case
    {
        InsertKind kind;
        const char* caption;
        const char* name;
        ItemKind itemKind;
    };
    const Case cases[] = {
        {InsertKind::Artist, "Artist", "Artist(1)", ItemKind::Text},
        {InsertKind::Title, "Title", "Title(1)", ItemKind::Text},
        {InsertKind::Track, "Track", "Track List(1)", ItemKind::Track},
        {InsertKind::Year, "Year", "Year(1)", ItemKind::Text},
        {InsertKind::TotalTime, "Total Time", "Time(1)", ItemKind::Text},
        {InsertKind::Genre, "Genre", "Genre(1)", ItemKind::Text},
        {InsertKind::Text, "Text", "Text 1", ItemKind::Text},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(InsertCaption(c.kind), QString::fromLatin1(c.caption));
        ASSERT_TRUE(inserts->Insert(c.kind));
        const CRichChild* item = document.design().FindItem(QString::fromLatin1(c.name));
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->kind, c.itemKind);
        EXPECT_EQ(item->surface, QStringLiteral("Disc 1"));
    }
    EXPECT_EQ(document.history().stepCount(), 7);
}

TEST_F(InsertCommandsTest, InsertImageRemembersTheFolderAndAPictureThatFailsLeavesNoStep)
{
    test::OpenBlankDesign(document, "Single");
    document.ShowSurface(QStringLiteral("Front Cover"));
    const size_t items = document.design().itemList.size();
    imageFolder = QStringLiteral("/photos/old");

    EXPECT_FALSE(inserts->Insert(InsertKind::Image));
    EXPECT_EQ(startFolders, QStringList{QStringLiteral("/photos/old")});
    ExpectUnchanged(items);

    chosenFile = QStringLiteral("/photos/new/broken.png");
    EXPECT_FALSE(inserts->Insert(InsertKind::Image));
    ExpectUnchanged(items);
    EXPECT_EQ(errors, QStringList{QStringLiteral("Invalid image format.")});
    EXPECT_EQ(imageFolder, QStringLiteral("/photos/new"));

    chosenFile = QStringLiteral("/photos/new/wide.png");
    ASSERT_TRUE(inserts->Insert(InsertKind::Image));
    const CRichChild* picture = document.design().FindItem(u"Image(1)");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Rect().size(), QSize(1500, 750));
    EXPECT_EQ(picture->imagePath, chosenFile);
    EXPECT_EQ(document.history().stepCount(), 1);
}

TEST_F(InsertCommandsTest, ThePopUpMenuPlacesTheItemCentredOnThePointItWasOpenedAt)
{
    test::OpenBlankDesign(document, "Single");
    document.ShowSurface(QStringLiteral("Back Cover"));
    const QRect back = document.design().FindCover(u"Back Cover")->Rect();
    const QPoint at = back.center();
    QMenu menu;
    inserts->FillInsertMenu(menu, at);
    QStringList captions;
    for (const QAction* action : menu.actions())
        captions.append(action->text());
    EXPECT_EQ(captions,
              (QStringList{QStringLiteral("Artist"), QStringLiteral("Title"), QStringLiteral("Track"),
                           QStringLiteral("Year"), QStringLiteral("Total Time"), QStringLiteral("Genre"),
                           QStringLiteral("Text"), QStringLiteral("Image")}));
    menu.actions().at(6)->trigger();
    const CRichChild* text = document.design().FindItem(u"Text 1");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Rect(), QRect(at.x() - 1000, at.y() - 200, 2000, 400));

    // Near the corner the new block is kept inside the cover.
    inserts->Insert(InsertKind::Title, back.topLeft());
    EXPECT_EQ(document.design().FindItem(u"Title(1)")->Rect().topLeft(), back.topLeft());
}

TEST(WhichDiscDialogTest, ShowsTheLastDiscAndRemembersAClickEvenOnCancel)
{
    int lastDisc = 2;
    int shownOn = 0;
    QString caption;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        caption = dialog->windowTitle();
        const QList<QRadioButton*> radios = dialog->findChildren<QRadioButton*>();
        ASSERT_EQ(radios.size(), 2);
        shownOn = radios[1]->isChecked() ? 2 : 1;
        radios[0]->click();
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    });
    EXPECT_EQ(AskWhichDisc(nullptr, QStringLiteral("Which disc?"), lastDisc), -1);
    EXPECT_EQ(caption, QStringLiteral(" Double CD mode"));
    EXPECT_EQ(shownOn, 2);
    EXPECT_EQ(lastDisc, 1);

    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    EXPECT_EQ(AskWhichDisc(nullptr, QStringLiteral("Which disc?"), lastDisc), 1);
}

TEST(InsertImageFileTest, TheFilterListsEachPictureKindAndTheDialogStartsInThePicturesFolder)
{
    const QStringList filters = InsertImageFilter().split(QStringLiteral(";;"));
    ASSERT_EQ(filters.size(), 9);
    EXPECT_EQ(filters[0],
              QStringLiteral(
                  "All Image Files (*.jpg *.jpeg *.bmp *.dib *.gif *.tif *.tiff *.png *.ico *.wmf *.emf)"));
    EXPECT_EQ(filters[3], QStringLiteral("GIF Files (*.gif)"));
    EXPECT_EQ(filters[4], QStringLiteral("TIFF Files (*.tif *.tiff)"));
    EXPECT_EQ(filters[8], QStringLiteral("All Files (*)"));
    EXPECT_EQ(InsertImageStartFolder(QStringLiteral("/photos")), QStringLiteral("/photos"));
    EXPECT_EQ(InsertImageStartFolder({}), QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
}

} // namespace
} // namespace tvl
