#include "app/session/DesignSession.h"

#include "app/MainWindow.h"
#include "app/messages/AppMessageBox.h"
#include "app/messages/ErrorReport.h"
#include "app/messages/MessageRequest.h"
#include "document/commands/DefaultDesigns.h"
#include "document/files/DesignFile.h"
#include "editing/CMervo6View.h"
#include "render/picture/LoadPictureFile.h"
#include "stock/ApplyStocks.h"
#include "stock/BuildSurfaceItems.h"
#include "stock/StockCatalogue.h"

#include <QAction>

namespace tvl {
namespace {

constexpr int kNewDesignZoom = 6;

} // namespace

DesignSession::DesignSession(MainWindow& window, CMervo6View& view, StockCatalogue& catalogue,
                             FileCommandsUi& ui, FileSettings& settings, MessageRequest& request,
                             const QString& programFolder)
    : m_window(window)
    , m_view(view)
    , m_catalogue(catalogue)
    , m_request(request)
    , m_history(view.design(), *this)
    , m_commands(m_file, *this, ui, settings, programFolder)
{
    m_view.design().SetRecorder(&m_history);
    RouteCommands();
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
    m_window.Route(Command::Undo, [this] { Guarded(71, [&] { m_history.Undo(); }); });
    m_window.Route(Command::Redo, [this] { Guarded(70, [&] { m_history.Redo(); }); });
    m_window.Route(Command::ShowFrontCover, [this] { m_view.ShowFrontCover(); });
    m_window.Route(Command::ShowBackCover, [this] { m_view.ShowBackCover(); });
    m_window.Route(Command::ShowDiscLabel, [this] { m_view.ShowDiscLabel(); });
    m_window.Route(Command::ShowSecondDisc, [this] { m_view.ShowDisc2(); });
    m_window.Route(Command::ZoomIn, [this] { m_view.ZoomIn(); });
    m_window.Route(Command::ZoomOut, [this] { m_view.ZoomOut(); });
    // The grid and guides switches are the window's; the view draws what they say.
    SceneState& scene = m_view.scene();
    scene.showGrid = m_window.Action(Command::ShowGrid)->isChecked();
    scene.guidesOn = m_window.Action(Command::Guides)->isChecked();
    QObject::connect(m_window.Action(Command::ShowGrid), &QAction::toggled, &m_view,
                     [this](bool on) { m_view.SetShowGrid(on); });
    QObject::connect(m_window.Action(Command::Guides), &QAction::toggled, &m_view,
                     [this](bool on) { m_view.SetGuidesOn(on); });
    m_window.RouteRecentFiles([this](const QString& path) {
        m_commands.OpenDesignPath(path);
        ShowTitle();
    });
    m_window.SetEditStateSource([this] {
        EditState state;
        const CRichChild* selected = SelectedItem();
        state.itemSelected = selected != nullptr;
        state.textItemSelected =
            selected && (selected->itemType == u"Text" || selected->itemType == u"Track");
        state.historySteps = m_history.stepCount();
        state.historyIndex = m_history.currentIndex();
        return state;
    });
    m_window.SetCloseGuard(
        [this] { return Guarded(155, true, [&] { return m_commands.QuerySaveChanges(); }); });
}

void DesignSession::Start(const QString& commandLinePath)
{
    Guarded(947, [&] { m_commands.LoadStartupDesign(commandLinePath); });
    ShowTitle();
}

LabelDesign& DesignSession::design()
{
    return m_view.design();
}

bool DesignSession::HasDesign() const
{
    return !m_view.design().itemList.empty();
}

void DesignSession::ShowStop(const QString& text)
{
    m_request.text = text;
    m_request.iconKind = 1;
    m_request.buttons = QStringLiteral("OK`");
    m_request.showCheckBox = false;
    ShowAppMessageBox(m_request, &m_window);
}

DesignReadOutcome DesignSession::Read(const QString& path, QString& title)
{
    FileResult<DesignContent> read = ReadDesignFile(path);
    if (!read) {
        const FileError& error = read.error();
        if (error.kind == FileError::Kind::Refused) {
            ShowStop(error.message);
            return {DesignReadOutcome::Status::Refused, error.message, error.stage};
        }
        return {DesignReadOutcome::Status::Failed, error.message, error.stage};
    }

    m_history.SetRecording(false);
    m_history.ClearHistory();
    ClearSelection();
    LabelDesign& live = m_view.design();
    live.ReplaceItems(std::move(read.value().design.itemList));
    live.albumHeader = read.value().design.albumHeader;
    m_file.fileVersion = read.value().fileVersion;

    SceneState& scene = m_view.scene();
    LiveDesignState state;
    ApplyReadDesign(live, state, scene.discPositionMode, title, *this);
    scene.discMode = state.discMode;
    scene.caseKind = state.caseKind;
    ShowDesign(state.currentSurface);
    m_history.SetRecording(true);
    for (const int code : read.value().reportedErrors)
        ShowStop(ErrorText(code));
    ShowTitle();
    return {};
}

std::optional<QString> DesignSession::Write(const QString& path)
{
    const SceneState& scene = m_view.scene();
    const LiveDesignState state{m_view.geometry().currentSurface(), m_view.geometry().currentPageCode(),
                                scene.discMode, scene.caseKind};
    const FileResult<> written = WriteDesignFile(path, m_view.design(), state);
    if (!written)
        return written.error().message;
    m_file.modified = false;
    ShowTitle();
    return std::nullopt;
}

void DesignSession::BuildBlankDesign()
{
    m_history.SetRecording(false);
    m_history.ClearHistory();
    ClearSelection();
    LabelDesign& live = m_view.design();
    SceneState& scene = m_view.scene();
    scene.discMode = live.albumHeader.discMode;
    scene.caseKind = live.albumHeader.caseKind;
    m_catalogue.ReconcileCaseKind(scene.caseKind);
    const CLabelDim& disc = m_catalogue.stock(m_catalogue.currentDisc());
    const CLabelDim& caseStock = m_catalogue.stock(m_catalogue.currentCase());
    live.ReplaceItems(BuildSurfaceItems(disc, caseStock, scene.discMode, scene.discPositionMode));
    live.albumHeader.currentSurface = QStringLiteral("Disc 1");
    live.albumHeader.currentPageCode = QStringLiteral("1");
    FillSampleAlbum(live);
    m_view.SetStocks(disc, caseStock);
    m_view.SetZoom(kNewDesignZoom);
    RefreshBars();
    ShowDesign(QStringLiteral("Disc 1"));
    m_history.SetRecording(true);
}

void DesignSession::ShowDesign(const QString& surface)
{
    m_view.SelectSurface(surface);
    SelectItem(surface);
    m_view.Redraw(nullptr, true);
}

void DesignSession::ShowTitle()
{
    m_window.ShowDocumentTitle(m_file.title);
}

CRichChild* DesignSession::SelectedItem()
{
    return m_view.design().FindItem(m_view.scene().selectedItem);
}

void DesignSession::ClearSelection()
{
    m_view.scene().selectedItem.clear();
}

void DesignSession::MarkModified()
{
    m_file.modified = true;
}

void DesignSession::CaretRange(const CRichChild&, int& start, int& end)
{
    // Text is not edited in place yet, so there is no caret to remember.
    start = 0;
    end = 0;
}

void DesignSession::SetDiscPositionMode(int mode)
{
    m_view.scene().discPositionMode = mode;
}

bool DesignSession::ReloadPicture(CRichChild& item)
{
    return LoadPictureFile(item, item.imagePath).ok();
}

void DesignSession::ShowAfterUndo(const QString& surface, const QString& itemName, bool select)
{
    m_view.SelectSurface(surface);
    if (select)
        SelectItem(itemName);
    m_view.Redraw(nullptr, true);
}

void DesignSession::RefreshBars()
{
    m_window.SetDoubleDisc(m_view.scene().IsDouble());
}

void DesignSession::ApplyStocks(LabelDesign& design, const LiveDesignState& live, int& discPositionMode)
{
    tvl::ApplyStocks(design, m_catalogue, live.caseKind, live.discMode, discPositionMode);
    m_view.SetStocks(m_catalogue.stock(m_catalogue.currentDisc()),
                     m_catalogue.stock(m_catalogue.currentCase()));
}

void DesignSession::SelectItem(const QString& name)
{
    m_view.SetSelectedItem(name);
}

void DesignSession::Redraw()
{
    m_view.Redraw(nullptr, true);
}

} // namespace tvl
