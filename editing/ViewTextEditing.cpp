// The label view's side of editing text in place: where the edited item's characters lie in the window,
// the caret and selected cells drawn by inversion over the bitmaps, and the input method.
#include "editing/CMervo6View.h"

#include "document/design/DesignDocument.h"
#include "document/model/TrackIndex.h"
#include "editing/text/TextHitTest.h"
#include "render/text/LayoutTextItem.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <algorithm>

namespace tvl {
namespace {

// Text typed a moment ago goes into the item it was typed in before a press on any control (a tool bar
// button, a menu, another bar) or a shortcut acts on the design.
class PendingInputGuard final : public QObject
{
public:
    explicit PendingInputGuard(InPlaceEditor& editor)
        : m_editor(editor)
    {
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::TabletPress:
        case QEvent::TouchBegin:
        case QEvent::Shortcut:
            if (m_editor.HasPending())
                m_editor.FlushPending();
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    InPlaceEditor& m_editor;
};

} // namespace

void CMervo6View::GuardPendingInput()
{
    m_pendingInputGuard = std::make_unique<PendingInputGuard>(m_editor);
    if (QCoreApplication* application = QCoreApplication::instance())
        application->installEventFilter(m_pendingInputGuard.get());
}

InPlaceEditorPorts CMervo6View::EditorPorts()
{
    InPlaceEditorPorts ports;
    ports.charIndexAt = [this](QPoint window) { return TextCharIndexAt(window); };
    ports.cellRect = [this](int index) {
        const std::vector<QRect> cells = TextCellWindowRects();
        return index >= 0 && static_cast<size_t>(index) < cells.size() ? cells[static_cast<size_t>(index)]
                                                                       : QRect();
    };
    ports.marksChanged = [this] {
        TextMarksChanged();
        if (m_caretListener)
            m_caretListener();
    };
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
    std::optional<TitleColumn> table;
    if (item->kind == ItemKind::Track && item->textLayout() == u"Table Format")
        table = TableTitleColumn(cells, item->characters, item->angle());
    return CharIndexAt(cells, item->characters, item->angle(), window, table);
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

QRegion CMervo6View::TrackCellMarksRegion() const
{
    QRegion marks;
    const CRichChild* item = m_editor.Edited();
    if (!item || item->kind != ItemKind::Track || item->surface != m_geometry.currentSurface())
        return marks;
    const std::vector<QRect> cells = TextCellWindowRects();
    const std::vector<TrackCells> tracks = IndexTracks(*item);
    const int end = m_editor.GetSelection().end;
    const auto holding = std::find_if(tracks.begin(), tracks.end(), [end](const TrackCells& track) {
        return end >= track.numberStart && end <= track.timeEnd;
    });
    if (holding == tracks.end())
        return marks;
    // The first and last character, in a track, of the kind of cell (number, title, time) the end is in.
    const auto range = [end, &holding](const TrackCells& track) {
        return end <= holding->numberEnd  ? std::pair(track.numberStart, track.numberEnd)
               : end <= holding->titleEnd ? std::pair(track.titleStart, track.titleEnd)
                                          : std::pair(track.timeStart, track.timeEnd);
    };
    const auto unite = [&cells](QRect& box, int from, int to) {
        for (int i = from; i <= to && static_cast<size_t>(i) < cells.size(); ++i) {
            if (!cells[static_cast<size_t>(i)].isEmpty())
                box |= cells[static_cast<size_t>(i)];
        }
    };
    const auto [from, to] = range(*holding);
    QRect cell;
    unite(cell, from, to);
    if (cell.isEmpty())
        return marks;
    // Lines just outside a rectangle's edges: before and after it along x, or along y.
    const auto acrossX = [&marks](const QRect& box, int top, int height) {
        marks += QRect(box.left() - 1, top, 1, height);
        marks += QRect(box.left() + box.width(), top, 1, height);
    };
    const auto acrossY = [&marks](const QRect& box, int left, int width) {
        marks += QRect(left, box.top() - 1, width, 1);
        marks += QRect(left, box.top() + box.height(), width, 1);
    };
    if (item->textLayout() != u"Table Format") {
        acrossX(cell, cell.top() - 1, cell.height() + 2);
        acrossY(cell, cell.left() - 1, cell.width() + 2);
        return marks;
    }
    // The cell's column over every track, across the whole table; the track's row across the item.
    QRect column;
    for (const TrackCells& track : tracks) {
        const auto [start, stop] = range(track);
        unite(column, start, stop);
    }
    QRect row;
    unite(row, holding->numberStart, holding->timeEnd);
    const QRect table = m_geometry.GetItemWindowRect(*item, true).toQRect();
    const QString& angle = item->angle();
    if (angle == u"90 degrees" || angle == u"270 degrees") {
        acrossY(column, table.left(), table.width());
        acrossX(row, table.top(), table.height());
    } else {
        acrossX(column, table.top(), table.height());
        acrossY(row, table.left(), table.width());
    }
    return marks;
}

void CMervo6View::TextMarksChanged()
{
    const QRegion marks = TextMarksRegion();
    const QRegion cellMarks = TrackCellMarksRegion();
    if (marks == m_textMarks && cellMarks == m_cellMarks)
        return;
    viewport()->update(marks + m_textMarks + cellMarks + m_cellMarks);
    m_textMarks = marks;
    m_cellMarks = cellMarks;
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
