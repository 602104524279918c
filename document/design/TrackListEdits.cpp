#include "document/design/TrackListEdits.h"

#include "document/design/DesignDocument.h"

#include <QStringList>
#include <limits>

namespace tvl {
namespace {

constexpr QChar kTerminator(0x08);
constexpr int kMaxTracks = 99;

// The cells of a value, without their terminators; a trailing part without one is dropped.
QStringList Cells(const QString& value)
{
    QStringList cells = value.split(kTerminator);
    cells.removeLast();
    return cells;
}

QString Join(const QStringList& cells)
{
    QString value;
    for (const QString& cell : cells)
        value += cell + kTerminator;
    return value;
}

bool ValidCell(const QStringList& cells, int track, int column)
{
    return track >= 1 && column >= 1 && column <= 3 && (track - 1) * 3 + column <= cells.size() / 3 * 3;
}

qsizetype CellIndex(int track, int column)
{
    return static_cast<qsizetype>(track - 1) * 3 + column - 1;
}

bool SetIfChanged(DesignDocument& document, const QString& key, const QString& value)
{
    if (value == document.design().LinkedAlbumText(key))
        return false;
    return document.SetAlbumField(key, value);
}

} // namespace

int ParseTrackCount(QStringView typed)
{
    long long count = 0;
    for (const QChar c : typed) {
        if (!c.isDigit())
            continue;
        count = std::min<long long>(count * 10 + c.digitValue(), std::numeric_limits<int>::max());
    }
    return static_cast<int>(count);
}

QString WithTrackCount(const QString& value, int count, const QString& discSuffix)
{
    const QStringList cells = Cells(value);
    const int tracks = static_cast<int>(cells.size() / 3);
    if (count == tracks)
        return value;
    count = std::clamp(count, 1, kMaxTracks);
    if (count == tracks)
        return value;
    if (count < tracks)
        return Join(cells.mid(0, static_cast<qsizetype>(count) * 3));
    QString grown = Join(cells.mid(0, static_cast<qsizetype>(tracks) * 3));
    for (int n = tracks + 1; n <= count; ++n)
        grown += QStringLiteral("%1. \bTrack %1%2\b 0:%3\b")
                     .arg(n)
                     .arg(discSuffix)
                     .arg(n, 2, 10, QLatin1Char('0'));
    return grown;
}

QString CellTextFromEditor(QStringView typed)
{
    QString text = typed.toString();
    text.remove(kTerminator);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    text.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    return text;
}

int TrackCount(const QString& value)
{
    return static_cast<int>(Cells(value).size() / 3);
}

QString TrackCell(const QString& value, int track, int column)
{
    const QStringList cells = Cells(value);
    return ValidCell(cells, track, column) ? cells[CellIndex(track, column)] : QString();
}

QString WithTrackCell(const QString& value, int track, int column, const QString& text)
{
    QStringList cells = Cells(value);
    if (!ValidCell(cells, track, column))
        return value;
    cells[CellIndex(track, column)] = CellTextFromEditor(text);
    return Join(cells);
}

QString WithCellsSwapped(const QString& value, int track, int otherTrack, int column)
{
    QStringList cells = Cells(value);
    if (!ValidCell(cells, track, column) || !ValidCell(cells, otherTrack, column))
        return value;
    cells.swapItemsAt(CellIndex(track, column), CellIndex(otherTrack, column));
    return Join(cells);
}

QString WithoutTrack(const QString& value, int track)
{
    QStringList cells = Cells(value);
    if (cells.size() / 3 <= 1 || !ValidCell(cells, track, 1))
        return value;
    cells.remove(CellIndex(track, 1), 3);
    return Join(cells);
}

bool SetTrackCount(DesignDocument& document, const QString& key, int count, const QString& discSuffix)
{
    return SetIfChanged(document, key,
                        WithTrackCount(document.design().LinkedAlbumText(key), count, discSuffix));
}

bool SetTrackCell(DesignDocument& document, const QString& key, int track, int column, QStringView typed)
{
    return SetIfChanged(
        document, key,
        WithTrackCell(document.design().LinkedAlbumText(key), track, column, typed.toString()));
}

bool MoveTrackCell(DesignDocument& document, const QString& key, int track, int column, bool down)
{
    const QString value = document.design().LinkedAlbumText(key);
    const int other = down ? track + 1 : track - 1;
    if (other < 1 || other > TrackCount(value))
        return false;
    return SetIfChanged(document, key, WithCellsSwapped(value, track, other, column));
}

bool RemoveTrack(DesignDocument& document, const QString& key, int track)
{
    return SetIfChanged(document, key, WithoutTrack(document.design().LinkedAlbumText(key), track));
}

} // namespace tvl
