#include "tests/app/WindowRun.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDockWidget>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

namespace tvl {
namespace {

using test::WindowRun;

class MainWindowTest : public testing::Test
{
protected:
    void SetUp() override
    {
        QFile help(dir.filePath(QStringLiteral("index.html")));
        ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    }

    QDockWidget* Dock(WindowRun& run, const char* name)
    {
        return run.window.findChild<QDockWidget*>(QString::fromLatin1(name));
    }

    QTemporaryDir dir;
    QStringList opened;
};

QStringList Texts(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator())
            texts.append(action->text().remove(u'&'));
    }
    return texts;
}

TEST_F(MainWindowTest, EveryMenuCommandIsPresent)
{
    WindowRun run(dir, &opened);
    QStringList menus;
    std::vector<QStringList> items;
    for (QAction* action : run.window.menuBar()->actions()) {
        menus.append(action->text().remove(u'&'));
        items.push_back(Texts(action->menu()));
    }
    ASSERT_EQ(menus, (QStringList{QStringLiteral("File"), QStringLiteral("Edit"), QStringLiteral("Toolbars"),
                                  QStringLiteral("Layout"), QStringLiteral("Help")}));
    EXPECT_EQ(items[0],
              (QStringList{QStringLiteral("New..."), QStringLiteral("Open..."), QStringLiteral("Save"),
                           QStringLiteral("Save As..."), QStringLiteral("Save As Default Design"),
                           QStringLiteral("Export Label to Image File"), QStringLiteral("Print..."),
                           QStringLiteral("Print Preview"), QStringLiteral("Printer Calibration"),
                           QStringLiteral("Recent File"), QStringLiteral("Exit")}));
    EXPECT_EQ(items[1], (QStringList{QStringLiteral("Insert"), QStringLiteral("Undo"), QStringLiteral("Redo"),
                                     QStringLiteral("Cut Text"), QStringLiteral("Copy Text"),
                                     QStringLiteral("Paste Text"), QStringLiteral("Cut Object"),
                                     QStringLiteral("Copy Object"), QStringLiteral("Paste Object"),
                                     QStringLiteral("Delete Object")}));
    EXPECT_EQ(Texts(run.window.EditMenu()->actions().constFirst()->menu()),
              (QStringList{QStringLiteral("Artist"), QStringLiteral("Title"), QStringLiteral("Track"),
                           QStringLiteral("Year"), QStringLiteral("Total Time"), QStringLiteral("Genre"),
                           QStringLiteral("Text"), QStringLiteral("Image")}));
    EXPECT_EQ(items[2], (QStringList{QStringLiteral("Color Toolbar"), QStringLiteral("Main Toolbar"),
                                     QStringLiteral("Properties Toolbar"), QStringLiteral("Image Toolbar"),
                                     QStringLiteral("Text Editor")}));
    EXPECT_EQ(items[3],
              (QStringList{QStringLiteral("Change Label Paper"), QStringLiteral("Center Horizontally"),
                           QStringLiteral("Center Vertically"), QStringLiteral("Snap to Grid"),
                           QStringLiteral("Show Grid"), QStringLiteral("Grid Size..."),
                           QStringLiteral("Units...")}));
    EXPECT_EQ(items[4], (QStringList{QStringLiteral("Help"), QStringLiteral("Tovrelline Website"),
                                     QStringLiteral("About Tovrelline")}));
}

TEST_F(MainWindowTest, CommandsOfUnbuiltPartsAreDisabledAndBarsExist)
{
    WindowRun run(dir, &opened);
    for (const Command command :
         {Command::Exit, Command::SnapToGrid, Command::ShowGrid, Command::GridSize, Command::Units,
          Command::Help, Command::Website, Command::About, Command::Guides})
        EXPECT_TRUE(run.window.Action(command)->isEnabled()) << int(command);
    for (const Command command :
         {Command::New, Command::Open, Command::Print, Command::Undo, Command::PasteObject, Command::ReadCd,
          Command::ZoomIn, Command::ChangeLabelPaper})
        EXPECT_FALSE(run.window.Action(command)->isEnabled()) << int(command);

    const auto* main = run.window.findChild<QToolBar*>(QStringLiteral("MainToolbar"));
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->iconSize(), QSize(18, 18));
    EXPECT_TRUE(main->actions().contains(run.window.Action(Command::DeleteObject)));
    const auto* surface = run.window.findChild<QToolBar*>(QStringLiteral("SurfaceToolbar"));
    ASSERT_NE(surface, nullptr);
    EXPECT_TRUE(surface->actions().contains(run.window.Action(Command::ReadCd)));
    EXPECT_FALSE(run.window.Action(Command::ShowSecondDisc)->isVisible());
    run.window.SetDoubleDisc(true);
    EXPECT_TRUE(run.window.Action(Command::ShowSecondDisc)->isVisible());

    EXPECT_EQ(Dock(run, "TextEditorBar"), run.window.TextEditorBar());
    EXPECT_EQ(Dock(run, "ImagesBar"), run.window.ImagesBar());
    ASSERT_NE(Dock(run, "TextEditorBar"), nullptr);
    EXPECT_EQ(Dock(run, "TextEditorBar")->windowTitle(), QStringLiteral("Text Editor"));
    EXPECT_EQ(run.window.dockWidgetArea(Dock(run, "TextEditorBar")), Qt::LeftDockWidgetArea);
    EXPECT_EQ(Dock(run, "ImagesBar")->windowTitle(), QStringLiteral("Images"));
    EXPECT_EQ(run.window.dockWidgetArea(Dock(run, "ImagesBar")), Qt::RightDockWidgetArea);
}

TEST_F(MainWindowTest, FirstRunWritesVersionAndHelpScreenOnce)
{
    {
        WindowRun first(dir, &opened);
        EXPECT_EQ(first.store.String(QStringLiteral("Version")), QStringLiteral("4.00"));
        EXPECT_FALSE(first.store.Contains(QStringLiteral("HelpScreen")));
        first.window.FirstShow(nullptr);
        EXPECT_EQ(first.store.Number(QStringLiteral("HelpScreen")), 1);
        ASSERT_EQ(opened.size(), 1);
        EXPECT_TRUE(opened[0].endsWith(QStringLiteral("/index.html")));
        first.window.close();
    }
    WindowRun second(dir, &opened);
    second.window.FirstShow(nullptr);
    EXPECT_EQ(opened.size(), 1) << "the second start opens no help";
    second.window.close();
}

TEST_F(MainWindowTest, SavedLayoutIsRestoredOnlyForLayoutVersion400)
{
    {
        WindowRun first(dir, &opened);
        first.store.WriteNumber(QStringLiteral("HelpScreen"), 1);
        Dock(first, "ImagesBar")->hide();
        first.window.findChild<QToolBar*>(QStringLiteral("ColorToolbar"))->hide();
        first.window.close();
    }
    {
        WindowRun restored(dir, &opened);
        EXPECT_TRUE(Dock(restored, "ImagesBar")->isHidden());
        EXPECT_TRUE(restored.window.findChild<QToolBar*>(QStringLiteral("ColorToolbar"))->isHidden());
        EXPECT_FALSE(Dock(restored, "TextEditorBar")->isHidden());
    }
    SettingsStore(dir.filePath(QStringLiteral("settings.ini")))
        .WriteString(QStringLiteral("Version"), QStringLiteral("3.00"));
    WindowRun reset(dir, &opened);
    EXPECT_FALSE(Dock(reset, "ImagesBar")->isHidden());
    EXPECT_FALSE(reset.window.findChild<QToolBar*>(QStringLiteral("ColorToolbar"))->isHidden());
    EXPECT_EQ(reset.store.String(QStringLiteral("Version")), QStringLiteral("3.00"));
}

TEST_F(MainWindowTest, TogglesWriteTheirSetting)
{
    WindowRun run(dir, &opened);
    const struct
    {
        Command command;
        const char* name;
        bool AppSettings::*flag;
    } toggles[] = {
        {Command::ShowGrid, "ShowGrid", &AppSettings::showGrid},
        {Command::SnapToGrid, "SnapToGrid", &AppSettings::snapToGrid},
        {Command::Guides, "Guides", &AppSettings::guides},
    };
    for (const auto& t : toggles) {
        QAction* action = run.window.Action(t.command);
        EXPECT_FALSE(action->isChecked());
        action->trigger();
        EXPECT_TRUE(run.settings.*t.flag);
        EXPECT_EQ(SettingsStore(run.store.FilePath()).Number(QString::fromLatin1(t.name)), 1);
        action->trigger();
        EXPECT_FALSE(run.settings.*t.flag);
        EXPECT_EQ(SettingsStore(run.store.FilePath()).Number(QString::fromLatin1(t.name)), 0);
    }
    run.store.WriteNumber(QStringLiteral("ShowGrid"), 1);
    WindowRun next(dir, &opened);
    EXPECT_TRUE(next.window.Action(Command::ShowGrid)->isChecked());
}

TEST_F(MainWindowTest, GridSizeAndUnitsCommandsWriteTheirSettings)
{
    WindowRun run(dir, &opened);
    // The view takes its options from the settings through one handler, at once and after each change.
    std::vector<std::pair<QSize, bool>> applied;
    run.window.SetViewOptionsHandler([&applied](const AppSettings& settings) {
        applied.emplace_back(settings.gridSize, settings.guides);
    });
    ASSERT_EQ(applied.size(), 1u);
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        dialog->findChildren<QLineEdit*>().constFirst()->setText(QStringLiteral("0.01"));
        dialog->findChildren<QLineEdit*>().constLast()->setText(QStringLiteral("2"));
        qobject_cast<QDialog*>(dialog)->accept();
    });
    run.window.Action(Command::GridSize)->trigger();
    EXPECT_EQ(run.settings.gridSize, QSize(30, 1000));
    EXPECT_EQ(run.store.String(QStringLiteral("GridSize")), QStringLiteral("30,1000"));
    EXPECT_EQ(applied.back().first, QSize(30, 1000));
    run.window.Action(Command::Guides)->trigger();
    EXPECT_TRUE(applied.back().second);
    EXPECT_EQ(applied.size(), 3u) << "one apply per change";

    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QListWidget*>()->setCurrentRow(1);
        qobject_cast<QDialog*>(dialog)->accept();
    });
    run.window.Action(Command::Units)->trigger();
    EXPECT_EQ(run.settings.units, QStringLiteral("Millimeters"));
    EXPECT_EQ(run.store.String(QStringLiteral("Units")), QStringLiteral("Millimeters"));
}

TEST_F(MainWindowTest, RoutedCommandsFollowTheEnablingRules)
{
    WindowRun run(dir, &opened);
    QAction* undo = run.window.Action(Command::Undo);
    QAction* redo = run.window.Action(Command::Redo);
    int undone = 0;
    EditState edit;
    edit.historySteps = 2;
    edit.historyIndex = 1;
    run.window.SetEditStateSource([&] { return edit; });
    run.window.Route(Command::Undo, [&] { ++undone; });
    run.window.UpdateCommandStates();
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled()) << "a command nobody routes stays disabled";
    undo->trigger();
    EXPECT_EQ(undone, 1);

    edit.historyIndex = -1;
    run.window.UpdateCommandStates();
    EXPECT_FALSE(undo->isEnabled());
    undo->trigger();
    EXPECT_EQ(undone, 1);
}

TEST_F(MainWindowTest, LabelViewTakesTheCentralArea)
{
    WindowRun run(dir, &opened);
    EXPECT_EQ(run.window.LabelView(), nullptr);
    ASSERT_NE(run.window.centralWidget(), nullptr);
    auto* view = new QWidget;
    run.window.SetLabelView(view);
    EXPECT_EQ(run.window.centralWidget(), view);
    EXPECT_EQ(run.window.LabelView(), view);
}

TEST_F(MainWindowTest, RecentFilesKeepFourNewestFirstAndOpenWhenRouted)
{
    WindowRun run(dir, &opened);
    const QMenu* file = run.window.menuBar()->actions().constFirst()->menu();
    for (const char* path : {"/d/a.tvl", "/d/b.tvl", "/d/c.tvl", "/d/d.tvl", "/d/e.tvl", "/d/b.tvl"})
        run.window.AddRecentFile(QString::fromLatin1(path));
    const QStringList texts = Texts(file);
    EXPECT_EQ(
        texts.mid(texts.indexOf(QStringLiteral("Printer Calibration")) + 1),
        (QStringList{QStringLiteral("1 /d/b.tvl"), QStringLiteral("2 /d/e.tvl"), QStringLiteral("3 /d/d.tvl"),
                     QStringLiteral("4 /d/c.tvl"), QStringLiteral("Exit")}));

    QStringList openedPaths;
    QAction* first = nullptr;
    run.window.RouteRecentFiles([&](const QString& path) { openedPaths.append(path); });
    for (QAction* action : file->actions()) {
        if (action->text().startsWith(u"&1 "))
            first = action;
    }
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isEnabled());
    first->trigger();
    EXPECT_EQ(openedPaths, QStringList{QStringLiteral("/d/b.tvl")});

    WindowRun next(dir, &opened);
    EXPECT_EQ(next.layout.RecentFiles().constFirst(), u"/d/b.tvl");
}

TEST_F(MainWindowTest, TheCloseGuardCanKeepTheWindowOpen)
{
    WindowRun run(dir, &opened);
    bool allow = false;
    run.window.SetCloseGuard([&] { return allow; });
    run.window.show();
    EXPECT_FALSE(run.window.close());
    allow = true;
    EXPECT_TRUE(run.window.close());
    run.window.ShowDocumentTitle(QStringLiteral("Untitled.tvl"));
    EXPECT_EQ(run.window.windowTitle(), u"Untitled.tvl - Tovrelline");
}

} // namespace
} // namespace tvl
