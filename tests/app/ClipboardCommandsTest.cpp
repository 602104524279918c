#include "app/clipboard/ClipboardCommands.h"
#include "app/ClipboardFormat.h"
#include "document/design/DesignDocument.h"
#include "editing/CMervo6View.h"
#include "images/CxImage.h"
#include "tests/app/WindowRun.h"
#include "tests/document/files/SampleDesign.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <gtest/gtest.h>

namespace tvl {
namespace {

// The window, the sample design and the clipboard commands of one run.
class ClipboardCommandsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        run.window.SetLabelView(view);
        document.BeginReplace();
        document.MutableDesign() = MakeSampleDesign();
        document.EndReplace(SampleState());
        QGuiApplication::clipboard()->setMimeData(new QMimeData);
    }

    const QMimeData& Clipboard() const { return *QGuiApplication::clipboard()->mimeData(); }
    bool Has(const char* name) const { return document.design().FindItem(QString::fromLatin1(name)); }
    QString Text(Command command) const { return run.window.Action(command)->text(); }

    QTemporaryDir dir;
    QStringList opened;
    DesignDocument document;
    test::WindowRun run{dir, &opened};
    CMervo6View* view = new CMervo6View(document);
    ClipboardCommands commands{run.window, document, *view, run.context};
};

TEST_F(ClipboardCommandsTest, CutObjectDeletesOnlyWhatTheClipboardTook)
{
    // A picture item whose picture could not be read puts nothing on the clipboard, so it stays.
    document.Select(QStringLiteral("Image(4)"));
    commands.CutObject();
    EXPECT_TRUE(Has("Image(4)"));
    EXPECT_FALSE(Clipboard().hasImage());

    document.Select(QStringLiteral("Image(2)"));
    commands.CutObject();
    EXPECT_FALSE(Has("Image(2)"));
    EXPECT_TRUE(Clipboard().hasImage());
    EXPECT_EQ(qvariant_cast<QImage>(Clipboard().imageData()).size(), QSize(7, 5));

    document.Select(QStringLiteral("Artist(1)"));
    commands.CutObject();
    EXPECT_FALSE(Has("Artist(1)"));
    EXPECT_TRUE(Clipboard().hasFormat(objectClipboardMimeType));
    EXPECT_EQ(document.selectedName(), QStringLiteral("Front Cover"));

    const int steps = document.history().stepCount();
    commands.PasteObject();
    ASSERT_TRUE(Has("Artist(1)"));
    EXPECT_EQ(document.design().FindItem(u"Artist(1)")->bLinkText(), 0);
    EXPECT_EQ(document.selectedName(), QStringLiteral("Artist(1)"));
    EXPECT_EQ(document.history().stepCount(), steps + 1);
    document.Undo();
    EXPECT_FALSE(Has("Artist(1)"));
}

TEST_F(ClipboardCommandsTest, TheTextCommandsUseTheEditorsSelection)
{
    document.Select(QStringLiteral("Text 1"));
    view->textEditor().SetSelection(0, 6);
    commands.CutText();
    EXPECT_EQ(Clipboard().text(), QStringLiteral("Caf\u00e9 \u20ac"));
    EXPECT_EQ(document.design().FindItem(u"Text 1")->Text(), QStringLiteral("\rline\b"));

    QGuiApplication::clipboard()->setText(QStringLiteral("\u6771\u4eac\tx\r\n"));
    commands.PasteText();
    EXPECT_EQ(document.design().FindItem(u"Text 1")->Text(), QStringLiteral("\u6771\u4eac x\r\rline\b"));
    document.Undo();
    document.Undo();
    EXPECT_EQ(document.design().FindItem(u"Text 1")->Text(), QStringLiteral("Caf\u00e9 \u20ac\rline\b"));
}

// Whether the view takes a key away from the window's shortcuts.
bool Overrides(QWidget* view, int key, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent override(QEvent::ShortcutOverride, key, modifiers);
    override.ignore();
    QCoreApplication::sendEvent(view, &override);
    return override.isAccepted();
}

TEST_F(ClipboardCommandsTest, KeysInATextBeingEditedGoToTheText)
{
    document.Select(QStringLiteral("Text 1"));
    EXPECT_TRUE(Overrides(view, Qt::Key_Delete, Qt::NoModifier));
    EXPECT_FALSE(Overrides(view, Qt::Key_C, Qt::ControlModifier)); // nothing selected: Copy Object stands
    view->textEditor().SetSelection(0, 4);
    EXPECT_TRUE(Overrides(view, Qt::Key_C, Qt::ControlModifier));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
    QCoreApplication::sendEvent(view, &press);
    EXPECT_EQ(Clipboard().text(), QStringLiteral("Café"));
    EXPECT_TRUE(Overrides(view, Qt::Key_V, Qt::ControlModifier));

    // A picture on the clipboard is pasted as an object; on a picture item the object commands stand.
    QGuiApplication::clipboard()->setImage(QImage(4, 4, QImage::Format_RGB32));
    EXPECT_FALSE(Overrides(view, Qt::Key_V, Qt::ControlModifier));
    document.Select(QStringLiteral("Image(2)"));
    EXPECT_FALSE(Overrides(view, Qt::Key_C, Qt::ControlModifier));
    EXPECT_FALSE(Overrides(view, Qt::Key_Delete, Qt::NoModifier));
}

TEST_F(ClipboardCommandsTest, MenuTextsFollowTheSelectedItemAndTheClipboard)
{
    QMenu* edit = run.window.EditMenu();
    ASSERT_TRUE(edit);
    document.Select(QStringLiteral("Image(2)"));
    QGuiApplication::clipboard()->setImage(QImage(4, 4, QImage::Format_RGB32));
    emit edit->aboutToShow();
    EXPECT_EQ(Text(Command::CutObject), QStringLiteral("Cut &Image"));
    EXPECT_EQ(Text(Command::CopyObject), QStringLiteral("Copy I&mage"));
    EXPECT_EQ(Text(Command::DeleteObject), QStringLiteral("&Delete Image"));
    EXPECT_EQ(Text(Command::PasteObject), QStringLiteral("Paste Ima&ge"));
    EXPECT_EQ(Text(Command::CopyText), QStringLiteral("&Copy text"));

    document.Select(QStringLiteral("Text 1"));
    QGuiApplication::clipboard()->setText(QStringLiteral("x"));
    emit edit->aboutToShow();
    EXPECT_EQ(Text(Command::CutObject), QStringLiteral("Cut &Object"));
    EXPECT_EQ(Text(Command::DeleteObject), QStringLiteral("&Delete Object"));
    EXPECT_EQ(Text(Command::PasteObject), QStringLiteral("Paste Ob&ject"));
}

} // namespace
} // namespace tvl
