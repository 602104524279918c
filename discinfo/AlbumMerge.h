#pragma once

#include "discinfo/DiscId.h"
#include "discinfo/DiscRecord.h"

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace tvl {

// Album field writes in the order they are made: key ("Track List - Disc 2" …) and value (ending "\b").
using AlbumFieldWrites = std::vector<std::pair<QString, QString>>;

// Where read album data goes: a single-disc design, or disc 1 or 2 of a double one.
enum class ImportDisc
{
    Single,
    Disc1,
    Disc2,
};

// The cells of an album value, each with its terminator "\b"; text after the last terminator is dropped.
QStringList SplitCells(const QString& value);

// Artist, title, genre and track titles as a design stores them: "\r\n" becomes "\r", and the cell
// terminator and tabs become blanks.
QString CleanRecordText(QString text);

// The disc's track times written over trackList (the current value of the disc's track list): each row
// keeps its title, new rows are titled "Track N" (with " - Disc N" in a double design), rows beyond the
// disc's tracks go; then the total time.
AlbumFieldWrites TrackTimeWrites(const QString& trackList, const TrackLengthsResult& lengths,
                                 ImportDisc disc);

// A record's artist, title, genre and year, and its track titles put into the rows of trackList (the
// track list after the times were written). Rows beyond the record's titles go, titles beyond the rows
// are ignored; a record without any track title leaves the track list as it is.
AlbumFieldWrites RecordWrites(const DiscRecord& record, const QString& trackList, ImportDisc disc);

// Every write of one import: the track times, then the record when there is one. field gives the current
// value of an album field by key.
template <typename FieldReader>
AlbumFieldWrites PlanAlbumImport(const FieldReader& field, const TrackLengthsResult& lengths,
                                 const DiscRecord* record, ImportDisc disc);

// One MP3 row as the dialog's list shows it.
struct Mp3Row
{
    QString name;
    QString time;
};

// The track list of an MP3 disc: number, name and time per row, in list order.
QString Mp3TrackListValue(const std::vector<Mp3Row>& rows);

// "Track List" for a single design or disc 1, "Track List - Disc 2" for disc 2.
QString TrackListKey(ImportDisc disc);

template <typename FieldReader>
AlbumFieldWrites PlanAlbumImport(const FieldReader& field, const TrackLengthsResult& lengths,
                                 const DiscRecord* record, ImportDisc disc)
{
    AlbumFieldWrites writes = TrackTimeWrites(field(TrackListKey(disc)), lengths, disc);
    if (record) {
        const AlbumFieldWrites names = RecordWrites(*record, writes.front().second, disc);
        writes.insert(writes.end(), names.begin(), names.end());
    }
    return writes;
}

} // namespace tvl
