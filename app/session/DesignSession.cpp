#include "app/session/DesignSession.h"

#include "app/MainWindow.h"
#include "app/messages/AppMessageBox.h"
#include "app/messages/ErrorReport.h"
#include "app/messages/MessageRequest.h"
#include "app/settings/AppSettings.h"
#include "document/clipboard/ClipboardEdits.h"
#include "document/commands/DefaultDesigns.h"
#include "document/design/ReadIntoDocument.h"
#include "document/files/DesignFile.h"
#include "document/files/PictureBlock.h"
#include "document/files/RecoveryCopy.h"
#include "document/model/SurfaceNames.h"
#include "editing/CMervo6View.h"
#include "render/picture/LoadPictureFile.h"
#include "stock/ApplyStocks.h"
#include "stock/BuildSurfaceItems.h"
#include "stock/StockCatalogue.h"

#include <QAction>
#include <QMenu>
#include <QStatusBar>

namespace tvl {
namespace {

constexpr int kNewDesignZoom = 6;

} // namespace

DesignSession::DesignSession(MainWindow& window, DesignDocument& document, CMervo6View& view,
                             StockCatalogue& catalogue, FileCommandsUi& ui, FileSettings& settings,
                             MessageRequest& request, const QString& programFolder, RecoveryCopy& recovery)
    : m_window(window)
    , m_document(document)
    , m_view(view)
    , m_catalogue(catalogue)
    , m_request(request)
    , m_commands(document.file(), *this, ui, settings, programFolder)
    , m_recovery(recovery)
    , m_keeper(document, recovery)
{
    m_document.SetPictureLoader([](CRichChild& item) { return LoadPictureFile(item, item.imagePath).ok(); });
    m_document.SetAutoFitter(&m_autoFitter);
    m_document.AddListener(this);
    RouteCommands();
    ConnectContextMenu();
}

void DesignSession::ConnectContextMenu()
{
    // The label view's menu offers the Edit menu's commands; an Insert chosen from it places the new item
    // where the menu was opened (the view keeps that point while the command runs).
    m_view.SetInsertMenuFiller([this](QMenu& menu, QPoint) {
        for (const Command command :
             {Command::InsertArtist, Command::InsertTitle, Command::InsertTrack, Command::InsertYear,
              Command::InsertTotalTime, Command::InsertGenre, Command::InsertText, Command::InsertImage}) {
            if (QAction* action = m_window.Action(command))
                menu.addAction(action);
        }
    });
    QList<QAction*> actions;
    for (const Command command :
         {Command::Undo, Command::Redo, Command::CutText, Command::CopyText, Command::PasteText,
          Command::CutObject, Command::CopyObject, Command::PasteObject, Command::DeleteObject}) {
        if (command == Command::CutText || command == Command::CutObject)
            actions.append(nullptr);
        actions.append(m_window.Action(command));
    }
    m_view.SetContextMenuActions(actions);
}

DesignSession::~DesignSession()
{
    m_keeper.Discard();
    m_document.RemoveListener(this);
    m_document.SetAutoFitter(nullptr);
}

void DesignSession::RouteCommands()
{
    // Every file command may change the design's name; the caption follows.
    const auto fileCommand = [this](int number, void (*command)(DesignFileCommands&)) {
        return [this, number, command] {
            Guarded(number, [&] { command(m_commands); });
            ShowTitle();
        };
    };
    m_window.Route(Command::New, fileCommand(948, [](DesignFileCommands& c) { c.New(); }));
    m_window.Route(Command::Open, fileCommand(148, [](DesignFileCommands& c) { c.Open(); }));
    m_window.Route(Command::Save, fileCommand(145, [](DesignFileCommands& c) { c.Save(); }));
    m_window.Route(Command::SaveAs, fileCommand(147, [](DesignFileCommands& c) { c.SaveAs(); }));
    m_window.Route(Command::SaveAsDefaultDesign,
                   fileCommand(152, [](DesignFileCommands& c) { c.SaveAsDefaultDesign(); }));
    m_window.Route(Command::Undo, [this] { Guarded(71, [&] { m_document.Undo(); }); });
    m_window.Route(Command::Redo, [this] { Guarded(70, [&] { m_document.Redo(); }); });
    m_window.Route(Command::ShowFrontCover, [this] { m_view.ShowFrontCover(); });
    m_window.Route(Command::ShowBackCover, [this] { m_view.ShowBackCover(); });
    m_window.Route(Command::ShowDiscLabel, [this] { m_view.ShowDiscLabel(); });
    m_window.Route(Command::ShowSecondDisc, [this] { m_view.ShowDisc2(); });
    m_window.Route(Command::ZoomIn, [this] { m_view.ZoomIn(); });
    m_window.Route(Command::ZoomOut, [this] { m_view.ZoomOut(); });
    m_window.Route(Command::ZoomToFit, [this] { m_view.ZoomToFit(); });
    m_view.SetZoomListener([this](int zoom) { m_window.ShowZoom(zoom); });
    m_window.SetViewOptionsHandler([this](const AppSettings& settings) {
        m_view.ApplyOptions({settings.guides, settings.showGrid, settings.gridSize, settings.snapToGrid});
    });
    m_window.RouteRecentFiles([this](const QString& path) {
        m_commands.OpenDesignPath(path);
        ShowTitle();
    });
    m_window.SetEditStateSource([this] {
        EditState state;
        const CRichChild* selected = m_document.Selected();
        state.itemSelected = selected != nullptr;
        state.textItemSelected = selected && selected->IsTextual();
        const TextRange text = m_view.textEditor().GetSelection();
        state.textSelected = m_view.textEditor().Edited() && text.start != text.end;
        state.deletableSelected = CanDeleteSelected(m_document);
        state.movableSelected = selected && !IsStructural(selected->kind);
        state.historySteps = m_document.history().stepCount();
        state.historyIndex = m_document.history().currentIndex();
        return state;
    });
    m_window.SetBeforeCommand([this] { m_view.FlushPendingInput(); });
    m_window.SetCloseGuard(
        [this] { return Guarded(155, true, [&] { return m_commands.QuerySaveChanges(); }); });
}

void DesignSession::Start(const QString& commandLinePath)
{
    if (!RecoverUnsavedChanges())
        Guarded(947, [&] { m_commands.LoadStartupDesign(commandLinePath); });
    ShowTitle();
}

bool DesignSession::RecoverUnsavedChanges()
{
    const std::optional<RecoveryCopy::Orphan> orphan = m_recovery.FindOrphan();
    if (!orphan)
        return false;
    m_request.text = QStringLiteral("Tovrelline closed before your changes were saved. Recover them?");
    m_request.iconKind = 2;
    m_request.buttons = QStringLiteral("Yes`No`");
    m_request.showCheckBox = false;
    // Closing the question keeps the copy for the next start rather than deleting work.
    m_request.closedResult = 0;
    const int answer = ShowAppMessageBox(m_request, &m_window);
    if (answer == 2) {
        m_recovery.Discard(*orphan);
        return false;
    }
    if (answer != 1)
        return false;
    const QString fileName = FileNamePart(orphan->originalPath);
    QString title = fileName.isEmpty() || IsDefaultDesignName(fileName) ? kUntitledName.toString() : fileName;
    if (Read(orphan->copyPath, title).status != DesignReadOutcome::Status::Read)
        return false;
    DocumentFileState& file = m_document.file();
    if (orphan->originalPath.isEmpty()) {
        file.path.clear();
        file.title = title;
    } else {
        file.SetPath(orphan->originalPath);
    }
    file.modified = true;
    // The recovered changes are this program's unsaved work now, kept under its own name.
    if (orphan->copyPath != m_recovery.path())
        m_recovery.Discard(*orphan);
    m_keeper.WriteNow();
    return true;
}

bool DesignSession::HasDesign() const
{
    return m_document.HasDesign();
}

QString DesignSession::DiscMode() const
{
    return m_document.discMode();
}

QString DesignSession::CaseKind() const
{
    return m_document.caseKind();
}

void DesignSession::SetDesignKind(const QString& discMode, const QString& caseKind)
{
    m_document.SetDesignKind(discMode, caseKind);
}

void DesignSession::ShowStop(const QString& text)
{
    ShowStopMessage(m_request, text, &m_window);
}

DesignReadOutcome DesignSession::Read(const QString& path, QString& title)
{
    const auto open = [&](LabelDesign& design, LiveDesignState& live) {
        DiscPositionMode position = m_document.discPositionMode();
        ApplyReadDesign(design, live, position, title, *this);
        m_document.SetDiscPositionMode(position);
    };
    const FileResult<DesignReadNotes> read = ReadIntoDocument(m_document, path, PictureReading::Decode, open);
    if (!read) {
        const FileError& error = read.error();
        if (error.kind == FileError::Kind::Refused) {
            ShowStop(error.message);
            return {DesignReadOutcome::Status::Refused, error.message, error.stage};
        }
        return {DesignReadOutcome::Status::Failed, error.message, error.stage};
    }
    for (const int code : read.value().reportedErrors)
        ShowStop(ErrorText(code));
    if (const QString pictures = UndecodedPictureNotice(m_document.design()); !pictures.isEmpty())
        m_window.statusBar()->showMessage(pictures);
    ShowTitle();
    return {};
}

std::optional<QString> DesignSession::Write(const QString& path)
{
    const FileResult<> written = WriteDesignFile(path, m_document.MutableDesign(), m_document.LiveState());
    if (!written) {
        const FileError& error = written.error();
        return error.cause.isEmpty() ? error.message : error.cause;
    }
    m_document.MarkSaved();
    m_keeper.Discard();
    ShowTitle();
    return std::nullopt;
}

void DesignSession::BuildBlankDesign()
{
    m_document.BeginReplace();
    LabelDesign& live = m_document.MutableDesign();
    const QString discMode = m_document.discMode();
    const QString caseKind = m_document.caseKind();
    m_catalogue.ReconcileCaseKind(caseKind);
    const CLabelDim& disc = m_catalogue.stock(m_catalogue.currentDisc());
    const CLabelDim& caseStock = m_catalogue.stock(m_catalogue.currentCase());
    live.ReplaceItems(BuildSurfaceItems(disc, caseStock, discMode, m_document.discPositionMode()));
    // The header is the file's copy of the live state; the sample album reads its disc mode.
    live.albumHeader.discMode = discMode;
    live.albumHeader.caseKind = caseKind;
    live.albumHeader.currentSurface = kDisc1.toString();
    live.albumHeader.currentPageCode = QStringLiteral("1");
    FillSampleAlbum(live);
    m_view.SetStocks(disc, caseStock);
    m_view.SetZoom(kNewDesignZoom);
    m_document.Select(kDisc1.toString());
    m_document.EndReplace({kDisc1.toString(), QStringLiteral("1"), discMode, caseKind});
}

void DesignSession::DesignChanged(const DesignChange& change)
{
    // The bars follow the design just made current, whatever it replaced.
    if (change.replaced)
        m_window.SetDoubleDisc(m_document.IsDouble());
}

void DesignSession::ShowTitle()
{
    m_window.ShowDocumentTitle(m_document.file().title);
}

void DesignSession::ApplyStocks(LabelDesign& design, const LiveDesignState& live,
                                DiscPositionMode& discPositionMode)
{
    tvl::ApplyStocks(design, m_catalogue, live.caseKind, live.discMode, discPositionMode);
    m_view.SetStocks(m_catalogue.stock(m_catalogue.currentDisc()),
                     m_catalogue.stock(m_catalogue.currentCase()));
}

void DesignSession::ApplyCurrentStocks()
{
    m_document.ApplyStocks([this](LabelDesign& design, DiscPositionMode& discPositionMode) {
        tvl::ApplyStocks(design, m_catalogue, m_document.caseKind(), m_document.discMode(), discPositionMode);
    });
    m_view.SetStocks(m_catalogue.stock(m_catalogue.currentDisc()),
                     m_catalogue.stock(m_catalogue.currentCase()));
}

void DesignSession::SetDiscPosition(DiscPositionMode mode)
{
    m_document.SetDiscPositionMode(mode);
    ApplyCurrentStocks();
}

void DesignSession::SelectItem(const QString& name)
{
    m_document.Select(name);
}

} // namespace tvl
