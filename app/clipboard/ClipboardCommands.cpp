#include "app/clipboard/ClipboardCommands.h"

#include "app/AppContext.h"
#include "app/MainWindow.h"
#include "app/clipboard/ClipboardOffer.h"
#include "app/messages/AppMessageBox.h"
#include "app/messages/ErrorReport.h"
#include "app/messages/MessageRequest.h"
#include "document/clipboard/ClipboardEdits.h"
#include "document/clipboard/ClipboardItem.h"
#include "document/clipboard/ClipboardText.h"
#include "document/design/DesignDocument.h"
#include "editing/CMervo6View.h"
#include "images/CxImage.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QRandomGenerator>

namespace tvl {
namespace {

int Jitter()
{
    return static_cast<int>(QRandomGenerator::global()->bounded(1000));
}

class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

bool IsPicture(const CRichChild* item)
{
    return item && item->kind == ItemKind::Image;
}

} // namespace

ClipboardCommands::ClipboardCommands(MainWindow& window, DesignDocument& document, CMervo6View& view,
                                     AppContext& context)
    : m_window(window)
    , m_document(document)
    , m_view(view)
    , m_context(context)
{
    RouteCommands();
    m_view.installEventFilter(this);
    if (QMenu* edit = m_window.EditMenu())
        connect(edit, &QMenu::aboutToShow, this, [this] { NameCommands(true); });
    NameCommands(true);
}

void ClipboardCommands::RouteCommands()
{
    m_window.Route(Command::CopyText, [this] { Guarded(67, [&] { CopyText(); }); });
    m_window.Route(Command::CutText, [this] { Guarded(68, [&] { CutText(); }); });
    m_window.Route(Command::PasteText, [this] { Guarded(69, [&] { PasteText(); }); });
    m_window.Route(Command::CopyObject, [this] { Guarded(1074, [&] { CopyObject(); }); });
    m_window.Route(Command::CutObject, [this] { Guarded(1073, [&] { CutObject(); }); });
    m_window.Route(Command::PasteObject, [this] { Guarded(657, [&] { PasteObject(); }); });
    m_window.Route(Command::DeleteObject, [this] { Guarded(696, [&] { DeleteObject(); }); });
}

bool ClipboardCommands::CopyText()
{
    const CRichChild* item = m_view.textEditor().Edited();
    if (!item)
        return false;
    const TextRange selection = m_view.textEditor().GetSelection();
    const QString text = ClipboardTextOf(*item, selection.start, selection.end);
    return PlaceOnClipboard(TextForDesktop(text));
}

void ClipboardCommands::CutText()
{
    if (CopyText())
        m_view.textEditor().DeleteSelection();
}

void ClipboardCommands::PasteText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!m_view.textEditor().Edited() || !data || !data->hasText())
        return;
    m_view.textEditor().InsertAtCaret(TextFromClipboard(data->text()));
}

bool ClipboardCommands::CopyObject()
{
    const CRichChild* item = m_document.Selected();
    if (!item)
        return false;
    if (item->IsTextual()) {
        const QByteArray block = EncodeClipboardItem(*item);
        return !block.isEmpty() && PlaceOnClipboard(ItemForDesktop(block));
    }
    if (IsPicture(item) && item->image && item->image->IsValid()) {
        const WaitCursor wait;
        return PlacePictureOnClipboard(*item->image);
    }
    return false;
}

void ClipboardCommands::CutObject()
{
    // Nothing is deleted that the clipboard did not take.
    if (CopyObject())
        DeleteObject();
}

void ClipboardCommands::PasteObject()
{
    const std::optional<QPoint> at = m_view.ContextPoint();
    const WaitCursor wait;
    ClipboardOffer offer = ReadClipboardOffer(QGuiApplication::clipboard()->mimeData());
    switch (offer.kind) {
    case ClipboardOffer::Kind::Picture:
        PastePicture(m_document, std::move(offer.picture), at, Jitter);
        break;
    case ClipboardOffer::Kind::Item:
        PasteItem(m_document, std::move(offer.item), at, Jitter);
        break;
    case ClipboardOffer::Kind::None:
        if (!offer.error.isEmpty())
            ShowError(offer.error);
        break;
    }
}

void ClipboardCommands::DeleteObject()
{
    DeleteSelected(m_document);
}

void ClipboardCommands::NameCommands(bool inEditMenu)
{
    const bool picture = IsPicture(m_document.Selected());
    const auto name = [this](Command command, const char* text) {
        if (QAction* action = m_window.Action(command))
            action->setText(QString::fromUtf8(text));
    };
    name(Command::CopyText, inEditMenu ? "&Copy text" : "&Copy Text");
    name(Command::CutObject, picture ? "Cut &Image" : "Cut &Object");
    name(Command::CopyObject, picture ? "Copy I&mage" : "Copy O&bject");
    name(Command::DeleteObject, picture ? "&Delete Image" : "&Delete Object");
    name(Command::PasteObject,
         OffersPicture(QGuiApplication::clipboard()->mimeData()) ? "Paste Ima&ge" : "Paste Ob&ject");
}

std::optional<Command> ClipboardCommands::TextCommandForKey(int key) const
{
    const InPlaceEditor& editor = m_view.textEditor();
    if (!editor.Edited())
        return std::nullopt;
    const TextRange selection = editor.GetSelection();
    const bool selected = selection.start != selection.end;
    switch (key) {
    case Qt::Key_X:
        return selected ? std::optional(Command::CutText) : std::nullopt;
    case Qt::Key_C:
        return selected ? std::optional(Command::CopyText) : std::nullopt;
    case Qt::Key_V: {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        return data && !OffersPicture(data) && data->hasText() ? std::optional(Command::PasteText)
                                                               : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

bool ClipboardCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ContextMenu) {
        NameCommands(false);
        return false;
    }
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Delete && event->type() == QEvent::ShortcutOverride &&
        m_view.textEditor().Edited()) {
        // In a text being edited Delete removes characters, not the item.
        event->accept();
        return false;
    }
    if (key->modifiers() != Qt::ControlModifier)
        return false;
    const std::optional<Command> command = TextCommandForKey(key->key());
    if (!command)
        return false;
    // Taking the override keeps the window's object shortcuts away; the key press then runs the command.
    event->accept();
    if (event->type() == QEvent::KeyPress) {
        // The text commands taken from the keyboard skip the window's routing, which inserts pending
        // input first.
        m_view.FlushPendingInput();
        if (*command == Command::CutText)
            Guarded(68, [&] { CutText(); });
        else if (*command == Command::CopyText)
            Guarded(67, [&] { CopyText(); });
        else
            Guarded(69, [&] { PasteText(); });
    }
    return event->type() == QEvent::KeyPress;
}

void ClipboardCommands::ShowError(const QString& message)
{
    ShowStopMessage(m_context.request, message, &m_window);
}

} // namespace tvl
