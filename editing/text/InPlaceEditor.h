#pragma once

#include "document/design/TextEdits.h"
#include "editing/text/TextCaret.h"

#include <QRect>
#include <QString>
#include <QTimer>
#include <functional>

class QKeyEvent;

namespace tvl {

class CRichChild;
class DesignDocument;

// What the editor needs from the view it lives in.
struct InPlaceEditorPorts
{
    // The character at a window point of the edited item.
    std::function<int(QPoint)> charIndexAt;
    // A character's line cell in window pixels.
    std::function<QRect(int)> cellRect;
    // The caret or selection changed: the view repaints the marks (nothing is rendered again).
    std::function<void()> marksChanged;
    // A track list lost its last track.
    std::function<void()> lastTrackTip;
};

// Edits the characters of the selected "Text" or "Track" item in place: a caret or selection, keys, and
// typed text that collects as pending input and goes in at idle as one undo step. Pending input belongs
// to the item and place it was typed at, and goes in before anything else acts on the design.
class InPlaceEditor
{
public:
    InPlaceEditor(DesignDocument& document, InPlaceEditorPorts ports);

    // The edited item: the selected item when it has text; null otherwise.
    const CRichChild* Edited() const;
    TextRange GetSelection() const;
    // Orders and widens a selection (track lists select whole cells across cells).
    void SetSelection(int a, int b);
    // Places the caret at a window point of the edited item (a click).
    void PlaceCaret(QPoint window);
    // Selects from where the caret was placed to the character at a window point (dragging the mouse).
    void SelectTo(QPoint window);
    // The selection moved to another item or the design was replaced: a fresh caret at the start, and
    // input still pending is dropped (flush it first to keep it).
    void Restart();

    // Keys while a text is edited; false for keys the view handles itself.
    bool HandleKey(const QKeyEvent& event);
    // Text from a keyboard or input method.
    void Type(const QString& text);
    // Inserts the pending input now, as one undo step.
    void FlushPending();
    // The clipboard's edits, each one undo step: the selection goes (with whole tracks), or text goes in
    // at the caret in place of the selection.
    void DeleteSelection();
    void InsertAtCaret(const QString& text);
    bool HasPending() const { return !m_pending.isEmpty(); }

private:
    void Move(CaretKey key, bool extend);
    void MoveVertically(bool down, bool extend);
    void Tab();
    void Changed();
    void CaretAfter(const TextEditOutcome& outcome);

    DesignDocument& m_document;
    InPlaceEditorPorts m_ports;
    QString m_item;
    TextRange m_selection;
    int m_anchor = 0;
    int m_caretColumn = -1;
    QString m_pending;
    QString m_pendingItem;
    TextRange m_pendingAt;
    QTimer m_idle;
};

} // namespace tvl
