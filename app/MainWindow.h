#pragma once

#include "app/Command.h"
#include "app/CommandActions.h"
#include "app/CommandRules.h"

#include <QMainWindow>

#include <bitset>
#include <functional>

class QDockWidget;
class QLabel;
class QMenu;
class QToolBar;

namespace tvl {

struct AppContext;
struct AppSettings;

// The main frame: menus, tool bars, the "Text Editor" and "Images" docking bars and the label view in the
// middle. It routes commands and keeps the bar layout; the work of each command lives with its owner.
class MainWindow final : public QMainWindow
{
public:
    // Builds menus and bars and restores the saved bar layout unless the layout rules ask for the default
    // one; writes Version "4.00" when it was empty.
    explicit MainWindow(AppContext& context, QWidget* parent = nullptr);

    QAction* Action(Command command) const { return actions.Action(command); }

    // Connects a command to the routine that does its work and enables it from then on, under the
    // enabling rules of CommandEnabled. A command nobody routes stays disabled.
    void Route(Command command, std::function<void()> handler);
    // Runs before every routed command, an entry of the recent-file list and closing the window: typed
    // text still waiting to go in is inserted first, so the command sees it and it lands where it was typed.
    void SetBeforeCommand(std::function<void()> before) { beforeCommand = std::move(before); }
    // Receives the view options (guides, grid, grid size) from the settings, now and whenever one changes.
    void SetViewOptionsHandler(std::function<void(const AppSettings&)> apply);
    // Where the enabling rules read the selection and undo history, normally the label view.
    void SetEditStateSource(std::function<EditState()> source);
    // Evaluates the enabling rules of the routed commands; runs when a menu opens and on idle.
    void UpdateCommandStates();
    // The Edit menu, which the label view repeats as its pop-up menu.
    QMenu* EditMenu() const { return editMenu; }

    // Puts the label view in the middle of the window (the window takes ownership); until then an empty
    // area stands in for it.
    void SetLabelView(QWidget* view);
    QWidget* LabelView() const { return labelView; }

    // The bars whose content the text editor, the images browser and the item properties provide.
    QDockWidget* TextEditorBar() const { return textEditorBar; }
    QDockWidget* ImagesBar() const { return imagesBar; }
    QToolBar* PropertiesBar() const { return propertiesBar; }
    QToolBar* ColorBar() const { return colorBar; }

    // Shows the second-disc button of the surface tool bar in double-disc designs only.
    void SetDoubleDisc(bool doubleDisc);

    // Shown by the start-up timer: closes splash, shows the window maximised (its restored size is the
    // work area less 100 pixels on each side) and on the first run opens the user guide and writes
    // HelpScreen = 1.
    void FirstShow(QWidget* splash);

    void OpenHelp();
    void OpenWebsite();

    // Entries of the recent-file list open through open; without it they stay disabled.
    void RouteRecentFiles(std::function<void(const QString&)> open);
    // Puts a path at the top of the four-entry recent-file list (once) and keeps the list.
    void AddRecentFile(const QString& path);
    // Asked before the window closes; false keeps the program open.
    void SetCloseGuard(std::function<bool()> mayClose);
    // The label view's zoom (tenths) as a percentage in the status bar.
    void ShowZoom(int zoom);
    // "<title> - Tovrelline" in the caption.
    void ShowDocumentTitle(const QString& title);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenus();
    void CreateBars();
    void ConnectCommands();
    void RouteToggle(Command command, std::function<void(bool)> handler);
    void ApplyStartLayout();
    void ApplyDefaultLayout();
    void RestoreSavedBars();
    QStringList BarNames() const;
    void SaveBars();
    void Toggle(const QString& setting, bool& flag, bool on);
    void ApplyViewOptions();
    void EditGridSize();
    void EditUnits();
    void ShowAbout();
    void Notify(const QString& text);
    void RebuildRecentFiles();
    void BeforeCommand() const;

    AppContext& context;
    CommandActions actions;
    QMenu* fileMenu = nullptr;
    QAction* recentEnd = nullptr;
    QList<QAction*> recentActions;
    std::function<void(const QString&)> openRecent;
    std::function<bool()> closeGuard;
    std::function<void()> beforeCommand;
    QMenu* editMenu = nullptr;
    QMenu* toolbarsMenu = nullptr;
    QToolBar* mainBar = nullptr;
    QToolBar* surfaceBar = nullptr;
    QToolBar* propertiesBar = nullptr;
    QToolBar* colorBar = nullptr;
    QDockWidget* textEditorBar = nullptr;
    QDockWidget* imagesBar = nullptr;
    QWidget* labelView = nullptr;
    QLabel* zoomLabel = nullptr;
    bool restoreSaved = false;
    std::bitset<static_cast<std::size_t>(Command::Count)> routed;
    std::function<EditState()> editState;
    std::function<void(const AppSettings&)> applyViewOptions;
};

} // namespace tvl
