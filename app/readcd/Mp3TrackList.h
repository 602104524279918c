#pragma once

#include "discinfo/AlbumMerge.h"

#include <QTableWidget>

namespace tvl {

// The editable list of an MP3 disc's rows ("MP3 Track Information"): the row number, "Use Tag", "Time",
// "Track Name", and two hidden columns with the tag state and the alternative name. A row's tag state is
// "2" without a tag name, "1" when "Track Name" shows the tag name (the file name is the alternative),
// "0" when it shows the file name (the tag name is the alternative). Row numbers never move.
class Mp3TrackList final : public QTableWidget
{
public:
    enum Column
    {
        NumberColumn,
        UseTagColumn,
        TimeColumn,
        NameColumn,
        StateColumn,
        AlternativeColumn,
    };

    explicit Mp3TrackList(QWidget* parent = nullptr);

    // One row per file, named by its file name, in state "2".
    void Fill(const QStringList& fileNames);
    // With useTag the tag name goes into "Track Name" (state "1"), else into the alternative (state "0").
    void ApplyTagName(int row, const QString& tagName, bool useTag);
    void ApplyPlayTime(int row, const QString& time);
    // Swaps the two names of a row with a tag name; a row without one stays as it is.
    void ToggleTag(int row);
    // Moves the selected rows (or the current row) one up or down, past the row beside them.
    void MoveRows(bool up);
    // Sorts by "Track Name" without regard to case (equal names keep their order) and renumbers.
    void SortByName();
    // Clicks and keys act only once reading has finished.
    void SetReady(bool ready) { this->ready = ready; }
    // Sizes "Time" and "Track Name" to their contents, wide enough for every alternative name.
    void FitColumns();

    QString Text(int row, Column column) const;
    std::vector<Mp3Row> Rows() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void SetText(int row, Column column, const QString& text);
    // Writes an open in-place editor's text into its cell and closes it.
    void HideEditor();
    void ShowTagState(int row);
    void MoveCurrent(int delta);
    void Clicked(int row, int column);

    bool ready = false;
    int lastColumn = -1;
};

} // namespace tvl
