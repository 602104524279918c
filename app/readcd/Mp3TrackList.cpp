#include "app/readcd/Mp3TrackList.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include <algorithm>

namespace tvl {

namespace {

const QString noTag = QStringLiteral("2");
const QString tagShown = QStringLiteral("1");
const QString fileNameShown = QStringLiteral("0");

} // namespace

Mp3TrackList::Mp3TrackList(QWidget* parent)
    : QTableWidget(0, 6, parent)
{
    setObjectName(QStringLiteral("Mp3TrackList"));
    setAccessibleName(QStringLiteral("MP3 Track Information"));
    setHorizontalHeaderLabels(
        {QString(), QStringLiteral("Use Tag"), QStringLiteral("Time"), QStringLiteral("Track Name"), {}, {}});
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setStretchLastSection(false);
    verticalHeader()->hide();
    setColumnHidden(StateColumn, true);
    setColumnHidden(AlternativeColumn, true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setTabKeyNavigation(false);
}

void Mp3TrackList::Fill(const QStringList& fileNames)
{
    setRowCount(static_cast<int>(fileNames.size()));
    for (int row = 0; row < rowCount(); ++row) {
        for (int column = 0; column < columnCount(); ++column) {
            auto* item = new QTableWidgetItem;
            item->setFlags(column == NameColumn
                               ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                               : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (column == NumberColumn || column == TimeColumn)
                item->setTextAlignment(Qt::AlignCenter);
            setItem(row, column, item);
        }
        SetText(row, NumberColumn, QString::number(row + 1));
        SetText(row, NameColumn, fileNames[row]);
        SetText(row, StateColumn, noTag);
        ShowTagState(row);
    }
    resizeColumnToContents(NumberColumn);
}

QString Mp3TrackList::Text(int row, Column column) const
{
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

void Mp3TrackList::SetText(int row, Column column, const QString& text)
{
    if (QTableWidgetItem* cell = item(row, column))
        cell->setText(text);
}

void Mp3TrackList::ShowTagState(int row)
{
    QTableWidgetItem* cell = item(row, UseTagColumn);
    if (!cell)
        return;
    const QString state = Text(row, StateColumn);
    cell->setCheckState(state == tagShown ? Qt::Checked : Qt::Unchecked);
    // A row without a tag name shows a grey box.
    cell->setFlags(state == noTag ? Qt::ItemIsSelectable : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
}

void Mp3TrackList::ApplyTagName(int row, const QString& tagName, bool useTag)
{
    if (row < 0 || row >= rowCount() || tagName.isEmpty())
        return;
    if (useTag) {
        SetText(row, AlternativeColumn, Text(row, NameColumn));
        SetText(row, NameColumn, tagName);
        SetText(row, StateColumn, tagShown);
    } else {
        SetText(row, AlternativeColumn, tagName);
        SetText(row, StateColumn, fileNameShown);
    }
    ShowTagState(row);
}

void Mp3TrackList::ApplyPlayTime(int row, const QString& time)
{
    SetText(row, TimeColumn, time);
}

void Mp3TrackList::ToggleTag(int row)
{
    const QString state = Text(row, StateColumn);
    if (row < 0 || row >= rowCount() || state == noTag)
        return;
    const QString name = Text(row, NameColumn);
    SetText(row, NameColumn, Text(row, AlternativeColumn));
    SetText(row, AlternativeColumn, name);
    SetText(row, StateColumn, state == tagShown ? fileNameShown : tagShown);
    ShowTagState(row);
}

void Mp3TrackList::HideEditor()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    if (auto* editor = viewport()->findChild<QLineEdit*>()) {
        commitData(editor);
        QTableWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void Mp3TrackList::MoveRows(bool up)
{
    HideEditor();
    int first = currentRow();
    int last = first;
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (!ranges.isEmpty()) {
        first = ranges.front().topRow();
        last = ranges.front().bottomRow();
    }
    if (first < 0)
        return;
    const int other = up ? first - 1 : last + 1;
    if (other < 0 || other >= rowCount())
        return;
    // The row beside the range takes the place at its other end; numbers stay where they are.
    QList<QTableWidgetItem*> saved;
    for (int column = UseTagColumn; column < columnCount(); ++column)
        saved.append(takeItem(other, column));
    const int step = up ? 1 : -1;
    for (int row = other; row != (up ? last : first); row += step) {
        for (int column = UseTagColumn; column < columnCount(); ++column)
            setItem(row, column, takeItem(row + step, column));
    }
    const int end = up ? last : first;
    for (int column = UseTagColumn; column < columnCount(); ++column)
        setItem(end, column, saved[column - UseTagColumn]);
    clearSelection();
    const int newFirst = first - step;
    const int newLast = last - step;
    setRangeSelected(QTableWidgetSelectionRange(newFirst, 0, newLast, columnCount() - 1), true);
    setCurrentCell(up ? newFirst : newLast, currentColumn() < 0 ? NameColumn : currentColumn(),
                   QItemSelectionModel::NoUpdate);
    scrollToItem(item(up ? newFirst : newLast, NumberColumn));
}

void Mp3TrackList::SortByName()
{
    HideEditor();
    struct Row
    {
        QString key;
        QList<QTableWidgetItem*> items;
    };
    std::vector<Row> rows;
    for (int row = 0; row < rowCount(); ++row) {
        Row taken{Text(row, NameColumn).toUpper(), {}};
        for (int column = UseTagColumn; column < columnCount(); ++column)
            taken.items.append(takeItem(row, column));
        rows.push_back(std::move(taken));
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.key < b.key; });
    for (int row = 0; row < rowCount(); ++row) {
        for (int column = UseTagColumn; column < columnCount(); ++column)
            setItem(row, column, rows[static_cast<size_t>(row)].items[column - UseTagColumn]);
        SetText(row, NumberColumn, QString::number(row + 1));
    }
    clearSelection();
    setCurrentItem(nullptr);
    lastColumn = -1;
}

void Mp3TrackList::FitColumns()
{
    resizeColumnToContents(NumberColumn);
    resizeColumnToContents(UseTagColumn);
    resizeColumnToContents(TimeColumn);
    resizeColumnToContents(NameColumn);
    int widest = columnWidth(NameColumn);
    for (int row = 0; row < rowCount(); ++row)
        widest = std::max(widest, fontMetrics().horizontalAdvance(Text(row, AlternativeColumn)) + 16);
    setColumnWidth(NameColumn, widest);
}

std::vector<Mp3Row> Mp3TrackList::Rows() const
{
    std::vector<Mp3Row> rows;
    for (int row = 0; row < rowCount(); ++row)
        rows.push_back({Text(row, NameColumn), Text(row, TimeColumn)});
    return rows;
}

void Mp3TrackList::Clicked(int row, int column)
{
    lastColumn = column;
    if (column == UseTagColumn)
        ToggleTag(row);
    else if (column == NameColumn)
        editItem(item(row, NameColumn));
}

void Mp3TrackList::mousePressEvent(QMouseEvent* event)
{
    if (!ready)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    QTableWidget::mousePressEvent(event);
    if (index.isValid() && event->button() == Qt::LeftButton)
        Clicked(index.row(), index.column());
}

void Mp3TrackList::MoveCurrent(int delta)
{
    if (rowCount() == 0)
        return;
    const int row = std::clamp(currentRow() + delta, 0, rowCount() - 1);
    setCurrentCell(row, lastColumn == NameColumn ? NameColumn : std::max(currentColumn(), 0));
    scrollToItem(item(row, NumberColumn));
    if (lastColumn == NameColumn)
        editItem(item(row, NameColumn));
}

void Mp3TrackList::keyPressEvent(QKeyEvent* event)
{
    if (!ready)
        return;
    switch (event->key()) {
    case Qt::Key_Up:
        MoveCurrent(-1);
        break;
    case Qt::Key_Down:
    case Qt::Key_Tab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter moves down the list and never closes the dialog from here.
        MoveCurrent(1);
        break;
    default:
        QTableWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void Mp3TrackList::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTableWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
    if (hint == QAbstractItemDelegate::SubmitModelCache || hint == QAbstractItemDelegate::EditNextItem)
        MoveCurrent(1);
    else if (hint == QAbstractItemDelegate::EditPreviousItem)
        MoveCurrent(-1);
}

} // namespace tvl
