#pragma once

#include <QString>
#include <QWidget>
#include <functional>

class QTableWidget;
class QToolButton;

namespace tvl {

class DesignDocument;
class GrowingTextBox;

// The track list of the Text Editor bar: a grid of number, title and time cells, a track taking as many
// rows as its tallest cell has lines; a text box floats over the current cell and edits it, and the
// Remove Track, Move Up and Move Down buttons act on it. Every change is one album edit of the key.
class TrackGrid final : public QWidget
{
public:
    TrackGrid(DesignDocument& document, QWidget* parent = nullptr);

    void SetKey(const QString& key) { m_key = key; }
    // Shows a track list value; unchanged cells and the cell being edited stay as they are.
    void Show(const QString& value);

    // Makes a cell current (tracks from 1; column 1 number, 2 title, 3 time) and edits it.
    void EditCell(int track, int column);
    int currentTrack() const { return m_track; }
    int currentColumn() const { return m_column; }
    QTableWidget& table() { return *m_table; }
    GrowingTextBox& cellEditor() { return *m_editor; }

    std::function<void(bool redo)> onUndoKey;
    std::function<void()> onFocusIn;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* NewButton(const char* icon, const QString& tip);
    void PlaceEditor();
    void CloseEditor();
    void CellEdited();
    // The editor's keys that move between cells; true when taken.
    bool MoveKey(int key);
    void Move(bool down);
    void Remove();
    void MarkCurrentTrack();
    int FirstRow(int track) const;
    int RowCount(int track) const;
    int TrackAt(int row) const;

    DesignDocument& m_document;
    QString m_key;
    QString m_shown;
    QTableWidget* m_table = nullptr;
    GrowingTextBox* m_editor = nullptr;
    QToolButton* m_remove = nullptr;
    QToolButton* m_up = nullptr;
    QToolButton* m_down = nullptr;
    int m_track = 0;
    int m_column = 0;
    bool m_filling = false;
};

} // namespace tvl
