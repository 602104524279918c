// The label view's side of editing text in place: where the edited item's characters lie in the window,
// the caret and selected cells drawn by inversion over the bitmaps, and the input method.
#include "editing/CMervo6View.h"

#include "document/design/DesignDocument.h"
#include "editing/text/TextHitTest.h"
#include "render/text/LayoutTextItem.h"

#include <QInputMethodEvent>

namespace tvl {

InPlaceEditorPorts CMervo6View::EditorPorts()
{
    InPlaceEditorPorts ports;
    ports.charIndexAt = [this](QPoint window) { return TextCharIndexAt(window); };
    ports.cellRect = [this](int index) {
        const std::vector<QRect> cells = TextCellWindowRects();
        return index >= 0 && static_cast<size_t>(index) < cells.size() ? cells[static_cast<size_t>(index)]
                                                                       : QRect();
    };
    ports.marksChanged = [this] { TextMarksChanged(); };
    ports.lastTrackTip = [this] {
        if (m_lastTrackTip)
            m_lastTrackTip();
    };
    return ports;
}

std::vector<QRect> CMervo6View::TextCellWindowRects() const
{
    std::vector<QRect> cells;
    const CRichChild* item = m_editor.Edited();
    if (!item || !m_created)
        return cells;
    const CRichChild* surface = m_document.design().FindCover(item->surface);
    const std::shared_ptr<const ItemLayout> layout = LayoutTextItem(*item, m_document.design());
    if (!surface || !layout)
        return cells;
    cells.reserve(layout->lineCells.size());
    for (EdgeRect cell : layout->lineCells) {
        cell.translate(surface->left(), surface->top());
        cells.push_back(m_geometry.PageToDevice(cell, true, true).toQRect());
    }
    return cells;
}

int CMervo6View::TextCharIndexAt(QPoint window) const
{
    const CRichChild* item = m_editor.Edited();
    if (!item)
        return 0;
    std::vector<EdgeRect> cells;
    for (const QRect& cell : TextCellWindowRects())
        cells.push_back({cell.left(), cell.top(), cell.left() + cell.width(), cell.top() + cell.height()});
    return CharIndexAt(cells, item->characters, item->angle(), window);
}

QRegion CMervo6View::TextMarksRegion() const
{
    QRegion marks;
    const CRichChild* item = m_editor.Edited();
    if (!item || item->surface != m_geometry.currentSurface())
        return marks;
    const std::vector<QRect> cells = TextCellWindowRects();
    const TextRange selection = m_editor.GetSelection();
    if (selection.start != selection.end) {
        for (int i = selection.start; i < selection.end && static_cast<size_t>(i) < cells.size(); ++i)
            marks += cells[static_cast<size_t>(i)];
        return marks;
    }
    if (static_cast<size_t>(selection.start) >= cells.size())
        return marks;
    // A two-pixel bar at the reading-start edge of the character after the caret.
    const QRect c = cells[static_cast<size_t>(selection.start)];
    const int l = c.left();
    const int t = c.top();
    const int r = c.left() + c.width();
    const int b = c.top() + c.height();
    const QString& angle = item->angle();
    if (angle == u"180 degrees")
        marks += QRect(QPoint(r - 2, t - 1), QPoint(r - 1, b - 1));
    else if (angle == u"90 degrees")
        marks += QRect(QPoint(l + 1, b - 2), QPoint(r - 1, b - 1));
    else if (angle == u"270 degrees")
        marks += QRect(QPoint(l - 1, t), QPoint(r - 1, t + 1));
    else
        marks += QRect(QPoint(l, t + 1), QPoint(l + 1, b - 1));
    return marks;
}

void CMervo6View::TextMarksChanged()
{
    const QRegion marks = TextMarksRegion();
    if (marks == m_textMarks)
        return;
    viewport()->update(marks + m_textMarks);
    m_textMarks = marks;
    m_caretOn = true;
    const TextRange selection = m_editor.GetSelection();
    if (!marks.isEmpty() && selection.start == selection.end)
        m_caretTimer.start();
    else
        m_caretTimer.stop();
}

void CMervo6View::inputMethodEvent(QInputMethodEvent* event)
{
    if (!m_editor.Edited()) {
        QAbstractScrollArea::inputMethodEvent(event);
        return;
    }
    m_editor.Type(event->commitString());
    event->accept();
}

QVariant CMervo6View::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImEnabled)
        return m_editor.Edited() != nullptr;
    if (query == Qt::ImCursorRectangle)
        return m_textMarks.boundingRect();
    return QAbstractScrollArea::inputMethodQuery(query);
}

void CMervo6View::focusOutEvent(QFocusEvent* event)
{
    m_editor.FlushPending();
    QAbstractScrollArea::focusOutEvent(event);
}

bool CMervo6View::focusNextPrevChild(bool next)
{
    // Tab moves between the cells of a track list being edited.
    if (m_editor.Edited())
        return false;
    return QAbstractScrollArea::focusNextPrevChild(next);
}

} // namespace tvl
