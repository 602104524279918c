#include "app/session/EditingCommands.h"

#include "app/AppContext.h"
#include "app/MainWindow.h"
#include "app/messages/AppMessageBox.h"
#include "app/messages/ErrorReport.h"
#include "app/messages/MessageRequest.h"
#include "app/messages/Tips.h"
#include "app/settings/AppSettings.h"
#include "app/settings/SettingsStore.h"
#include "document/design/DesignDocument.h"
#include "document/design/ItemEdits.h"
#include "editing/CMervo6View.h"
#include "editing/insert/InsertImageFile.h"
#include "editing/insert/WhichDiscDialog.h"
#include "render/picture/LoadPictureFile.h"
#include "stock/ApplyStocks.h"

#include <QAction>
#include <QRandomGenerator>

namespace tvl {
namespace {

int Jitter()
{
    return static_cast<int>(QRandomGenerator::global()->bounded(1000));
}

constexpr std::pair<Command, InsertKind> kInsertCommands[] = {
    {Command::InsertArtist, InsertKind::Artist},       {Command::InsertTitle, InsertKind::Title},
    {Command::InsertTrack, InsertKind::Track},         {Command::InsertYear, InsertKind::Year},
    {Command::InsertTotalTime, InsertKind::TotalTime}, {Command::InsertGenre, InsertKind::Genre},
    {Command::InsertText, InsertKind::Text},           {Command::InsertImage, InsertKind::Image},
};

} // namespace

EditingCommands::EditingCommands(MainWindow& window, DesignDocument& document, CMervo6View& view,
                                 AppContext& context, StockCatalogue& catalogue,
                                 std::function<void(const QString& surface)> editDimensions)
    : m_window(window)
    , m_document(document)
    , m_view(view)
    , m_context(context)
    , m_catalogue(catalogue)
    , m_insert(document, MakeInsertPorts())
    , m_colours(*window.ColorBar(), document, MakeColourPorts())
    , m_properties(*window.PropertiesBar(), document, MakePropertiesPorts(std::move(editDimensions)),
                   window.Action(Command::ChangeLabelPaper))
{
    m_view.SetLastTrackTip([this] {
        m_context.tips.ShowTip(
            QStringLiteral("There must be at least one track.\r\nTo completely delete this "
                           "object, right-mouse click and select 'Delete Object'."),
            tipTrackKey.toString());
    });
    m_view.SetCaretListener([this] { m_properties.ShowFormat(); });
    RouteCommands();
}

EditingCommands::~EditingCommands()
{
    // The view may outlive the bars it tells about the caret.
    m_view.SetCaretListener({});
    m_view.SetLastTrackTip({});
}

InsertPorts EditingCommands::MakeInsertPorts()
{
    InsertPorts ports;
    ports.whichDisc = [this](const QString& text, int& lastDisc) {
        return AskWhichDisc(&m_window, text, lastDisc);
    };
    ports.chooseImage = [this](const QString& folder) {
        return ChooseInsertImage(&m_window, InsertImageStartFolder(folder));
    };
    ports.imageFolder = [this] { return m_context.settings.openImage; };
    ports.setImageFolder = [this](const QString& folder) {
        m_context.settings.openImage = folder;
        m_context.store.WriteSetting(u"String", QStringLiteral("OpenImage"), folder);
    };
    ports.loadPicture = [](CRichChild& item) {
        const FileResult<> loaded = LoadPictureFile(item, item.imagePath);
        return loaded ? QString() : loaded.error().message;
    };
    ports.reportPictureError = [this](const QString& message) {
        ShowStopMessage(m_context.request, message, &m_window);
    };
    ports.jitter = Jitter;
    return ports;
}

PropertiesPorts
EditingCommands::MakePropertiesPorts(std::function<void(const QString& surface)> editDimensions)
{
    PropertiesPorts ports;
    if (editDimensions) {
        ports.editDimensions = [this, edit = std::move(editDimensions)] {
            const CRichChild* selected = m_document.Selected();
            edit(selected && !selected->surface.isEmpty() ? selected->surface : m_document.currentSurface());
        };
    }
    ports.overlaps = [this] {
        const PrintOptions& options = m_context.settings.printOptions;
        return BackgroundOverlaps{options.firstNumber, options.secondNumber, options.thirdNumber};
    };
    ports.applyStocks = [this](LabelDesign& design, DiscPositionMode& mode) {
        ApplyStocks(design, m_catalogue, m_document.caseKind(), m_document.discMode(), mode);
        // The print options carry the disc position from one run to the next.
        PrintOptions& options = m_context.settings.printOptions;
        options.mode = static_cast<int>(mode);
        m_context.store.WriteSetting(u"String", QStringLiteral("PrintOptions"), FormatPrintOptions(options));
    };
    ports.duplicateDiscTip = [this] {
        m_context.tips.ShowTip(
            QStringLiteral(
                "This option creates a duplicate of the same disc on the same page.\r\n\r\nTo create two "
                "different discs on the same page you will need to\r\nstart with a Double Disc template. "
                "To change the template click\r\n'New' from the File menu."),
            tipDoubleDiscKey.toString());
    };
    ports.millimetres = [this] { return m_context.settings.units == u"Millimeters"; };
    ports.jitter = Jitter;
    ports.focusView = [this] { m_view.setFocus(); };
    ports.textSelection = [this] { return m_view.textEditor().GetSelection(); };
    ports.formatShown = [this] { m_colours.Update(); };
    return ports;
}

ColourPorts EditingCommands::MakeColourPorts()
{
    ColourPorts ports;
    ports.textSelection = [this] { return m_view.textEditor().GetSelection(); };
    ports.customColours = [this] { return m_context.settings.customColors; };
    ports.saveCustomColours = [this](const QString& colours) {
        m_context.settings.customColors = colours;
        m_context.store.WriteSetting(u"String", QStringLiteral("CustomColors"), colours);
    };
    ports.dialogPosition = [this] { return m_context.settings.colorDialogPosition; };
    ports.saveDialogPosition = [this](QPoint position) {
        m_context.settings.colorDialogPosition = position;
        m_context.store.WriteSetting(u"String", QStringLiteral("ColorDialog"), FormatPosition(position));
    };
    ports.focusView = [this] { m_view.setFocus(); };
    return ports;
}

void EditingCommands::RouteCommands()
{
    int number = 927;
    for (const auto& [command, kind] : kInsertCommands) {
        m_window.Route(command, [this, kind, number] {
            Guarded(number, [&] { m_insert.Insert(kind, m_view.ContextPoint()); });
            // The keyboard goes back to the label, where the new item is.
            m_view.setFocus();
        });
        ++number;
    }
    for (const auto& [command, horizontal] :
         {std::pair{Command::CenterHorizontally, true}, std::pair{Command::CenterVertically, false}}) {
        m_window.Route(command, [this, horizontal] {
            if (const CRichChild* selected = m_document.Selected())
                CentreOnSurface(m_document, selected->name, horizontal);
        });
    }
}

} // namespace tvl
