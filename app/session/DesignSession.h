#pragma once

#include "document/commands/DesignFileCommands.h"
#include "document/design/DesignDocument.h"
#include "document/design/RecoveryKeeper.h"
#include "document/files/DesignReadApply.h"
#include "render/text/TextAutoFitter.h"

namespace tvl {

class CMervo6View;
class MainWindow;
class StockCatalogue;
struct MessageRequest;
class FileCommandsUi;
class FileSettings;
class RecoveryCopy;

// The window's side of the open document: reads and writes it for the file commands, builds blank
// designs from the stock catalogue, routes the File commands, Undo/Redo and the surface commands of the
// main window, keeps the bars in step with the document, and asks about unsaved changes before the
// window closes.
class DesignSession final : public DesignStore, private DesignViewHooks, private DesignListener
{
public:
    DesignSession(MainWindow& window, DesignDocument& document, CMervo6View& view, StockCatalogue& catalogue,
                  FileCommandsUi& ui, FileSettings& settings, MessageRequest& request,
                  const QString& programFolder, RecoveryCopy& recovery);
    // A normal end: the unsaved changes were saved or given up, so their recovery copy goes.
    ~DesignSession() override;

    // Offers the changes a program that ended without saving left behind; otherwise loads the design
    // named on the command line, or else the default design.
    void Start(const QString& commandLinePath);

    DesignFileCommands& commands() { return m_commands; }

    // The current stocks (or disc position) changed in the Print dialog: the open design takes them on.
    void ApplyCurrentStocks();
    void SetDiscPosition(DiscPositionMode mode);

    // DesignStore
    DesignReadOutcome Read(const QString& path, QString& title) override;
    std::optional<QString> Write(const QString& path) override;
    void BuildBlankDesign() override;
    bool HasDesign() const override;
    QString DiscMode() const override;
    QString CaseKind() const override;
    void SetDesignKind(const QString& discMode, const QString& caseKind) override;

private:
    // DesignViewHooks
    void ApplyStocks(LabelDesign& design, const LiveDesignState& live,
                     DiscPositionMode& discPositionMode) override;
    void SelectItem(const QString& name) override;
    // DesignListener
    void DesignChanged(const DesignChange& change) override;

    // True when the user took back the changes of a program that closed without saving them.
    bool RecoverUnsavedChanges();
    void RouteCommands();
    void ConnectContextMenu();
    void ShowTitle();
    void ShowStop(const QString& text);

    MainWindow& m_window;
    DesignDocument& m_document;
    CMervo6View& m_view;
    StockCatalogue& m_catalogue;
    MessageRequest& m_request;
    DesignFileCommands m_commands;
    RecoveryCopy& m_recovery;
    RecoveryKeeper m_keeper;
    TextAutoFitter m_autoFitter;
};

} // namespace tvl
