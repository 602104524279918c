#include "app/session/LabelPaperCommands.h"

#include "app/MainWindow.h"
#include "app/export/ExportDialog.h"
#include "app/messages/AppMessageBox.h"
#include "app/messages/ErrorReport.h"
#include "app/messages/MessageRequest.h"
#include "app/paper/ChangeLabelPaperDialog.h"
#include "app/paper/LabelAlignmentWizardDialog.h"
#include "app/settings/AppSettings.h"
#include "app/settings/SettingsStore.h"
#include "document/commands/DefaultDesigns.h"
#include "document/commands/DesignFileCommands.h"
#include "document/design/DesignDocument.h"
#include "document/model/SurfaceNames.h"
#include "editing/CMervo6View.h"
#include "stock/ApplyStocks.h"
#include "stock/StockCatalogue.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

namespace tvl {

LabelPaperCommands::LabelPaperCommands(MainWindow& window, DesignDocument& document, CMervo6View& view,
                                       StockCatalogue& catalogue, DesignFileCommands& commands,
                                       SettingsStore& store, AppSettings& settings, MessageRequest& request,
                                       QString programFolder)
    : m_window(window)
    , m_document(document)
    , m_view(view)
    , m_catalogue(catalogue)
    , m_commands(commands)
    , m_store(store)
    , m_settings(settings)
    , m_request(request)
    , m_programFolder(std::move(programFolder))
{
    m_window.Route(Command::ChangeLabelPaper, [this] { Guarded(286, [&] { ChangeLabelPaper(); }); });
    m_window.Route(Command::ExportLabelToImage, [this] { Guarded(1024, [&] { ExportLabel(); }); });
}

void LabelPaperCommands::ChangeLabelPaper()
{
    ChangeLabelPaperDialog dialog(m_catalogue, *this, &m_window);
    dialog.exec();
}

void LabelPaperCommands::EditStock(int index, bool firstSheet, QWidget* parent)
{
    Guarded(528, [&] {
        LabelAlignmentWizardDialog wizard(m_catalogue, *this, index, false, firstSheet, parent);
        wizard.exec();
    });
}

void LabelPaperCommands::EditDimensions(const QString& surface)
{
    if (IsDiscSurfaceName(surface)) {
        EditStock(m_catalogue.currentDisc(), true, &m_window);
        return;
    }
    const CLabelDim& caseStock = m_catalogue.CaseStock();
    const bool ownSheet = surface == kBackCover && !caseStock.LabelTwoOnFirstSheet();
    EditStock(m_catalogue.currentCase(), !ownSheet, &m_window);
}

void LabelPaperCommands::ExportLabel()
{
    const CRichChild* selected = m_document.Selected();
    ExportDialogSetup setup;
    setup.caseKind = m_document.caseKind();
    setup.doubleDisc = m_document.IsDouble();
    setup.units = Units();
    setup.defaultLabel =
        DefaultExportLabel(selected != nullptr, selected ? QStringView(selected->surface) : QStringView(),
                           m_document.currentSurface());
    setup.settingsPath = QDir(m_programFolder).filePath(QString::fromLatin1(ExportSettings::kFileName));
    setup.ask = [this](const QString& text, const QString& buttons) { return Ask(text, buttons); };
    setup.chooseFile = [this](const QString& proposed, const QString& filter) -> std::optional<QString> {
        const QString path =
            QFileDialog::getSaveFileName(&m_window, QStringLiteral("Save Image"), proposed, filter);
        if (path.isEmpty())
            return std::nullopt;
        return path;
    };
    ExportDialog dialog(m_document.design(), std::move(setup), &m_window);
    dialog.exec();
}

QString LabelPaperCommands::CaseKind() const
{
    return m_document.caseKind();
}

bool LabelPaperCommands::QuerySaveChanges()
{
    return m_commands.QuerySaveChanges();
}

void LabelPaperCommands::OpenDefaultDesign(const QString& caseKind)
{
    m_document.file().title = DefaultDesignName(m_document.discMode(), caseKind);
    m_commands.LoadDefaultDesign();
    m_window.ShowDocumentTitle(m_document.file().title);
}

void LabelPaperCommands::ApplyStocks()
{
    Guarded(117, [&] {
        const QString caseKind = m_document.caseKind();
        const QString discMode = m_document.discMode();
        m_document.ApplyStocks([&](LabelDesign& design, DiscPositionMode& position) {
            tvl::ApplyStocks(design, m_catalogue, caseKind, discMode, position);
        });
        m_view.SetStocks(m_catalogue.DiscStock(), m_catalogue.CaseStock());
        m_view.Redraw(nullptr, true);
    });
}

int LabelPaperCommands::Ask(const QString& text, const QString& buttons)
{
    m_request.text = text;
    m_request.iconKind = buttons == u"OK`" ? 1 : 2;
    m_request.buttons = buttons;
    m_request.showCheckBox = false;
    return ShowAppMessageBox(m_request, QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                                          : &m_window);
}

LengthUnits LabelPaperCommands::Units() const
{
    return UnitsFromSetting(m_settings.units);
}

void LabelPaperCommands::SetUnits(LengthUnits units)
{
    m_settings.units =
        units == LengthUnits::Millimeters ? QStringLiteral("Millimeters") : QStringLiteral("Inches");
    m_store.WriteSetting(u"String", QStringLiteral("Units"), m_settings.units);
    m_view.viewport()->update();
}

} // namespace tvl
