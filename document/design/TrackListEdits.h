#pragma once

#include <QString>
#include <QStringView>

namespace tvl {

class DesignDocument;

// The track list album value as the Text Editor bar edits it: tracks of three cells (number, title, time),
// every cell ending with a terminator. Tracks and columns count from 1; column 1 is the number, 2 the
// title, 3 the time.

// A typed track count: its digits read with saturation, so a long string of digits is a large count
// rather than an overflowed one; no digits give 0.
int ParseTrackCount(QStringView typed);

// The value with count tracks: tracks beyond it cut off, new ones appended as "n. ", "Track n" with the
// disc suffix and " 0:nn". A count equal to the tracks there are changes nothing, even beyond 99 (an MP3
// import has no limit); any other count is kept within 1 … 99.
QString WithTrackCount(const QString& value, int count, const QString& discSuffix);

// The text a cell editor holds as cell characters: no terminators, CR LF and bare line feeds as "\r".
QString CellTextFromEditor(QStringView typed);

int TrackCount(const QString& value);
QString TrackCell(const QString& value, int track, int column);
// The value with one cell's characters replaced.
QString WithTrackCell(const QString& value, int track, int column, const QString& text);
// The value with the cells of one column of two tracks exchanged; the other cells stay.
QString WithCellsSwapped(const QString& value, int track, int otherTrack, int column);
// The value without one track; the others keep their texts, numbers included. A single track stays.
QString WithoutTrack(const QString& value, int track);

// The same as album edits of the field key, one undo step each; false when nothing changed.
bool SetTrackCount(DesignDocument& document, const QString& key, int count, const QString& discSuffix);
bool SetTrackCell(DesignDocument& document, const QString& key, int track, int column, QStringView typed);
bool MoveTrackCell(DesignDocument& document, const QString& key, int track, int column, bool down);
bool RemoveTrack(DesignDocument& document, const QString& key, int track);

} // namespace tvl
