#include "app/StartUp.h"

#include "app/AppContext.h"
#include "app/InterfaceFont.h"
#include "app/MainWindow.h"
#include "app/WindowLayout.h"
#include "app/clipboard/ClipboardCommands.h"
#include "app/imagesbar/ImagesBarSession.h"
#include "app/launcher/LaunchChoice.h"
#include "app/messages/AppMessageBox.h"
#include "app/messages/ErrorReport.h"
#include "app/messages/MessageRequest.h"
#include "app/messages/Tips.h"
#include "app/print/PrintCommands.h"
#include "app/readcd/ReadCdCommand.h"
#include "app/readcd/ReadCdSession.h"
#include "app/session/DesignSession.h"
#include "app/session/EditingCommands.h"
#include "app/session/LabelPaperCommands.h"
#include "app/session/QtFileCommandsUi.h"
#include "app/settings/AppSettings.h"
#include "app/settings/SettingsStore.h"
#include "app/settings/StoreSettings.h"
#include "document/design/DesignDocument.h"
#include "document/files/ProgramFolder.h"
#include "document/files/RecoveryCopy.h"
#include "editing/CMervo6View.h"
#include "editing/texteditorbar/TextEditorBar.h"
#include "stock/StockCatalogue.h"
#include "storage/LocalFileName.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QScreen>
#include <QSplashScreen>
#include <QTimer>

#include <cstdio>

namespace tvl {
namespace {

bool HasDisplay()
{
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// The user guide sits beside the program in a build tree and in the shared data folder once installed.
QString UserGuidePath()
{
    const QDir programFolder(QApplication::applicationDirPath());
    const QString beside = programFolder.filePath(QStringLiteral("help/index.html"));
    if (QFileInfo::exists(beside))
        return beside;
    return QDir::cleanPath(programFolder.filePath(QStringLiteral("../share/tovrelline/help/index.html")));
}

} // namespace

int RunDesigner(int argc, char** argv)
{
    if (!HasDisplay()) {
        std::fprintf(stderr, "Tovrelline needs a graphical display, and none was found (DISPLAY and "
                             "WAYLAND_DISPLAY are not set).\nStart it from a desktop session, or use one of "
                             "the command-line verbs, which need no display:\n\n");
        std::fflush(stderr);
        PrintUsage();
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tovrelline"));
    QApplication::setDesktopFileName(QStringLiteral("tovrelline"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/tovrelline.svg")));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        QApplication::setFont(InterfaceFont(screen->logicalDotsPerInchX()));

    return Guarded(279, 1, [&] {
        QSplashScreen splash(QIcon(QStringLiteral(":/icons/tovrelline.svg")).pixmap(QSize(160, 160)));
        splash.setWindowTitle(QStringLiteral("Starting Tovrelline"));
        splash.show();

        SettingsStore store(SettingsStore::DefaultFilePath());
        WindowLayout layout(WindowLayout::DefaultFilePath());
        AppSettings settings = LoadSettings(store, ProgramFolder());
        MessageRequest request;
        Tips tips(store, request, [](MessageRequest& shown) {
            return ShowAppMessageBox(shown, QApplication::activeWindow());
        });
        AppContext context{store,
                           settings,
                           layout,
                           request,
                           tips,
                           UserGuidePath(),
                           ProgramFolder(),
                           [](const QUrl& url) { return QDesktopServices::openUrl(url); }};

        StoreSettings storeSettings(store);
        StockCatalogue catalogue(context.programFolder, storeSettings);
        catalogue.LoadCatalogue();

        // The document outlives the window and the view that show it.
        DesignDocument document;
        RecoveryCopy recovery(RecoveryCopy::DefaultFolder(), QCoreApplication::applicationPid());
        MainWindow window(context);
        auto* view = new CMervo6View(document);
        window.SetLabelView(view);
        QtFileCommandsUi fileUi(window, request);
        DesignSession session(window, document, *view, catalogue, fileUi, storeSettings, request,
                              context.programFolder, recovery);
        LabelPaperCommands labelPaper(window, document, *view, catalogue, session.commands(), store, settings,
                                      request, context.programFolder);
        EditingCommands editing(
            window, document, *view, context, catalogue,
            [&labelPaper](const QString& surface) { labelPaper.EditDimensions(surface); });
        ImagesBarSession images(window, document, *view, context);
        ClipboardCommands clipboard(window, document, *view, context);
        window.TextEditorBar()->setWidget(new TextEditorBar(
            document,
            {[view] { view->setFocus(Qt::OtherFocusReason); },
             [&window, view](bool redo) {
                 view->setFocus(Qt::OtherFocusReason);
                 window.UpdateCommandStates();
                 window.Action(redo ? Command::Redo : Command::Undo)->trigger();
             },
             [&window](const QString& caption) {
                 window.TextEditorBar()->setWindowTitle(caption);
                 // The Toolbars menu keeps naming the bar alone.
                 window.TextEditorBar()->toggleViewAction()->setText(QStringLiteral("Text Editor"));
             }},
            window.TextEditorBar()));
        PrintCommands printing(&window, document, catalogue, store, settings, context.programFolder,
                               {[&session] { session.ApplyCurrentStocks(); },
                                [&session](DiscPositionMode mode) { session.SetDiscPosition(mode); },
                                [&request, &window](const QString& text) {
                                    request.text = text;
                                    request.iconKind = 2;
                                    request.buttons = QStringLiteral("OK`");
                                    request.showCheckBox = false;
                                    request.caption.clear();
                                    ShowAppMessageBox(request, &window);
                                },
                                [&window] {
                                    return QFileDialog::getSaveFileName(
                                        &window, QStringLiteral("Print to PDF File"), QString(),
                                        QStringLiteral("PDF Files (*.pdf)"));
                                },
                                [&labelPaper](int stockIndex, bool firstSheet, QWidget* parent) {
                                    labelPaper.EditStock(stockIndex, firstSheet, parent);
                                }});
        window.Route(Command::Print, [&printing] { Guarded(331, [&] { printing.Print(); }); });
        window.Route(Command::PrintPreview, [&printing] { Guarded(135, [&] { printing.Preview(); }); });
        window.Route(Command::PrinterCalibration,
                     [&printing] { Guarded(331, [&] { printing.Calibration(); }); });
        // Declared after the window and the document: its workers are stopped and waited for first.
        ReadCdSession readCd(store, settings, request);
        readCd.openHelp = [&window] { window.OpenHelp(); };
        window.Route(Command::ReadCd, [&] { RunReadCd(readCd, document, &window); });
        // QApplication has taken its own options out of argv; the name keeps its bytes.
        session.Start(argc < 2 ? QString()
                               : QFileInfo(FileNameFromBytes(QByteArrayView(argv[1]))).absoluteFilePath());
        QTimer::singleShot(10, &window, [&] { window.FirstShow(&splash); });
        return QApplication::exec();
    });
}

} // namespace tvl
