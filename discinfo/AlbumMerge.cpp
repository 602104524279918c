#include "discinfo/AlbumMerge.h"

#include <algorithm>

namespace tvl {

namespace {

constexpr QChar cellEnd = u'\b';
constexpr int cellsPerRow = 3;

QString Suffix(ImportDisc disc)
{
    switch (disc) {
    case ImportDisc::Single:
        break;
    case ImportDisc::Disc1:
        return QStringLiteral(" - Disc 1");
    case ImportDisc::Disc2:
        return QStringLiteral(" - Disc 2");
    }
    return {};
}

// Names of a record go to disc 2 only when disc 2 was chosen.
QString NameSuffix(ImportDisc disc)
{
    return disc == ImportDisc::Disc2 ? QStringLiteral(" - Disc 2") : QString();
}

} // namespace

QStringList SplitCells(const QString& value)
{
    QStringList cells;
    qsizetype start = 0;
    for (qsizetype end = value.indexOf(cellEnd); end >= 0; end = value.indexOf(cellEnd, start)) {
        cells.append(value.mid(start, end - start + 1));
        start = end + 1;
    }
    return cells;
}

QString CleanRecordText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    text.replace(cellEnd, u' ');
    text.replace(u'\t', u' ');
    return text;
}

QString TrackListKey(ImportDisc disc)
{
    return disc == ImportDisc::Disc2 ? QStringLiteral("Track List - Disc 2") : QStringLiteral("Track List");
}

AlbumFieldWrites TrackTimeWrites(const QString& trackList, const TrackLengthsResult& lengths, ImportDisc disc)
{
    const QString suffix = Suffix(disc);
    const QStringList cells = SplitCells(trackList);
    const qsizetype oldRows = cells.size() / cellsPerRow;
    QString rows;
    for (qsizetype i = 0; i < lengths.lengths.size(); ++i) {
        rows += QString::number(i + 1) + QStringLiteral(". \b");
        if (i < oldRows)
            rows += cells[i * cellsPerRow + 1];
        else
            rows += QStringLiteral("Track %1").arg(i + 1) + suffix + cellEnd;
        rows += lengths.lengths[i];
    }
    const QString total =
        QString::asprintf("%d:%.2d", lengths.totalSeconds / 60, lengths.totalSeconds % 60) + cellEnd;
    return {{QStringLiteral("Track List") + suffix, rows}, {QStringLiteral("Time") + suffix, total}};
}

AlbumFieldWrites RecordWrites(const DiscRecord& record, const QString& trackList, ImportDisc disc)
{
    const QString suffix = NameSuffix(disc);
    AlbumFieldWrites writes{
        {QStringLiteral("Artist") + suffix, CleanRecordText(record.artist) + cellEnd},
        {QStringLiteral("Title") + suffix, CleanRecordText(record.title) + cellEnd},
        {QStringLiteral("Genre") + suffix, CleanRecordText(record.genre) + cellEnd},
        {QStringLiteral("Year") + suffix,
         (record.year != 0 ? QString::number(record.year) : QString()) + cellEnd},
    };
    // A record that names no track (CD-TEXT with only artist and title) must not empty the list.
    if (record.trackTitles.isEmpty())
        return writes;
    const QStringList cells = SplitCells(trackList);
    const qsizetype rows = std::min(cells.size() / cellsPerRow, record.trackTitles.size());
    QString list;
    for (qsizetype i = 0; i < rows; ++i) {
        list += cells[i * cellsPerRow];
        list += CleanRecordText(record.trackTitles[i].trimmed()).trimmed() + cellEnd;
        list += cells[i * cellsPerRow + 2];
    }
    writes.emplace_back(TrackListKey(disc), list);
    return writes;
}

QString Mp3TrackListValue(const std::vector<Mp3Row>& rows)
{
    QString list;
    for (size_t i = 0; i < rows.size(); ++i)
        list += QString::number(i + 1) + QStringLiteral(". \b") + rows[i].name + QStringLiteral("\b ") +
                rows[i].time + cellEnd;
    return list;
}

} // namespace tvl
