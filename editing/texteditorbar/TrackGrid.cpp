#include "editing/texteditorbar/TrackGrid.h"

#include "document/design/AlbumBarText.h"
#include "document/design/TrackListEdits.h"
#include "editing/texteditorbar/GrowingTextBox.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableWidget>
#include <QTextBlock>
#include <QToolButton>
#include <QVBoxLayout>

namespace tvl {
namespace {

constexpr int kTrackRole = Qt::UserRole;
constexpr int kMinimumGridHeight = 35;
constexpr int kTitleWidth = 100;

} // namespace

TrackGrid::TrackGrid(DesignDocument& document, QWidget* parent)
    : QWidget(parent)
    , m_document(document)
{
    m_table = new QTableWidget(0, 4, this);
    m_table->setAccessibleName(QStringLiteral("Track List"));
    m_table->setHorizontalHeaderLabels(
        {QString(), QStringLiteral("No."), QStringLiteral("Track Name"), QStringLiteral("Time")});
    m_table->setColumnHidden(0, true);
    m_table->setColumnWidth(2, kTitleWidth);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setAccessibleName(QStringLiteral("Track List Columns"));
    m_table->verticalHeader()->setAccessibleName(QStringLiteral("Track List Rows"));
    if (auto* corner = m_table->findChild<QAbstractButton*>())
        corner->setAccessibleName(QStringLiteral("Select All Tracks"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setMinimumHeight(kMinimumGridHeight);
    m_table->setTabKeyNavigation(false);
    m_table->viewport()->installEventFilter(this);
    m_table->installEventFilter(this);

    m_editor = new GrowingTextBox(m_table->viewport());
    m_editor->grows = false;
    m_editor->setAccessibleName(QStringLiteral("Track Cell"));
    m_editor->setFrameShape(QFrame::Box);
    m_editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_editor->hide();
    m_editor->installEventFilter(this);
    m_editor->onUndoKey = [this](bool redo) {
        if (onUndoKey)
            onUndoKey(redo);
    };
    m_editor->onFocusIn = [this] {
        if (onFocusIn)
            onFocusIn();
    };
    m_editor->onFocusOut = [this](QWidget* next) {
        if (next != m_remove && next != m_up && next != m_down && next != m_editor)
            CloseEditor();
    };
    connect(m_editor, &QPlainTextEdit::textChanged, this, [this] { CellEdited(); });
    connect(m_table->horizontalHeader(), &QHeaderView::sectionResized, this, [this] { PlaceEditor(); });
    connect(m_table->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { PlaceEditor(); });
    connect(m_table->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { PlaceEditor(); });

    m_remove = NewButton("remove-track", QStringLiteral("Remove Track"));
    m_up = NewButton("move-up", QStringLiteral("Move Up"));
    m_down = NewButton("move-down", QStringLiteral("Move Down"));
    connect(m_remove, &QToolButton::clicked, this, [this] { Remove(); });
    connect(m_up, &QToolButton::clicked, this, [this] { Move(false); });
    connect(m_down, &QToolButton::clicked, this, [this] { Move(true); });

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    for (QToolButton* button : {m_remove, m_up, m_down})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
}

QToolButton* TrackGrid::NewButton(const char* icon, const QString& tip)
{
    auto* button = new QToolButton(this);
    button->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1StringView(icon))));
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    button->setFixedSize(43, 31);
    button->setEnabled(false);
    return button;
}

void TrackGrid::Show(const QString& value)
{
    if (value == m_shown)
        return;
    m_shown = value;
    const std::vector<TrackGridRow> rows = TrackGridRows(value);
    m_table->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        for (int column = 0; column < 4; ++column) {
            QTableWidgetItem* cell = m_table->item(row, column);
            if (!cell) {
                cell = new QTableWidgetItem;
                m_table->setItem(row, column, cell);
            }
            if (column == 0)
                cell->setData(kTrackRole, rows[row].track);
            else if (cell->text() != rows[row].lines[column - 1])
                cell->setText(rows[row].lines[column - 1]);
        }
    }
    if (m_track == 0)
        return MarkCurrentTrack();
    const int tracks = TrackCount(value);
    if (tracks == 0)
        return CloseEditor();
    m_track = std::min(m_track, tracks);
    MarkCurrentTrack();
    const QString cell = TrackCell(value, m_track, m_column);
    if (CellTextFromEditor(m_editor->toPlainText()) != cell) {
        m_filling = true;
        m_editor->setPlainText(BoxTextFromValue(cell));
        m_editor->moveCursor(QTextCursor::End);
        m_filling = false;
    }
    PlaceEditor();
}

int TrackGrid::TrackAt(int row) const
{
    const QTableWidgetItem* cell = m_table->item(row, 0);
    return cell ? cell->data(kTrackRole).toInt() : 0;
}

int TrackGrid::FirstRow(int track) const
{
    for (int row = 0; row < m_table->rowCount(); ++row) {
        if (TrackAt(row) == track)
            return row;
    }
    return -1;
}

int TrackGrid::RowCount(int track) const
{
    int count = 0;
    for (int row = std::max(0, FirstRow(track)); row < m_table->rowCount() && TrackAt(row) == track; ++row)
        ++count;
    return count;
}

void TrackGrid::MarkCurrentTrack()
{
    const QPalette& palette = m_table->palette();
    for (int row = 0; row < m_table->rowCount(); ++row) {
        const bool current = TrackAt(row) == m_track;
        for (int column = 1; column < 4; ++column) {
            if (QTableWidgetItem* cell = m_table->item(row, column)) {
                cell->setBackground(current ? palette.highlight() : QBrush());
                cell->setForeground(current ? palette.highlightedText() : QBrush());
            }
        }
    }
}

void TrackGrid::EditCell(int track, int column)
{
    const int first = FirstRow(track);
    if (first < 0 || column < 1 || column > 3)
        return;
    m_track = track;
    m_column = column;
    MarkCurrentTrack();
    m_filling = true;
    m_editor->setPlainText(BoxTextFromValue(TrackCell(m_shown, track, column)));
    m_filling = false;
    m_table->scrollToItem(m_table->item(first, column));
    PlaceEditor();
    m_editor->show();
    m_editor->setFocus(Qt::OtherFocusReason);
    for (QToolButton* button : {m_remove, m_up, m_down})
        button->setEnabled(true);
}

void TrackGrid::PlaceEditor()
{
    if (m_track == 0)
        return;
    const int first = FirstRow(m_track);
    if (first < 0)
        return;
    const QRect top = m_table->visualRect(m_table->model()->index(first, m_column));
    const QRect bottom =
        m_table->visualRect(m_table->model()->index(first + RowCount(m_track) - 1, m_column));
    m_editor->setGeometry(top.united(bottom));
}

void TrackGrid::CloseEditor()
{
    m_editor->hide();
    m_track = 0;
    m_column = 0;
    MarkCurrentTrack();
    for (QToolButton* button : {m_remove, m_up, m_down})
        button->setEnabled(false);
}

void TrackGrid::CellEdited()
{
    if (m_filling || m_track == 0)
        return;
    const QString typed = m_editor->toPlainText();
    // A terminator would split the cell and shift every later cell of the list.
    if (typed.contains(QChar(0x08))) {
        const int caret = m_editor->textCursor().position();
        const int before = static_cast<int>(typed.left(caret).count(QChar(0x08)));
        m_filling = true;
        m_editor->setPlainText(QString(typed).remove(QChar(0x08)));
        QTextCursor cursor = m_editor->textCursor();
        cursor.setPosition(caret - before);
        m_editor->setTextCursor(cursor);
        m_filling = false;
    }
    SetTrackCell(m_document, m_key, m_track, m_column, typed);
}

bool TrackGrid::MoveKey(int key)
{
    const int tracks = TrackCount(m_shown);
    if (tracks == 0)
        return false;
    if (key == Qt::Key_Tab) {
        EditCell(m_track % tracks + 1, m_column);
        m_editor->selectAll();
        return true;
    }
    const bool down = key == Qt::Key_Down;
    QTextCursor probe = m_editor->textCursor();
    if (probe.movePosition(down ? QTextCursor::Down : QTextCursor::Up))
        return false;
    const int next = m_track + (down ? 1 : -1);
    if (next < 1 || next > tracks)
        return false;
    const int x = m_editor->cursorRect().center().x();
    EditCell(next, m_column);
    QTextCursor line = m_editor->textCursor();
    line.movePosition(down ? QTextCursor::Start : QTextCursor::End);
    const int y = m_editor->cursorRect(line).center().y();
    m_editor->setTextCursor(m_editor->cursorForPosition(QPoint(x, y)));
    return true;
}

void TrackGrid::Move(bool down)
{
    if (m_track == 0)
        return;
    const int track = m_track;
    const int column = m_column;
    if (!MoveTrackCell(m_document, m_key, track, column, down))
        return;
    EditCell(track + (down ? 1 : -1), column);
}

void TrackGrid::Remove()
{
    if (m_track == 0)
        return;
    const int column = m_column;
    if (!RemoveTrack(m_document, m_key, m_track))
        return;
    EditCell(std::min(m_track, TrackCount(m_shown)), column);
}

bool TrackGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_editor && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier))
            return false;
        if (key->key() == Qt::Key_Escape) {
            m_table->setCurrentCell(FirstRow(m_track), m_column);
            m_table->setFocus(Qt::OtherFocusReason);
            return true;
        }
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)
            return MoveKey(key->key());
        return false;
    }
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F2) {
            const int row = std::max(0, m_table->currentRow());
            EditCell(TrackAt(row), std::max(1, m_table->currentColumn()));
            return true;
        }
        return false;
    }
    if (watched == m_table->viewport() && event->type() == QEvent::MouseButtonPress) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        const QModelIndex index = m_table->indexAt(at);
        if (!index.isValid() || index.column() < 1)
            return false;
        EditCell(TrackAt(index.row()), index.column());
        m_editor->setTextCursor(
            m_editor->cursorForPosition(m_editor->viewport()->mapFrom(m_table->viewport(), at)));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tvl
