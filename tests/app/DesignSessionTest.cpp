#include "app/session/DesignSession.h"
#include "app/session/EditingCommands.h"
#include "app/settings/StoreSettings.h"
#include "document/commands/DefaultDesigns.h"
#include "document/files/RecoveryCopy.h"
#include "document/model/SurfaceNames.h"
#include "editing/CMervo6View.h"
#include "stock/BuildSurfaceItems.h"
#include "stock/StockCatalogue.h"
#include "tests/app/WindowRun.h"
#include "tests/document/files/SampleDesign.h"
#include "widgets/ColorButton.h"

#include "app/AboutDialog.h"
#include "app/GridSizeDialog.h"
#include "app/UnitsDialog.h"
#include "app/dialogs/NewDocumentDialog.h"
#include "editing/insert/WhichDiscDialog.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFontComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace tvl {
namespace {

class SilentUi : public FileCommandsUi
{
public:
    SaveAnswer AskSaveChanges(const QString&) override { return SaveAnswer::No; }
    void ShowError(const QString& text) override { errors.append(text); }
    std::optional<QString> ChooseOpenPath(const QString&) override { return std::nullopt; }
    std::optional<QString> ChooseSavePath(const QString&, const QString&) override { return std::nullopt; }
    std::optional<int> ChooseNewDesign() override { return std::nullopt; }
    void AddRecentFile(const QString&) override {}
    QStringList errors;
};

// The window, document, view and session of one run, over design files written into a folder.
class DesignSessionTest : public testing::Test
{
protected:
    QString WriteDesign(const char* name, const char* discMode, QStringView caseKey, const char* caseKind)
    {
        CLabelDim disc;
        CLabelDim caseStock;
        MakeBuiltInStock(disc, u"Disc");
        MakeBuiltInStock(caseStock, caseKey);
        LabelDesign design;
        design.ReplaceItems(
            BuildSurfaceItems(disc, caseStock, QString::fromLatin1(discMode), DiscPositionMode::DiscOnTop));
        design.albumHeader.discMode = QString::fromLatin1(discMode);
        FillSampleAlbum(design);
        const QString path = dir.filePath(QString::fromLatin1(name));
        const LiveDesignState live{QStringLiteral("Disc 1"), QStringLiteral("1"),
                                   QString::fromLatin1(discMode), QString::fromLatin1(caseKind)};
        EXPECT_TRUE(WriteDesignFile(path, design, live));
        return path;
    }

    // Shows the view in the window and opens the sample design saved under `name`; returns its path.
    QString StartOnSampleDesign(const char* name)
    {
        run.window.SetLabelView(view);
        const QString path = dir.filePath(QString::fromLatin1(name));
        LabelDesign design = MakeSampleDesign();
        EXPECT_TRUE(WriteDesignFile(path, design, SampleState()));
        session.Start(path);
        return path;
    }

    bool SecondDiscShown() const { return run.window.Action(Command::ShowSecondDisc)->isVisible(); }

    QTemporaryDir dir;
    QStringList opened;
    // The document outlives the window, which owns the view that listens to it.
    DesignDocument document;
    test::WindowRun run{dir, &opened};
    StoreSettings storeSettings{run.store};
    StockCatalogue catalogue{dir.path(), storeSettings};
    RecoveryCopy recovery{dir.filePath(QStringLiteral("state")), QCoreApplication::applicationPid()};
    CMervo6View* view = new CMervo6View(document);
    SilentUi ui;
    DesignSession session{run.window,    document,    *view,      catalogue, ui,
                          storeSettings, run.request, dir.path(), recovery};
    QStringList editedDimensions;
    EditingCommands editing{run.window, document,
                            *view,      run.context,
                            catalogue,  [this](const QString& surface) { editedDimensions.append(surface); }};
};

// Starting with a double design named on the command line, and each design opened after another, the
// surface bar offers "Disc 2" exactly when the open design has a second disc.
TEST_F(DesignSessionTest, TheSurfaceBarFollowsTheDesignJustOpened)
{
    run.window.SetLabelView(view);
    const QString doubleDvd = WriteDesign("double.tvl", "Double", u"DVD", "DVD");
    const QString singleJewel = WriteDesign("single.tvl", "Single", u"Jewel", "Jewel");
    session.Start(doubleDvd);
    EXPECT_TRUE(document.IsDouble());
    EXPECT_TRUE(SecondDiscShown());
    ASSERT_TRUE(session.commands().OpenDesignPath(singleJewel));
    EXPECT_FALSE(SecondDiscShown());
    ASSERT_TRUE(session.commands().OpenDesignPath(doubleDvd));
    EXPECT_TRUE(SecondDiscShown());
    EXPECT_EQ(document.caseKind(), QStringLiteral("DVD"));
    EXPECT_TRUE(ui.errors.isEmpty());
}

TEST_F(DesignSessionTest, SavingRemovesTheRecoveryCopyAndInsertTextIsOneStep)
{
    run.window.SetLabelView(view);
    const QString path = WriteDesign("single.tvl", "Single", u"Jewel", "Jewel");
    session.Start(path);
    for (int i = 0; i < RecoveryKeeper::kEditsPerCopy; ++i)
        run.window.Action(Command::InsertText)->trigger();
    EXPECT_EQ(document.history().stepCount(), RecoveryKeeper::kEditsPerCopy);
    EXPECT_TRUE(document.design().FindItem(u"Text 10"));
    EXPECT_EQ(document.selectedName(), QStringLiteral("Text 10"));
    EXPECT_TRUE(recovery.Exists()) << "the tenth edit writes the copy";
    ASSERT_TRUE(session.commands().Save());
    EXPECT_FALSE(recovery.Exists());
    EXPECT_FALSE(document.file().modified);
}

// Text typed on the label waits for idle. A command, a press on a bar or closing the window before then
// puts it in first, into the item it was typed in, so a save holds it and an undo takes it back out.
TEST_F(DesignSessionTest, TypedTextGoesInBeforeAnyCommandPressOrClose)
{
    const QString path = StartOnSampleDesign("typed.tvl");
    document.Select(QStringLiteral("Text 1"));
    const auto type = [this](const char* text) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8(text));
        QApplication::sendEvent(view, &key);
        ASSERT_TRUE(view->textEditor().HasPending());
    };
    const auto text = [this] { return document.design().FindItem(u"Text 1")->Text(); };
    const QString original = text();

    type("ab");
    run.window.Action(Command::Save)->trigger();
    EXPECT_FALSE(document.file().modified) << "the save came after the typing";
    const FileResult<DesignContent> saved = ReadDesignFile(path);
    ASSERT_TRUE(saved.ok());
    EXPECT_EQ(saved.value().design.FindItem(u"Text 1")->Text(), QStringLiteral("ab") + original);

    // Undo takes back what was typed, not the step before it.
    type("cd");
    run.window.UpdateCommandStates();
    run.window.Action(Command::Undo)->trigger();
    EXPECT_EQ(text(), QStringLiteral("ab") + original);
    run.window.UpdateCommandStates();
    run.window.Action(Command::Redo)->trigger();
    EXPECT_EQ(text(), QStringLiteral("abcd") + original);

    // A press on a tool bar button: the bold text is the one with the typed letters in it.
    type("ef");
    QWidget* bold =
        run.window.PropertiesBar()->widgetForAction(editing.properties().Control(PropertyControl::Bold));
    ASSERT_NE(bold, nullptr);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), bold->mapToGlobal(QPointF(2, 2)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bold, &press);
    EXPECT_FALSE(view->textEditor().HasPending());
    EXPECT_EQ(text(), QStringLiteral("abcdef") + original);

    type("gh");
    run.window.close();
    EXPECT_EQ(text(), QStringLiteral("abcdefgh") + original)
        << "closing asks about the design with the typing in it";
    QApplication::processEvents();
    EXPECT_EQ(text(), QStringLiteral("abcdefgh") + original) << "nothing is inserted twice";
}

// At the size of a maximised window on a common screen, with a text selected (the widest properties bar),
// both colour buttons are in view, not behind the tool bar's "More Buttons".
TEST_F(DesignSessionTest, TheColourButtonsShowAtTheDefaultLayout)
{
    StartOnSampleDesign("sample.tvl");
    run.window.resize(1280, 760);
    run.window.show();
    document.Select(QStringLiteral("Track List(1)"));
    QApplication::processEvents();
    ASSERT_TRUE(editing.properties().FontNameBox()->isVisible());
    for (QWidget* button : {static_cast<QWidget*>(editing.colours().TextButton()),
                            static_cast<QWidget*>(editing.colours().SurfaceButton())}) {
        EXPECT_TRUE(button->isVisible()) << button->accessibleName().toStdString();
        EXPECT_TRUE(run.window.ColorBar()->rect().contains(button->geometry()));
    }
}

// The properties bar follows the caret: each arrow key shows the font at the new place, and a selection
// over two faces shows none.
TEST_F(DesignSessionTest, TheFormatShownFollowsTheCaret)
{
    // "Café": "Caf" bold Arial, from "é" on plain Liberation Serif of another size.
    StartOnSampleDesign("sample.tvl");
    document.Select(QStringLiteral("Text 1"));
    const auto key = [this](int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, code, modifiers);
        QApplication::sendEvent(view, &event);
    };
    PropertiesToolbar& bar = editing.properties();
    const auto shown = [&bar] {
        const QString bold = bar.Control(PropertyControl::Bold)->isChecked() ? QStringLiteral("bold")
                                                                             : QStringLiteral("plain");
        return (bar.FontNameBox()->currentText() + u'|' + bold).toStdString();
    };
    view->textEditor().SetSelection(1, 1);
    EXPECT_EQ(shown(), "Arial|bold");
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    EXPECT_EQ(shown(), "Liberation Serif|plain");
    key(Qt::Key_Left);
    EXPECT_EQ(shown(), "Arial|bold");
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(view->textEditor().GetSelection(), (TextRange{2, 4}));
    EXPECT_EQ(shown(), "|plain");
    EXPECT_EQ(document.history().stepCount(), 0) << "showing changes nothing";
}

// The properties bar's "Edit Dimensions" opens the stock of the selected surface.
TEST_F(DesignSessionTest, EditDimensionsOpensTheStockOfTheSelectedSurface)
{
    run.window.SetLabelView(view);
    session.Start(WriteDesign("single.tvl", "Single", u"Jewel", "Jewel"));
    QAction* dimensions = editing.properties().Control(PropertyControl::EditDimensions);
    ASSERT_TRUE(dimensions->isEnabled());
    for (const QStringView surface : {kBackCover, kDisc1}) {
        document.Select(surface.toString());
        editing.properties().Update();
        EXPECT_TRUE(dimensions->isVisible());
        dimensions->trigger();
    }
    EXPECT_EQ(editedDimensions, (QStringList{kBackCover.toString(), kDisc1.toString()}));
}

// The window tells the user about a picture it cannot show, and a save that fails says which file and why
// and leaves the design modified.
TEST_F(DesignSessionTest, PictureNoticeInTheStatusBarAndAFailedSaveKeepsTheDesignModified)
{
    run.window.SetLabelView(view);
    const QString path = dir.filePath(QStringLiteral("mine.tvl"));
    {
        LabelDesign design = MakeSampleDesign();
        CRichChild* item = design.FindItem(u"Image(2)");
        item->image.reset();
        item->undecodedPicture = {2, QByteArray("\x89PNG\r\n\x1a\n cut short")};
        ASSERT_TRUE(WriteDesignFile(path, design, SampleState()));
    }
    session.Start(path);
    ASSERT_EQ(document.file().path, path);
    EXPECT_EQ(run.window.statusBar()->currentMessage(),
              u"A picture could not be shown: Image(2) (its data is kept as it was)");

    // The design's file has become a pipe: saving is refused, the design stays modified.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    document.file().modified = true;
    EXPECT_FALSE(session.commands().Save());
    EXPECT_TRUE(document.file().modified);
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors.front().startsWith(QStringLiteral("Error saving file.\n") + path + u':'))
        << ui.errors.front().toStdString();
    EXPECT_TRUE(ui.errors.front().contains(QStringLiteral("not a regular file")));
}

// The status bar shows the zoom as a percentage after every change, whichever way it came; Ctrl+0 fits.
TEST_F(DesignSessionTest, TheStatusBarShowsEveryZoom)
{
    run.window.SetLabelView(view);
    run.window.resize(1000, 800);
    run.window.show();
    session.Start(WriteDesign("single.tvl", "Single", u"Jewel", "Jewel"));
    QApplication::processEvents();
    const auto shown = [this] {
        const QList<QLabel*> labels = run.window.statusBar()->findChildren<QLabel*>();
        for (const QLabel* label : labels) {
            if (label->accessibleName() == u"Zoom")
                return label->text();
        }
        return QStringLiteral("no zoom label");
    };
    EXPECT_EQ(shown(), u"60%");
    run.window.Action(Command::ZoomIn)->trigger();
    EXPECT_EQ(shown(), u"80%");
    run.window.Action(Command::ZoomOut)->trigger();
    EXPECT_EQ(shown(), u"60%");
    EXPECT_EQ(run.window.Action(Command::ZoomToFit)->shortcut(), QKeySequence(QStringLiteral("Ctrl+0")));
    EXPECT_TRUE(
        run.window.Action(Command::ZoomIn)->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+="))));
    run.window.Action(Command::ZoomToFit)->trigger();
    EXPECT_EQ(shown(), QStringLiteral("%1%").arg(view->geometry().zoom() * 10));
    EXPECT_GT(view->geometry().zoom(), 6);
}

// The controls under a widget that a screen reader cannot name, as "class (object name)".
QStringList UnnamedControls(const QWidget& top)
{
    QStringList unnamed;
    for (QWidget* widget : top.findChildren<QWidget*>()) {
        // The editor and the pop-up list of a combo or spin box are named through their owner.
        bool owned = false;
        for (const QWidget* up = widget->parentWidget(); up && !owned; up = up->parentWidget())
            owned = qobject_cast<const QComboBox*>(up) || qobject_cast<const QAbstractSpinBox*>(up);
        if (owned)
            continue;
        const bool control = qobject_cast<QAbstractButton*>(widget) || qobject_cast<QComboBox*>(widget) ||
                             qobject_cast<QAbstractSpinBox*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                             qobject_cast<QAbstractItemView*>(widget);
        if (!control)
            continue;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
        if (!face || face->text(QAccessible::Name).trimmed().isEmpty() ||
            face->role() == QAccessible::NoRole || face->role() == QAccessible::Client)
            unnamed.append(QStringLiteral("%1 (%2)").arg(QLatin1StringView(widget->metaObject()->className()),
                                                         widget->objectName()));
    }
    return unnamed;
}

// Every button and field of the window's bars and of the editing dialogs has a name and a role, so a
// screen reader can tell them apart; icon-only tool buttons take the name of their command.
TEST_F(DesignSessionTest, EveryControlOfTheBarsAndDialogsHasAnAccessibleName)
{
    run.window.SetLabelView(view);
    run.window.show();
    session.Start(WriteDesign("single.tvl", "Single", u"Jewel", "Jewel"));
    QApplication::processEvents();
    int buttons = 0;
    for (const QToolBar* bar : run.window.findChildren<QToolBar*>()) {
        EXPECT_EQ(UnnamedControls(*bar).join(u", ").toStdString(), "") << bar->windowTitle().toStdString();
        buttons += static_cast<int>(bar->findChildren<QAbstractButton*>().size());
    }
    EXPECT_GT(buttons, 20) << "the bars are filled";
    EXPECT_EQ(UnnamedControls(*run.window.statusBar()).join(u", ").toStdString(), "");
    for (const QLabel* label : run.window.statusBar()->findChildren<QLabel*>()) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(const_cast<QLabel*>(label));
        ASSERT_TRUE(face);
        EXPECT_FALSE(face->text(QAccessible::Name).isEmpty());
    }
    GridSizeDialog grid(QSize(100, 100), false);
    UnitsDialog units(QStringLiteral("Inches"));
    WhichDiscDialog whichDisc(QStringLiteral("Which disc?"), 1);
    AboutDialog about;
    NewDocumentDialog newDocument;
    for (const QDialog* dialog :
         std::initializer_list<const QDialog*>{&grid, &units, &whichDisc, &about, &newDocument})
        EXPECT_EQ(UnnamedControls(*dialog).join(u", ").toStdString(), "")
            << dialog->metaObject()->className();
}

} // namespace
} // namespace tvl
