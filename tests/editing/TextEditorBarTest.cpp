#include "editing/texteditorbar/TextEditorBar.h"
#include "document/design/InsertEdits.h"
#include "document/design/TrackListEdits.h"
#include "editing/texteditorbar/GrowingTextBox.h"
#include "editing/texteditorbar/TrackGrid.h"
#include "tests/editing/BlankDocument.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTableWidget>
#include <QToolButton>
#include <gtest/gtest.h>

namespace tvl {
namespace {

QString Tracks(int count)
{
    QString value;
    for (int n = 1; n <= count; ++n)
        value += QStringLiteral("%1. \bSong %1\b 3:%2\b").arg(n).arg(n % 100, 2, 10, QLatin1Char('0'));
    return value;
}

void Key(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = {}, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(widget, &release);
}

void Type(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        const int key = c.isDigit() || c.isUpper() ? c.unicode() : c.toUpper().unicode();
        Key(widget, key, {}, QString(c));
    }
}

void Click(QWidget* widget, QPoint at)
{
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      {});
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton, {}, {});
    QApplication::sendEvent(widget, &release);
}

// A bar over a blank design whose Undo and Redo keys reach the document, as they reach the view's.
class TextEditorBarTest : public testing::Test
{
protected:
    void Open(const char* discMode)
    {
        test::OpenBlankDesign(document, discMode);
        bar = std::make_unique<TextEditorBar>(
            document, TextEditorBarPorts{[this] { ++viewFocused; },
                                         [this](bool redo) { redo ? document.Redo() : document.Undo(); },
                                         [this](const QString& text) { caption = text; }});
        bar->resize(260, 700);
        bar->show();
        bar->activateWindow();
        QApplication::processEvents();
    }

    GrowingTextBox& Box(const char* name)
    {
        for (GrowingTextBox* box : bar->findChildren<GrowingTextBox*>()) {
            if (box->accessibleName() == QLatin1StringView(name))
                return *box;
        }
        ADD_FAILURE() << "no box " << name;
        return *bar->findChild<GrowingTextBox*>();
    }

    QLineEdit& CountEdit() { return *bar->findChild<QComboBox*>()->lineEdit(); }

    // Types a count as the keyboard would, and Enter.
    void TypeCount(const QString& typed)
    {
        QLineEdit& edit = CountEdit();
        edit.setFocus();
        edit.selectAll();
        Key(&edit, Qt::Key_Backspace);
        Type(&edit, typed);
        Key(&edit, Qt::Key_Return);
    }

    QToolButton& Button(const char* name)
    {
        for (QToolButton* button : bar->findChildren<QToolButton*>()) {
            if (button->accessibleName() == QLatin1StringView(name))
                return *button;
        }
        ADD_FAILURE() << "no button " << name;
        return *bar->findChild<QToolButton*>();
    }

    QString TrackList() const { return document.design().LinkedAlbumText(u"Track List"); }

    DesignDocument document;
    std::unique_ptr<TextEditorBar> bar;
    int viewFocused = 0;
    QString caption;
};

TEST_F(TextEditorBarTest, EachLetterInABoxIsOneStepThatEveryLinkedItemFollowsAndUndoGivesBack)
{
    Open("Single");
    for (int copy = 0; copy < 3; ++copy)
        ASSERT_NE(CreateTextItem(document, QStringLiteral("Artist"), QRect(100, 100, 1000, 300), false),
                  nullptr);
    const int steps = document.history().stepCount();
    GrowingTextBox& artist = Box("Artist");
    EXPECT_EQ(artist.toPlainText(), QStringLiteral("Artist"));
    Box("Genre").setFocus();
    document.Select(QStringLiteral("Artist(2)"));
    artist.setFocus();
    QApplication::processEvents();
    EXPECT_EQ(document.selectedName(), QStringLiteral("Page 1")) << "typing in the bar selects the sheet";
    artist.moveCursor(QTextCursor::End);
    Type(&artist, QStringLiteral("XY"));
    EXPECT_EQ(document.history().stepCount(), steps + 2);
    for (const char16_t* name : {u"Artist(1)", u"Artist(2)", u"Artist(3)"})
        EXPECT_EQ(document.design().FindItem(name)->Text(), QStringLiteral("ArtistXY\b"));

    // Enter gives the title a second line on the label.
    GrowingTextBox& title = Box("Title");
    const int oneLine = title.height();
    title.setFocus();
    title.moveCursor(QTextCursor::End);
    Key(&title, Qt::Key_Return, {}, QStringLiteral("\r"));
    Type(&title, QStringLiteral("B"));
    EXPECT_EQ(document.design().LinkedAlbumText(u"Title"), QStringLiteral("Title\rB\b"));
    EXPECT_GT(title.height(), oneLine) << "the box grows with its lines";

    // Ctrl+Z in a box undoes in the design, box and linked items alike.
    for (int i = 0; i < 4; ++i)
        Key(&artist, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(artist.toPlainText(), QStringLiteral("Artist"));
    EXPECT_EQ(title.toPlainText(), QStringLiteral("Title"));
    for (const char16_t* name : {u"Artist(1)", u"Artist(2)", u"Artist(3)"})
        EXPECT_EQ(document.design().FindItem(name)->Text(), QStringLiteral("Artist\b"));
    Key(&title, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(artist.toPlainText(), QStringLiteral("ArtistX"));
}

TEST_F(TextEditorBarTest, TheCountBoxTakesDigitsWithinItsRangeAndKeepsALongerList)
{
    Open("Single");
    ASSERT_EQ(TrackCount(TrackList()), 7);
    EXPECT_EQ(CountEdit().text(), QStringLiteral("7"));
    TypeCount(QStringLiteral("9"));
    EXPECT_TRUE(TrackList().endsWith(QStringLiteral("8. \bTrack 8\b 0:08\b9. \bTrack 9\b 0:09\b")));
    EXPECT_EQ(bar->grid().table().rowCount(), 9);
    EXPECT_GT(viewFocused, 0) << "Enter gives the focus back to the label";
    const QString nine = TrackList();
    TypeCount(QStringLiteral("3"));
    EXPECT_EQ(TrackList(), nine.section(QChar(0x08), 0, 8) + QChar(0x08));
    TypeCount(QString());
    EXPECT_EQ(TrackList(), nine.section(QChar(0x08), 0, 8) + QChar(0x08)) << "an emptied box changes nothing";
    EXPECT_EQ(CountEdit().text(), QStringLiteral("3"));
    TypeCount(QStringLiteral("0"));
    EXPECT_EQ(TrackCount(TrackList()), 1);
    EXPECT_EQ(CountEdit().text(), QStringLiteral("1"));
    TypeCount(QStringLiteral("1x5-0"));
    EXPECT_EQ(TrackCount(TrackList()), 99) << "only digits are typed, and 150 is held at 99";
    TypeCount(QStringLiteral("3"));
    TypeCount(QStringLiteral("99999999999999999999"));
    EXPECT_EQ(TrackCount(TrackList()), 99) << "a long digit string is a large count, not an overflowed one";

    // An imported list of 150 tracks: Enter on the count shown deletes nothing.
    ASSERT_TRUE(document.SetAlbumField(QStringLiteral("Track List"), Tracks(150)));
    EXPECT_EQ(CountEdit().text(), QStringLiteral("150"));
    const int steps = document.history().stepCount();
    CountEdit().setFocus();
    Key(&CountEdit(), Qt::Key_Return);
    EXPECT_EQ(TrackList(), Tracks(150));
    EXPECT_EQ(document.history().stepCount(), steps);
}

TEST_F(TextEditorBarTest, GridButtonsMoveAndRemoveTheCurrentCell)
{
    Open("Single");
    ASSERT_TRUE(document.SetAlbumField(QStringLiteral("Track List"), Tracks(3)));
    TrackGrid& grid = bar->grid();
    EXPECT_FALSE(Button("Move Down").isEnabled()) << "no current cell yet";
    const QRect cell = grid.table().visualItemRect(grid.table().item(1, 2));
    Click(grid.table().viewport(), cell.center());
    EXPECT_EQ(grid.currentTrack(), 2);
    EXPECT_EQ(grid.currentColumn(), 2);
    EXPECT_TRUE(grid.cellEditor().isVisible());
    EXPECT_EQ(grid.cellEditor().toPlainText(), QStringLiteral("Song 2"));

    Button("Move Down").click();
    EXPECT_EQ(TrackList(), QStringLiteral("1. \bSong 1\b 3:01\b2. \bSong 3\b 3:02\b3. \bSong 2\b 3:03\b"));
    EXPECT_EQ(grid.currentTrack(), 3) << "the moved title stays current";
    EXPECT_EQ(grid.cellEditor().toPlainText(), QStringLiteral("Song 2"));
    Button("Move Down").click();
    EXPECT_EQ(grid.currentTrack(), 3) << "nothing below the last track";

    Button("Move Up").click();
    grid.EditCell(2, 2);
    Button("Remove Track").click();
    EXPECT_EQ(TrackList(), QStringLiteral("1. \bSong 1\b 3:01\b3. \bSong 3\b 3:03\b"));
    EXPECT_EQ(grid.currentTrack(), 2);
    EXPECT_EQ(grid.table().item(1, 1)->text(), QStringLiteral("3. "));
    Button("Remove Track").click();
    Button("Remove Track").click();
    EXPECT_EQ(TrackList(), QStringLiteral("1. \bSong 1\b 3:01\b")) << "the only track stays";

    // Leaving the grid for another control closes the editor.
    Box("Genre").setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(grid.cellEditor().isVisible());
    EXPECT_FALSE(Button("Remove Track").isEnabled());
}

TEST_F(TextEditorBarTest, TheCellEditorDropsTerminatorsAndTurnsLineFeedsIntoLineBreaks)
{
    Open("Single");
    ASSERT_TRUE(document.SetAlbumField(QStringLiteral("Track List"), Tracks(2)));
    TrackGrid& grid = bar->grid();
    grid.EditCell(1, 2);
    GrowingTextBox& editor = grid.cellEditor();
    editor.selectAll();
    editor.insertPlainText(QStringLiteral("A\bB"));
    EXPECT_EQ(TrackList(), QStringLiteral("1. \bAB\b 3:01\b2. \bSong 2\b 3:02\b"));
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("AB"));
    Key(&editor, Qt::Key_Return, {}, QStringLiteral("\r"));
    Type(&editor, QStringLiteral("C"));
    editor.insertPlainText(QStringLiteral("\nD"));
    EXPECT_EQ(TrackCell(TrackList(), 1, 2), QStringLiteral("AB\rC\rD"));
    EXPECT_EQ(TrackCell(TrackList(), 2, 2), QStringLiteral("Song 2")) << "the later cells stay in place";

    // The three-line title takes three rows; number and time show on the first alone.
    ASSERT_EQ(grid.table().rowCount(), 4);
    EXPECT_EQ(grid.table().item(2, 2)->text(), QStringLiteral("D"));
    EXPECT_EQ(grid.table().item(1, 1)->text(), QString());
    EXPECT_EQ(grid.table().item(3, 2)->text(), QStringLiteral("Song 2"));

    // Down on the last line goes to the cell below, Tab from the last track to the first.
    Key(&editor, Qt::Key_Down);
    EXPECT_EQ(grid.currentTrack(), 2);
    Key(&editor, Qt::Key_Up);
    EXPECT_EQ(grid.currentTrack(), 1);
    Key(&editor, Qt::Key_Tab);
    EXPECT_EQ(grid.currentTrack(), 2);
    Key(&editor, Qt::Key_Tab);
    EXPECT_EQ(grid.currentTrack(), 1);
    EXPECT_EQ(editor.textCursor().selectionStart(), 0);
    EXPECT_EQ(editor.textCursor().selectionEnd(), 6) << "Tab selects the whole cell";
}

TEST_F(TextEditorBarTest, TheDiscSuffixFollowsTheSelectedAlbumItemOfADoubleDesign)
{
    Open("Double");
    EXPECT_EQ(bar->discSuffix(), QStringLiteral(" - Disc 1")) << "disc 1 to begin with";
    EXPECT_EQ(caption, QStringLiteral("Text Editor - Disc 1"));
    EXPECT_EQ(Box("Time - Disc 1").toPlainText(), QStringLiteral("Time - Disc 1"));
    document.Select(QStringLiteral("Genre - Disc 2(1)"));
    EXPECT_EQ(bar->discSuffix(), QStringLiteral(" - Disc 2"));
    EXPECT_EQ(caption, QStringLiteral("Text Editor - Disc 2"));
    EXPECT_EQ(Box("Artist - Disc 2").toPlainText(), QStringLiteral("Artist - Disc 2"));
    EXPECT_EQ(Box("Time - Disc 2").toPlainText(), QStringLiteral("Time - Disc 2"));
    EXPECT_EQ(bar->grid().table().item(0, 2)->text(), QStringLiteral("Track 1 - Disc 2"));
    document.Select(QStringLiteral("Text 1"));
    EXPECT_EQ(bar->discSuffix(), QStringLiteral(" - Disc 2"));

    // A new count appends tracks of the disc shown.
    TypeCount(QStringLiteral("8"));
    EXPECT_EQ(TrackCell(document.design().LinkedAlbumText(u"Track List - Disc 2"), 8, 2),
              QStringLiteral("Track 8 - Disc 2"));
    EXPECT_EQ(TrackCount(TrackList()), 7) << "disc 1 keeps its tracks";
}

// The controls of the bar a screen reader cannot name.
TEST_F(TextEditorBarTest, EveryControlHasAnAccessibleName)
{
    Open("Single");
    QStringList unnamed;
    for (QWidget* widget : bar->findChildren<QWidget*>()) {
        // The editor and the pop-up list of the count box are named through it.
        bool owned = false;
        for (const QWidget* up = widget->parentWidget(); up && !owned; up = up->parentWidget())
            owned = qobject_cast<const QComboBox*>(up);
        if (owned)
            continue;
        const bool control = qobject_cast<QAbstractButton*>(widget) || qobject_cast<QComboBox*>(widget) ||
                             qobject_cast<QAbstractItemView*>(widget) ||
                             qobject_cast<QPlainTextEdit*>(widget);
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        if (control && (!face || face->text(QAccessible::Name).trimmed().isEmpty()))
            unnamed.append(QString::fromLatin1(widget->metaObject()->className()));
    }
    EXPECT_EQ(unnamed.join(u", ").toStdString(), "");
}

} // namespace
} // namespace tvl
