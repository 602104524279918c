#pragma once

#include "document/commands/DesignFileCommands.h"
#include "document/commands/DocumentFileState.h"
#include "document/files/DesignReadApply.h"
#include "document/history/HistoryHost.h"
#include "document/history/UndoHistory.h"

namespace tvl {

class CMervo6View;
class MainWindow;
class StockCatalogue;
struct MessageRequest;
class FileCommandsUi;
class FileSettings;

// The open design as the window works with it: its file state, undo history and file commands, over
// the design the label view owns. Routes the File commands and Undo/Redo of the main window and asks
// about unsaved changes before the window closes.
class DesignSession final : public DesignStore, public HistoryHost, private DesignViewHooks
{
public:
    DesignSession(MainWindow& window, CMervo6View& view, StockCatalogue& catalogue, FileCommandsUi& ui,
                  FileSettings& settings, MessageRequest& request, const QString& programFolder);

    // Loads the design named on the command line, or else the default design.
    void Start(const QString& commandLinePath);

    DesignFileCommands& commands() { return m_commands; }
    UndoHistory& history() { return m_history; }
    const DocumentFileState& file() const { return m_file; }

    // DesignStore
    LabelDesign& design() override;
    DesignReadOutcome Read(const QString& path, QString& title) override;
    std::optional<QString> Write(const QString& path) override;
    void BuildBlankDesign() override;
    bool HasDesign() const override;

    // HistoryHost
    CRichChild* SelectedItem() override;
    void ClearSelection() override;
    void MarkModified() override;
    void CaretRange(const CRichChild& item, int& start, int& end) override;
    void SetDiscPositionMode(DiscPositionMode mode) override;
    bool ReloadPicture(CRichChild& item) override;
    void ShowAfterUndo(const QString& surface, const QString& itemName, bool select) override;

private:
    // DesignViewHooks
    void RefreshBars() override;
    void ApplyStocks(LabelDesign& design, const LiveDesignState& live,
                     DiscPositionMode& discPositionMode) override;
    void SelectItem(const QString& name) override;
    void Redraw() override;

    void RouteCommands();
    void ShowDesign(const QString& surface);
    void ShowTitle();
    void ShowStop(const QString& text);

    MainWindow& m_window;
    CMervo6View& m_view;
    StockCatalogue& m_catalogue;
    MessageRequest& m_request;
    DocumentFileState m_file;
    UndoHistory m_history;
    DesignFileCommands m_commands;
};

} // namespace tvl
