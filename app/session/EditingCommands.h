#pragma once

#include "editing/insert/InsertCommands.h"
#include "editing/properties/ColourToolbar.h"
#include "editing/properties/PropertiesToolbar.h"

namespace tvl {

class CMervo6View;
class DesignDocument;
class MainWindow;
class StockCatalogue;
struct AppContext;

// The window's side of the commands that add and change items: routes the eight Insert commands and the
// centring commands of the main window, fills the properties bar, and gives both what they ask of the
// user and of the settings.
class EditingCommands final
{
public:
    // editDimensions opens the wizard on the stock that carries a surface (the properties bar's "Edit
    // Dimensions").
    EditingCommands(MainWindow& window, DesignDocument& document, CMervo6View& view, AppContext& context,
                    StockCatalogue& catalogue, std::function<void(const QString& surface)> editDimensions);
    ~EditingCommands();
    EditingCommands(const EditingCommands&) = delete;
    EditingCommands& operator=(const EditingCommands&) = delete;

    InsertCommands& inserts() { return m_insert; }
    PropertiesToolbar& properties() { return m_properties; }
    ColourToolbar& colours() { return m_colours; }

private:
    InsertPorts MakeInsertPorts();
    PropertiesPorts MakePropertiesPorts(std::function<void(const QString& surface)> editDimensions);
    ColourPorts MakeColourPorts();
    void RouteCommands();

    MainWindow& m_window;
    DesignDocument& m_document;
    CMervo6View& m_view;
    AppContext& m_context;
    StockCatalogue& m_catalogue;
    InsertCommands m_insert;
    // Before the properties bar, which tells it the formatting it shows.
    ColourToolbar m_colours;
    PropertiesToolbar m_properties;
};

} // namespace tvl
