#include "app/MainWindow.h"

#include "app/AboutDialog.h"
#include "app/AppContext.h"
#include "app/GridSizeDialog.h"
#include "app/UnitsDialog.h"
#include "app/WindowLayout.h"
#include "app/messages/AppMessageBox.h"
#include "app/messages/ErrorReport.h"
#include "app/settings/AppSettings.h"
#include "app/settings/SettingsStore.h"
#include "widgets/DropDownButton.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace tvl {
namespace {

constexpr int imagesBarWidth = 260;
constexpr int textEditorBarWidth = 240;

QToolBar* NewToolBar(QMainWindow* window, const QString& title, const QString& name, int extent)
{
    auto* bar = new QToolBar(title, window);
    bar->setObjectName(name);
    bar->setIconSize(QSize(extent, extent));
    window->addToolBar(Qt::TopToolBarArea, bar);
    // The button that shows the buttons a narrow window cuts off has neither text nor tool tip.
    if (auto* more = bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("More Buttons"));
    return bar;
}

QDockWidget* NewDockingBar(QMainWindow* window, const QString& title, const QString& name,
                           Qt::DockWidgetArea area)
{
    auto* bar = new QDockWidget(title, window);
    bar->setObjectName(name);
    // The text editor and the images browser fill their bars; until then each is an empty panel that docks
    // and sizes like the real one.
    bar->setWidget(new QWidget(bar));
    window->addDockWidget(area, bar);
    return bar;
}

// The URL of an internet-shortcut file: its "URL=" line.
QUrl ShortcutUrl(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QStringLiteral("URL="), Qt::CaseInsensitive))
            return QUrl(line.mid(4));
    }
    return {};
}

} // namespace

MainWindow::MainWindow(AppContext& context, QWidget* parent)
    : QMainWindow(parent)
    , context(context)
    , actions(this)
{
    Guarded(174, [&] {
        setWindowTitle(QStringLiteral("Tovrelline"));
        setObjectName(QStringLiteral("MainWindow"));
        setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);
        SetLabelView(nullptr);
        CreateMenus();
        CreateBars();
        ConnectCommands();
        statusBar()->showMessage(QStringLiteral("Ready"));
        zoomLabel = new QLabel(statusBar());
        zoomLabel->setAccessibleName(QStringLiteral("Zoom"));
        zoomLabel->setToolTip(QStringLiteral("Zoom"));
        statusBar()->addPermanentWidget(zoomLabel);
        ApplyStartLayout();
        if (context.settings.version.isEmpty()) {
            context.store.WriteSetting(u"String", QStringLiteral("Version"), layoutVersion.toString());
            context.settings.version = layoutVersion.toString();
        }
    });
}

void MainWindow::CreateMenus()
{
    const auto add = [this](QMenu* menu, std::initializer_list<Command> commands) {
        for (const Command command : commands)
            menu->addAction(Action(command));
    };
    // Menus show icons beside the classic commands only; these keep theirs for the tool bars.
    for (const Command command : {Command::ExportLabelToImage, Command::SnapToGrid, Command::ShowGrid,
                                  Command::Website, Command::InsertObject})
        Action(command)->setIconVisibleInMenu(false);

    QMenu* file = fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    add(file, {Command::New, Command::Open, Command::Save, Command::SaveAs, Command::SaveAsDefaultDesign});
    file->addSeparator();
    add(file, {Command::ExportLabelToImage});
    file->addSeparator();
    add(file, {Command::Print, Command::PrintPreview, Command::PrinterCalibration});
    file->addSeparator();
    recentEnd = file->addSeparator();
    RebuildRecentFiles();
    add(file, {Command::Exit});

    editMenu = menuBar()->addMenu(QStringLiteral("&Edit"));
    QMenu* insert = editMenu->addMenu(QStringLiteral("&Insert"));
    add(insert, {Command::InsertArtist, Command::InsertTitle, Command::InsertTrack, Command::InsertYear,
                 Command::InsertTotalTime, Command::InsertGenre, Command::InsertText, Command::InsertImage});
    editMenu->addSeparator();
    add(editMenu, {Command::Undo, Command::Redo});
    editMenu->addSeparator();
    add(editMenu, {Command::CutText, Command::CopyText, Command::PasteText});
    editMenu->addSeparator();
    add(editMenu, {Command::CutObject, Command::CopyObject, Command::PasteObject, Command::DeleteObject});

    toolbarsMenu = menuBar()->addMenu(QStringLiteral("&Toolbars"));

    QMenu* layout = menuBar()->addMenu(QStringLiteral("&Layout"));
    add(layout, {Command::ChangeLabelPaper});
    layout->addSeparator();
    add(layout, {Command::CenterHorizontally, Command::CenterVertically});
    layout->addSeparator();
    add(layout, {Command::SnapToGrid, Command::ShowGrid, Command::GridSize, Command::Units});

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    add(help, {Command::Help, Command::Website});
    help->addSeparator();
    add(help, {Command::About});
}

void MainWindow::CreateBars()
{
    surfaceBar = NewToolBar(this, QStringLiteral("Surface Toolbar"), QStringLiteral("SurfaceToolbar"), 16);
    surfaceBar->addActions({Action(Command::ShowFrontCover), Action(Command::ShowBackCover),
                            Action(Command::ShowDiscLabel), Action(Command::ShowSecondDisc)});
    surfaceBar->addSeparator();
    surfaceBar->addActions({Action(Command::ZoomOut), Action(Command::ZoomIn)});
    // On no bar or menu; its shortcut works anywhere in the window.
    addAction(Action(Command::ZoomToFit));
    surfaceBar->addSeparator();
    surfaceBar->addActions({Action(Command::ReadCd), Action(Command::Guides)});
    QMenu* insertMenu = editMenu->actions().constFirst()->menu();
    surfaceBar->addWidget(new DropDownButton(Action(Command::InsertObject), insertMenu, surfaceBar));
    surfaceBar->addSeparator();
    surfaceBar->addActions({Action(Command::Undo), Action(Command::Redo)});
    SetDoubleDisc(false);

    mainBar = NewToolBar(this, QStringLiteral("Main Toolbar"), QStringLiteral("MainToolbar"), 18);
    mainBar->addActions({Action(Command::New), Action(Command::Open), Action(Command::Save)});
    mainBar->addSeparator();
    mainBar->addAction(Action(Command::Print));
    mainBar->addSeparator();
    mainBar->addActions(
        {Action(Command::CutObject), Action(Command::CopyObject), Action(Command::PasteObject)});
    mainBar->addSeparator();
    mainBar->addAction(Action(Command::DeleteObject));
    mainBar->addSeparator();
    mainBar->addActions({Action(Command::Undo), Action(Command::Redo)});

    // The item properties bar and the colour bar are filled by the editing commands.
    propertiesBar =
        NewToolBar(this, QStringLiteral("Properties Toolbar"), QStringLiteral("PropertiesToolbar"), 16);
    colorBar = NewToolBar(this, QStringLiteral("Color Toolbar"), QStringLiteral("ColorToolbar"), 16);

    textEditorBar = NewDockingBar(this, QStringLiteral("Text Editor"), QStringLiteral("TextEditorBar"),
                                  Qt::LeftDockWidgetArea);
    imagesBar =
        NewDockingBar(this, QStringLiteral("Images"), QStringLiteral("ImagesBar"), Qt::RightDockWidgetArea);

    const std::pair<QAction*, const char*> toggles[] = {
        {colorBar->toggleViewAction(), "Color Toolbar"},
        {mainBar->toggleViewAction(), "Main Toolbar"},
        {propertiesBar->toggleViewAction(), "Properties Toolbar"},
        {imagesBar->toggleViewAction(), "Image Toolbar"},
        {textEditorBar->toggleViewAction(), "Text Editor"},
    };
    for (const auto& [action, text] : toggles) {
        action->setText(QString::fromLatin1(text));
        toolbarsMenu->addAction(action);
    }
}

void MainWindow::ConnectCommands()
{
    Route(Command::Exit, [this] { close(); });
    RouteToggle(Command::SnapToGrid, [this](bool checked) {
        Toggle(QStringLiteral("SnapToGrid"), context.settings.snapToGrid, checked);
    });
    RouteToggle(Command::ShowGrid, [this](bool checked) {
        Toggle(QStringLiteral("ShowGrid"), context.settings.showGrid, checked);
    });
    RouteToggle(Command::Guides,
                [this](bool checked) { Toggle(QStringLiteral("Guides"), context.settings.guides, checked); });
    Route(Command::GridSize, [this] { EditGridSize(); });
    Route(Command::Units, [this] { EditUnits(); });
    Route(Command::Help, [this] { OpenHelp(); });
    Route(Command::Website, [this] { OpenWebsite(); });
    Route(Command::About, [this] { ShowAbout(); });

    Action(Command::SnapToGrid)->setChecked(context.settings.snapToGrid);
    Action(Command::ShowGrid)->setChecked(context.settings.showGrid);
    Action(Command::Guides)->setChecked(context.settings.guides);

    for (const QAction* menu : menuBar()->actions())
        connect(menu->menu(), &QMenu::aboutToShow, this, [this] { UpdateCommandStates(); });
    connect(editMenu, &QMenu::aboutToShow, this, [this] { UpdateCommandStates(); });
    auto* idle = new QTimer(this);
    connect(idle, &QTimer::timeout, this, [this] { UpdateCommandStates(); });
    idle->start(250);
}

void MainWindow::Route(Command command, std::function<void()> handler)
{
    connect(Action(command), &QAction::triggered, this, [this, handler = std::move(handler)] {
        BeforeCommand();
        handler();
    });
    routed.set(static_cast<std::size_t>(command));
    UpdateCommandStates();
}

void MainWindow::RouteToggle(Command command, std::function<void(bool)> handler)
{
    connect(Action(command), &QAction::triggered, this, [this, handler = std::move(handler)](bool on) {
        BeforeCommand();
        handler(on);
    });
    routed.set(static_cast<std::size_t>(command));
    UpdateCommandStates();
}

void MainWindow::BeforeCommand() const
{
    if (beforeCommand)
        beforeCommand();
}

void MainWindow::SetEditStateSource(std::function<EditState()> source)
{
    editState = std::move(source);
    UpdateCommandStates();
}

void MainWindow::UpdateCommandStates()
{
    const EditState edit = editState ? editState() : EditState{};
    const ClipboardState clipboard = ReadClipboardState(QGuiApplication::clipboard()->mimeData());
    for (std::size_t i = 0; i < routed.size(); ++i) {
        if (routed.test(i)) {
            const auto command = static_cast<Command>(i);
            Action(command)->setEnabled(CommandEnabled(command, edit, clipboard));
        }
    }
}

QStringList MainWindow::BarNames() const
{
    QStringList names;
    for (const QWidget* bar : std::initializer_list<const QWidget*>{mainBar, surfaceBar, propertiesBar,
                                                                    colorBar, textEditorBar, imagesBar})
        names.append(bar->objectName());
    return names;
}

void MainWindow::ApplyStartLayout()
{
    const bool helpScreenPresent = context.store.Contains(QStringLiteral("HelpScreen"));
    restoreSaved =
        UseSavedLayout(helpScreenPresent, context.settings.version, context.layout.SavedBars(), BarNames());
    if (restoreSaved)
        RestoreSavedBars();
    else
        ApplyDefaultLayout();
}

void MainWindow::ApplyDefaultLayout()
{
    for (QToolBar* bar : {surfaceBar, mainBar, propertiesBar, colorBar}) {
        addToolBar(Qt::TopToolBarArea, bar);
        bar->show();
    }
    // The properties and colour bars take a second row: beside the other two, the font boxes of a text
    // would push the colour buttons out of sight.
    insertToolBarBreak(propertiesBar);
    addDockWidget(Qt::LeftDockWidgetArea, textEditorBar);
    addDockWidget(Qt::RightDockWidgetArea, imagesBar);
    for (QDockWidget* bar : {textEditorBar, imagesBar}) {
        bar->setFloating(false);
        bar->show();
    }
    resizeDocks({textEditorBar, imagesBar}, {textEditorBarWidth, imagesBarWidth}, Qt::Horizontal);
}

void MainWindow::RestoreSavedBars()
{
    const auto saved = context.layout.SavedBars();
    if (!saved || !restoreState(saved->state)) {
        ApplyDefaultLayout();
        return;
    }
    // A bar that comes back floating starts hidden; the Toolbars menu brings it back.
    for (QToolBar* bar : {surfaceBar, mainBar, propertiesBar, colorBar}) {
        if (bar->isFloating())
            bar->hide();
    }
    for (QDockWidget* bar : {textEditorBar, imagesBar}) {
        if (bar->isFloating())
            bar->hide();
    }
}

void MainWindow::SaveBars()
{
    context.layout.SaveBars({saveState(), BarNames()});
}

void MainWindow::SetLabelView(QWidget* view)
{
    labelView = view;
    setCentralWidget(view ? view : new QWidget(this));
}

void MainWindow::SetDoubleDisc(bool doubleDisc)
{
    Action(Command::ShowSecondDisc)->setVisible(doubleDisc);
}

void MainWindow::FirstShow(QWidget* splash)
{
    Guarded(107, [&] {
        if (splash)
            splash->close();
        if (const QScreen* target = screen())
            setGeometry(target->availableGeometry().adjusted(100, 100, -100, -100));
        showMaximized();
        if (context.settings.firstRun) {
            Action(Command::New)->trigger();
            OpenHelp();
            context.store.WriteSetting(u"Number", QStringLiteral("HelpScreen"), QStringLiteral("1"));
            context.settings.firstRun = false;
        }
        // Dock sizes saved for the maximised window only fit once it has its size.
        if (restoreSaved)
            RestoreSavedBars();
        if (labelView)
            labelView->setFocus();
    });
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    BeforeCommand();
    if (closeGuard && !closeGuard()) {
        event->ignore();
        return;
    }
    SaveBars();
    event->accept();
}

void MainWindow::SetCloseGuard(std::function<bool()> mayClose)
{
    closeGuard = std::move(mayClose);
}

void MainWindow::ShowZoom(int zoom)
{
    zoomLabel->setText(QStringLiteral("%1%").arg(zoom * 10));
}

void MainWindow::ShowDocumentTitle(const QString& title)
{
    setWindowTitle(title.isEmpty() ? QStringLiteral("Tovrelline") : title + QStringLiteral(" - Tovrelline"));
}

void MainWindow::RouteRecentFiles(std::function<void(const QString&)> open)
{
    openRecent = std::move(open);
    RebuildRecentFiles();
}

void MainWindow::AddRecentFile(const QString& path)
{
    QStringList files = context.layout.RecentFiles();
    files.removeAll(path);
    files.prepend(path);
    context.layout.SetRecentFiles(files.mid(0, WindowLayout::recentFileCount));
    RebuildRecentFiles();
}

void MainWindow::RebuildRecentFiles()
{
    for (QAction* action : std::as_const(recentActions)) {
        fileMenu->removeAction(action);
        action->deleteLater();
    }
    recentActions.clear();
    const QStringList recent = context.layout.RecentFiles();
    for (qsizetype i = 0; i < recent.size(); ++i) {
        auto* action =
            new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(recent[i])), this);
        const QString path = recent[i];
        action->setEnabled(static_cast<bool>(openRecent));
        connect(action, &QAction::triggered, this, [this, path] {
            BeforeCommand();
            Guarded(281, [&] { openRecent(path); });
        });
        recentActions.append(action);
    }
    if (recent.isEmpty()) {
        auto* placeholder = new QAction(QStringLiteral("Recent File"), this);
        placeholder->setEnabled(false);
        recentActions.append(placeholder);
    }
    fileMenu->insertActions(recentEnd, recentActions);
}

void MainWindow::Toggle(const QString& setting, bool& flag, bool on)
{
    flag = on;
    context.store.WriteSetting(u"Number", setting, on ? QStringLiteral("1") : QStringLiteral("0"));
    ApplyViewOptions();
}

void MainWindow::SetViewOptionsHandler(std::function<void(const AppSettings&)> apply)
{
    applyViewOptions = std::move(apply);
    ApplyViewOptions();
}

void MainWindow::ApplyViewOptions()
{
    if (applyViewOptions)
        applyViewOptions(context.settings);
}

void MainWindow::EditGridSize()
{
    Guarded(120, [&] {
        GridSizeDialog dialog(context.settings.gridSize, context.settings.units == u"Millimeters", this);
        if (dialog.exec() != QDialog::Accepted || !dialog.Changed())
            return;
        Guarded(275, [&] {
            const QSize grid = dialog.GridSize();
            context.settings.gridSize = grid;
            context.store.WriteSetting(u"String", QStringLiteral("GridSize"),
                                       QStringLiteral("%1,%2").arg(grid.width()).arg(grid.height()));
            ApplyViewOptions();
        });
    });
}

void MainWindow::EditUnits()
{
    UnitsDialog dialog(context.settings.units, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    context.settings.units = dialog.Units();
    context.store.WriteSetting(u"String", QStringLiteral("Units"), context.settings.units);
    if (labelView)
        labelView->update();
}

void MainWindow::ShowAbout()
{
    AboutDialog dialog(this);
    dialog.exec();
}

void MainWindow::Notify(const QString& text)
{
    context.request.text = text;
    context.request.iconKind = 2;
    context.request.buttons = QStringLiteral("OK`");
    context.request.showCheckBox = false;
    ShowAppMessageBox(context.request, this);
}

void MainWindow::OpenHelp()
{
    if (!QFile::exists(context.helpFile)) {
        Notify(QStringLiteral("The user guide could not be found:\r\n") +
               QDir::toNativeSeparators(context.helpFile));
        return;
    }
    if (!context.openUrl(QUrl::fromLocalFile(context.helpFile)))
        Notify(QStringLiteral("No web browser could be started to show the user guide."));
}

void MainWindow::OpenWebsite()
{
    const QString name = QStringLiteral("website.url");
    for (const QString& folder : {context.programFolder, QApplication::applicationDirPath()}) {
        const QString path = QDir(folder).filePath(name);
        if (!QFile::exists(path))
            continue;
        const QUrl url = ShortcutUrl(path);
        if (!url.isValid() || url.isEmpty())
            Notify(QStringLiteral("The file %1 holds no web address.").arg(QDir::toNativeSeparators(path)));
        else if (!context.openUrl(url))
            Notify(QStringLiteral("No web browser could be started to show %1.").arg(url.toString()));
        return;
    }
    Notify(QStringLiteral("The file website.url was not found in:\r\n") +
           QDir::toNativeSeparators(context.programFolder));
}

} // namespace tvl
