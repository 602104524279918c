#include "app/imagesbar/ImagesBarSession.h"

#include "app/AppContext.h"
#include "app/MainWindow.h"
#include "app/clipboard/ClipboardOffer.h"
#include "app/imagesbar/ClipboardPicture.h"
#include "app/imagesbar/ImageCells.h"
#include "app/imagesbar/ImageSearchDialog.h"
#include "app/imagesbar/ImagesBarWidget.h"
#include "app/imagesbar/PictureDrop.h"
#include "app/messages/AppMessageBox.h"
#include "app/messages/MessageRequest.h"
#include "app/messages/Tips.h"
#include "app/settings/AppSettings.h"
#include "app/settings/SettingsStore.h"
#include "document/design/DesignDocument.h"
#include "document/design/EditScope.h"
#include "document/design/InsertEdits.h"
#include "document/design/ItemEdits.h"
#include "document/model/SurfaceNames.h"
#include "editing/CMervo6View.h"
#include "images/CxImage.h"
#include "render/picture/LoadPictureFile.h"
#include "render/picture/PlaceBackground.h"

#include <QAction>
#include <QDockWidget>
#include <QGuiApplication>
#include <QImageReader>
#include <QMenu>
#include <QPushButton>
#include <QRegion>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace tvl {
namespace {

const QString kImageTip = QStringLiteral(
    "There are two ways to add an image to the label:\r\n\r\n1. You can drag and drop an image from the "
    "toolbar to the label.\r\n2. You can double click an image to set it as the background.");

} // namespace

ImagesBarSession::ImagesBarSession(MainWindow& window, DesignDocument& document, CMervo6View& view,
                                   AppContext& context)
    : m_window(window)
    , m_document(document)
    , m_view(view)
    , m_context(context)
{
    ImagesBarPorts ports;
    ports.pressTip = [this] { return m_context.tips.ShowTip(kImageTip, tipImageKey.toString()); };
    ports.setBackground = [this](const QString& path) { SetBackground(path); };
    ports.removeBackground = [this] { RemoveBackground(); };
    ports.contextMenu = [this](const QString& path, QPoint global) { ShowImageMenu(path, global); };
    ports.setCaption = [this](const QString& caption) { m_window.ImagesBar()->setWindowTitle(caption); };
    auto* panel = new QWidget(window.ImagesBar());
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* search = new QPushButton(QStringLiteral("Image Search"), panel);
    QObject::connect(search, &QPushButton::clicked, search, [this] { OpenSearch(); });
    layout->addWidget(search);
    m_bar = new ImagesBarWidget(std::move(ports), panel);
    layout->addWidget(m_bar, 1);
    window.ImagesBar()->setWidget(panel);

    new PictureDrop(view.viewport(), [this](const QString& path, QPoint at, bool background) {
        DropPicture(path, at, background);
    });

    QString folder = context.store.String(QStringLiteral("BrowseDefaultPath")).value_or(QString());
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const int filter = context.store.Number(QStringLiteral("BrowseFilter")).value_or(0);
    const bool subfolders = context.store.Number(QStringLiteral("BrowseSubfolder")).value_or(0) != 0;
    m_bar->Browse(folder, ImageFilterPatterns(filter), subfolders);
}

bool ImagesBarSession::DropPicture(const QString& path, QPoint window, bool background)
{
    if (!m_document.HasDesign())
        return false;
    // The picture lands where the dragged outline lay: its thumbnail's size centred on the pointer.
    const QSize outline = ThumbnailSize(QImageReader(path).size());
    const QRect pixels(window - QPoint(outline.width() / 2, outline.height() / 2), outline);
    if (!InDropArea(pixels))
        return false;
    const QPoint topLeft = m_view.geometry().WindowToPage(pixels.topLeft());
    const QPoint bottomRight = m_view.geometry().WindowToPage(pixels.bottomRight() + QPoint(1, 1));
    const bool inserted = InsertPicture(path, QRect(topLeft, bottomRight - QPoint(1, 1)), background);
    m_view.setFocus();
    return inserted;
}

bool ImagesBarSession::InDropArea(const QRect& pixels) const
{
    // The surfaces of the sheet on screen: rectangles for covers, circles for discs; the second disc only
    // where the design uses it.
    for (const auto& item : m_document.design().itemList) {
        if (item->kind != ItemKind::Cover || item->pageCode != m_document.currentPageCode())
            continue;
        if (item->name == kDisc2 && !UsesTwoDiscs(m_document))
            continue;
        const EdgeRect r = m_view.geometry().GetItemWindowRect(*item, true);
        const QRect surface(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
        if (!surface.intersects(pixels))
            continue;
        if (!IsDiscSurfaceName(item->name))
            return true;
        QRegion disc(surface, QRegion::Ellipse);
        if (disc.intersects(pixels))
            return true;
    }
    return false;
}

bool ImagesBarSession::SetBackground(const QString& path)
{
    const CRichChild* cover = m_document.design().FindCover(m_document.currentSurface());
    if (!cover)
        return false;
    QRect area = cover->Rect();
    // A folded front cover takes the picture on its front half only.
    if (cover->name == kFrontCover && cover->coverFolded != 0)
        area.setLeft(area.left() + area.width() / 2);
    return InsertPicture(path, area, true);
}

bool ImagesBarSession::RemoveBackground()
{
    const QString surface = m_document.currentSurface();
    QStringList backgrounds;
    for (const auto& item : m_document.design().itemList) {
        if (item->kind == ItemKind::Image && item->surface == surface && item->bBackground() != 0)
            backgrounds.append(item->name);
    }
    if (backgrounds.isEmpty())
        return false;
    EditScope scope(m_document, EditKind::DeleteItem);
    for (const QString& name : std::as_const(backgrounds))
        m_document.DeleteItem(name);
    return true;
}

bool ImagesBarSession::InsertPicture(const QString& path, const QRect& rect, bool background)
{
    QString error;
    const auto load = [&](CRichChild& item) {
        const FileResult<> loaded = LoadPictureFile(item, item.imagePath);
        if (!loaded)
            error = loaded.error().message;
        return bool(loaded);
    };
    const auto makeBackground = [this](CRichChild& picture) {
        return SetAsBackground(m_document, picture.name, [this](LabelDesign& design, CRichChild& item) {
            const PrintOptions& options = m_context.settings.printOptions;
            return PlaceBackground(design, item,
                                   {options.firstNumber, options.secondNumber, options.thirdNumber},
                                   m_document.caseKind());
        });
    };
    if (CreatePictureItem(m_document, rect, path, load, background, makeBackground))
        return true;
    if (!error.isEmpty())
        ReportPictureError(error);
    return false;
}

ImageSearchDialog* ImagesBarSession::OpenSearch()
{
    if (!m_search) {
        m_search = new ImageSearchDialog(
            m_bar->browser(), m_context.store,
            [this](const QString& folder, const QString& patterns, bool subfolders) {
                m_bar->Browse(folder, patterns, subfolders);
            },
            &m_window);
        m_search->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_search->show();
    m_search->raise();
    m_search->activateWindow();
    return m_search;
}

bool ImagesBarSession::CopyImage(const QString& path)
{
    QString error;
    CxImage picture;
    if (!ClipboardPicture(path, picture, error)) {
        ReportPictureError(error);
        return false;
    }
    return PlacePictureOnClipboard(picture);
}

void ImagesBarSession::ShowImageMenu(const QString& path, QPoint global)
{
    m_window.UpdateCommandStates();
    QMenu menu(&m_window);
    QMenu* insert = menu.addMenu(QStringLiteral("Insert"));
    for (const Command command :
         {Command::InsertArtist, Command::InsertTitle, Command::InsertTrack, Command::InsertYear,
          Command::InsertTotalTime, Command::InsertGenre, Command::InsertText, Command::InsertImage}) {
        if (QAction* action = m_window.Action(command))
            insert->addAction(action);
    }
    const auto add = [&](Command command) {
        if (QAction* action = m_window.Action(command))
            menu.addAction(action);
    };
    add(Command::Undo);
    add(Command::Redo);
    menu.addSeparator();
    add(Command::CutText);
    add(Command::CopyText);
    add(Command::PasteText);
    menu.addSeparator();
    add(Command::CutObject);
    menu.addAction(QStringLiteral("Copy Image"), [this, path] { CopyImage(path); });
    add(Command::PasteObject);
    add(Command::DeleteObject);
    menu.exec(global);
}

void ImagesBarSession::ReportPictureError(const QString& message)
{
    ShowStopMessage(m_context.request, message, &m_window);
}

} // namespace tvl
