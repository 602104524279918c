#include "editing/text/InPlaceEditor.h"

#include "document/design/DesignDocument.h"
#include "document/design/TextEdits.h"
#include "document/model/TrackIndex.h"

#include <QKeyEvent>
#include <algorithm>

namespace tvl {

InPlaceEditor::InPlaceEditor(DesignDocument& document, InPlaceEditorPorts ports)
    : m_document(document)
    , m_ports(std::move(ports))
{
    m_idle.setSingleShot(true);
    m_idle.setInterval(0);
    QObject::connect(&m_idle, &QTimer::timeout, [this] { FlushPending(); });
}

const CRichChild* InPlaceEditor::Edited() const
{
    const CRichChild* selected = m_document.Selected();
    return selected && selected->IsTextual() && !selected->characters.empty() ? selected : nullptr;
}

TextRange InPlaceEditor::GetSelection() const
{
    const CRichChild* item = Edited();
    if (!item || item->name != m_item)
        return {};
    // An undo may have shortened the text since.
    const int last = static_cast<int>(item->characters.size()) - 1;
    return {std::min(m_selection.start, last), std::min(m_selection.end, last)};
}

void InPlaceEditor::SetSelection(int a, int b)
{
    const CRichChild* item = Edited();
    if (!item)
        return;
    const int last = static_cast<int>(item->characters.size()) - 1;
    m_item = item->name;
    m_selection = WidenSelection(*item, std::clamp(a, 0, last), std::clamp(b, 0, last));
    Changed();
}

void InPlaceEditor::PlaceCaret(QPoint window)
{
    FlushPending();
    if (!Edited())
        return;
    const int at = m_ports.charIndexAt(window);
    m_anchor = at;
    m_caretColumn = -1;
    SetSelection(at, at);
}

void InPlaceEditor::SelectTo(QPoint window)
{
    const CRichChild* item = Edited();
    if (!item || item->name != m_item)
        return;
    const int last = static_cast<int>(item->characters.size()) - 1;
    const int anchor = std::clamp(m_anchor, 0, last);
    const TextRange selection =
        WidenSelection(*item, anchor, std::clamp(m_ports.charIndexAt(window), 0, last));
    // The pointer moves over many pixels of one character; only a new selection is shown.
    if (selection == m_selection)
        return;
    m_selection = selection;
    Changed();
}

void InPlaceEditor::Restart()
{
    m_idle.stop();
    m_pending.clear();
    const CRichChild* item = Edited();
    m_item = item ? item->name : QString();
    m_selection = {};
    m_anchor = 0;
    m_caretColumn = -1;
    Changed();
}

void InPlaceEditor::Type(const QString& text)
{
    const CRichChild* item = Edited();
    if (!item || text.isEmpty())
        return;
    if (m_pending.isEmpty()) {
        m_pendingItem = item->name;
        m_pendingAt = GetSelection();
    }
    m_pending += text;
    m_idle.start();
}

void InPlaceEditor::FlushPending()
{
    m_idle.stop();
    if (m_pending.isEmpty())
        return;
    const QString text = std::exchange(m_pending, QString());
    const TextEditOutcome outcome =
        InsertText(m_document, m_pendingItem, m_pendingAt.start, m_pendingAt.end, text);
    if (outcome.changed && m_pendingItem == m_item) {
        m_selection = {outcome.caret, outcome.caret};
        m_anchor = outcome.caret;
        Changed();
    }
}

bool InPlaceEditor::HandleKey(const QKeyEvent& event)
{
    const CRichChild* item = Edited();
    if (!item)
        return false;
    if (item->name != m_item) {
        FlushPending();
        Restart();
    }
    const bool shift = event.modifiers() & Qt::ShiftModifier;
    const bool control = event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    switch (event.key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete: {
        FlushPending();
        const TextRange at = GetSelection();
        CaretAfter(event.key() == Qt::Key_Backspace ? DeleteText(m_document, m_item, at.start, at.end, true)
                                                    : DeleteForward(m_document, m_item, at.start, at.end));
        return true;
    }
    case Qt::Key_Left:
        Move(CaretKey::Left, shift);
        return true;
    case Qt::Key_Right:
        Move(CaretKey::Right, shift);
        return true;
    case Qt::Key_Home:
        Move(CaretKey::Home, shift);
        return true;
    case Qt::Key_End:
        Move(CaretKey::End, shift);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        MoveVertically(event.key() == Qt::Key_Down, shift);
        return true;
    case Qt::Key_Tab:
        Tab();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Type(QStringLiteral("\r"));
        return true;
    default:
        break;
    }
    if (control)
        return false;
    QString text = event.text();
    text.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    if (text.isEmpty())
        return false;
    Type(text);
    return true;
}

void InPlaceEditor::Move(CaretKey key, bool extend)
{
    FlushPending();
    const CRichChild* item = Edited();
    const TextRange at = GetSelection();
    m_caretColumn = -1;
    if (extend) {
        const int active = at.start == m_anchor ? at.end : at.start;
        const int moved = MoveCaret(*item, {active, active}, key);
        const int anchor = std::clamp(m_anchor, 0, static_cast<int>(item->characters.size()) - 1);
        SetSelection(anchor, moved);
        m_anchor = anchor;
        return;
    }
    const int caret = MoveCaret(*item, at, key);
    m_anchor = caret;
    SetSelection(caret, caret);
}

void InPlaceEditor::MoveVertically(bool down, bool extend)
{
    FlushPending();
    const TextRange at = GetSelection();
    const int active = extend && at.start == m_anchor ? at.end : at.start;
    const QRect cell = m_ports.cellRect(active);
    if (m_caretColumn < 0)
        m_caretColumn = cell.center().x();
    const int column = m_caretColumn;
    const int moved = m_ports.charIndexAt(QPoint(column, down ? cell.bottom() + 2 : cell.top() - 1));
    if (extend) {
        SetSelection(m_anchor, moved);
    } else {
        m_anchor = moved;
        SetSelection(moved, moved);
    }
    m_caretColumn = column;
}

void InPlaceEditor::Tab()
{
    FlushPending();
    const CRichChild* item = Edited();
    if (item->kind != ItemKind::Track)
        return;
    const std::vector<TrackCells> tracks = IndexTracks(*item);
    if (tracks.empty())
        return;
    const int end = GetSelection().end;
    for (size_t t = 0; t < tracks.size(); ++t) {
        const TrackCells& track = tracks[t];
        if (end < track.numberStart || end > track.timeEnd)
            continue;
        const TrackCells& next = tracks[(t + 1) % tracks.size()];
        const auto [start, stop] = end <= track.numberEnd  ? std::pair(next.numberStart, next.numberEnd)
                                   : end <= track.titleEnd ? std::pair(next.titleStart, next.titleEnd)
                                                           : std::pair(next.timeStart, next.timeEnd);
        m_anchor = start;
        SetSelection(start, stop);
        return;
    }
}

void InPlaceEditor::DeleteSelection()
{
    FlushPending();
    const CRichChild* item = Edited();
    const TextRange at = GetSelection();
    if (!item || at.start == at.end)
        return;
    m_item = item->name;
    CaretAfter(DeleteText(m_document, m_item, at.start, at.end, true));
}

void InPlaceEditor::InsertAtCaret(const QString& text)
{
    FlushPending();
    const CRichChild* item = Edited();
    if (!item || text.isEmpty())
        return;
    const TextRange at = GetSelection();
    m_item = item->name;
    CaretAfter(InsertText(m_document, m_item, at.start, at.end, text));
}

void InPlaceEditor::CaretAfter(const TextEditOutcome& outcome)
{
    if (!outcome.changed)
        return;
    m_selection = {outcome.caret, outcome.caret};
    m_anchor = outcome.caret;
    Changed();
    if (outcome.lostLastTrack && m_ports.lastTrackTip)
        QTimer::singleShot(100, [tip = m_ports.lastTrackTip] { tip(); });
}

void InPlaceEditor::Changed()
{
    if (m_ports.marksChanged)
        m_ports.marksChanged();
}

} // namespace tvl
