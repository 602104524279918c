#pragma once

#include "app/paper/PaperHost.h"

class QWidget;

namespace tvl {

class CMervo6View;
class DesignDocument;
class DesignFileCommands;
class MainWindow;
class SettingsStore;
class StockCatalogue;
struct AppSettings;
struct MessageRequest;

// Routes "Change Label Paper" and "Export Label to Image File" of the main window to their dialogs and
// gives the dialogs the design, the catalogue and the program's settings and messages.
class LabelPaperCommands final : public PaperHost
{
public:
    LabelPaperCommands(MainWindow& window, DesignDocument& document, CMervo6View& view,
                       StockCatalogue& catalogue, DesignFileCommands& commands, SettingsStore& store,
                       AppSettings& settings, MessageRequest& request, QString programFolder);

    void ChangeLabelPaper();
    // Opens the wizard on a stock (the Print dialog's "Edit" buttons).
    void EditStock(int index, bool firstSheet, QWidget* parent);
    // Opens the wizard on the current stock that carries a surface, at the sheet the surface is on (the
    // properties bar's "Edit Dimensions").
    void EditDimensions(const QString& surface);
    void ExportLabel();

    // PaperHost
    QString CaseKind() const override;
    bool QuerySaveChanges() override;
    void OpenDefaultDesign(const QString& caseKind) override;
    void ApplyStocks() override;
    int Ask(const QString& text, const QString& buttons) override;
    LengthUnits Units() const override;
    void SetUnits(LengthUnits units) override;

private:
    MainWindow& m_window;
    DesignDocument& m_document;
    CMervo6View& m_view;
    StockCatalogue& m_catalogue;
    DesignFileCommands& m_commands;
    SettingsStore& m_store;
    AppSettings& m_settings;
    MessageRequest& m_request;
    QString m_programFolder;
};

} // namespace tvl
