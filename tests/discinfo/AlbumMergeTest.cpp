#include "discinfo/AlbumMerge.h"

#include <gtest/gtest.h>

#include <QHash>

namespace tvl {
namespace {

// Track 1 at 0:02:00, track 2 at 3:10:20, lead-out at 6:00:00: lengths 3:08 and 2:49.
TrackLengthsResult TwoTracks()
{
    return TrackLengths(DiscToc::FromText(QStringLiteral("150 14270 27000")).value());
}

QString Rows(std::initializer_list<std::pair<const char*, const char*>> rows)
{
    QString list;
    int number = 1;
    for (const auto& [title, time] : rows)
        list += QStringLiteral("%1. \b%2\b%3\b")
                    .arg(number++)
                    .arg(QLatin1StringView(title), QLatin1StringView(time));
    return list;
}

// The design's album fields before and after a plan, by key.
struct Fields
{
    QHash<QString, QString> values;
    QString operator()(const QString& key) const { return values.value(key); }
    void Apply(const AlbumFieldWrites& writes)
    {
        for (const auto& [key, value] : writes)
            values[key == u"Track List - Disc 1" || key == u"Time - Disc 1" ? key.left(key.size() - 9)
                                                                            : key] = value;
    }
};

TEST(AlbumMergeTest, TrackTimesKeepTitlesAndDropRowsBeyondTheDisc)
{
    const AlbumFieldWrites writes = TrackTimeWrites(
        Rows({{"Intro", " 1:00"}, {"Song", " 2:00"}, {"Outro", " 3:00"}}), TwoTracks(), ImportDisc::Single);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].first, QStringLiteral("Track List"));
    EXPECT_EQ(writes[0].second, Rows({{"Intro", " 3:08"}, {"Song", " 2:49"}}));
    EXPECT_EQ(writes[1], std::pair(QStringLiteral("Time"), QStringLiteral("5:58\b")));
}

TEST(AlbumMergeTest, NewRowsAreNamedByTrackAndDisc)
{
    const struct
    {
        ImportDisc disc;
        const char* listKey;
        const char* timeKey;
        const char* firstTitle;
    } cases[] = {
        {ImportDisc::Single, "Track List", "Time", "Track 1"},
        {ImportDisc::Disc1, "Track List - Disc 1", "Time - Disc 1", "Track 1 - Disc 1"},
        {ImportDisc::Disc2, "Track List - Disc 2", "Time - Disc 2", "Track 1 - Disc 2"},
    };
    for (const auto& c : cases) {
        const AlbumFieldWrites writes = TrackTimeWrites(QString(), TwoTracks(), c.disc);
        EXPECT_EQ(writes[0].first, QLatin1StringView(c.listKey));
        EXPECT_EQ(writes[1].first, QLatin1StringView(c.timeKey));
        const QStringList cells = SplitCells(writes[0].second);
        ASSERT_EQ(cells.size(), 6);
        EXPECT_EQ(cells[1], QLatin1StringView(c.firstTitle) + u'\b');
        EXPECT_EQ(cells[5], QStringLiteral(" 2:49\b"));
    }
}

TEST(AlbumMergeTest, RecordNamesGoIntoTheRowsJustWritten)
{
    DiscRecord record;
    record.artist = QStringLiteral("The\tBand");
    record.title = QStringLiteral("Line\r\nTwo\b");
    record.genre = QStringLiteral("Rock");
    record.year = 0;
    record.trackTitles = {QStringLiteral("  First\tSong "), QStringLiteral("Second"),
                          QStringLiteral("Third")};
    Fields fields;
    fields.Apply(PlanAlbumImport(fields, TwoTracks(), &record, ImportDisc::Single));
    EXPECT_EQ(fields(QStringLiteral("Artist")), QStringLiteral("The Band\b"));
    EXPECT_EQ(fields(QStringLiteral("Title")), QStringLiteral("Line\rTwo \b"));
    EXPECT_EQ(fields(QStringLiteral("Year")), QStringLiteral("\b"));
    // Titles beyond the disc's two rows are ignored; a tab in a title becomes a blank.
    EXPECT_EQ(fields(QStringLiteral("Track List")), Rows({{"First Song", " 3:08"}, {"Second", " 2:49"}}));
    EXPECT_EQ(fields(QStringLiteral("Time")), QStringLiteral("5:58\b"));
}

TEST(AlbumMergeTest, TenTitlesOnTwelveRowsLeaveTenRows)
{
    QString twelve;
    for (int i = 1; i <= 12; ++i)
        twelve += QStringLiteral("%1. \bOld %1\b 1:00\b").arg(i);
    DiscRecord record;
    for (int i = 1; i <= 10; ++i)
        record.trackTitles.append(QStringLiteral("New %1").arg(i));
    record.year = 1999;
    const AlbumFieldWrites writes = RecordWrites(record, twelve, ImportDisc::Single);
    EXPECT_EQ(writes[3], std::pair(QStringLiteral("Year"), QStringLiteral("1999\b")));
    ASSERT_EQ(writes.back().first, QStringLiteral("Track List"));
    const QStringList cells = SplitCells(writes.back().second);
    ASSERT_EQ(cells.size(), 30);
    EXPECT_EQ(cells[27], QStringLiteral("10. \b"));
    EXPECT_EQ(cells[28], QStringLiteral("New 10\b"));
}

TEST(AlbumMergeTest, ARecordWithoutTitlesKeepsTheTrackList)
{
    DiscRecord record;
    record.artist = QStringLiteral("Artist");
    record.title = QStringLiteral("Album");
    Fields fields;
    fields.values[QStringLiteral("Track List")] = Rows({{"Kept", " 9:00"}});
    fields.Apply(PlanAlbumImport(fields, TwoTracks(), &record, ImportDisc::Single));
    EXPECT_EQ(fields(QStringLiteral("Track List")), Rows({{"Kept", " 3:08"}, {"Track 2", " 2:49"}}));
    EXPECT_EQ(fields(QStringLiteral("Artist")), QStringLiteral("Artist\b"));
}

TEST(AlbumMergeTest, DiscTwoNamesGoToDiscTwoFields)
{
    DiscRecord record;
    record.artist = QStringLiteral("A");
    record.trackTitles = {QStringLiteral("One"), QStringLiteral("Two")};
    Fields fields;
    fields.values[QStringLiteral("Track List")] = Rows({{"Disc one", " 1:00"}});
    fields.Apply(PlanAlbumImport(fields, TwoTracks(), &record, ImportDisc::Disc2));
    EXPECT_EQ(fields(QStringLiteral("Artist - Disc 2")), QStringLiteral("A\b"));
    EXPECT_EQ(fields(QStringLiteral("Track List - Disc 2")), Rows({{"One", " 3:08"}, {"Two", " 2:49"}}));
    EXPECT_EQ(fields(QStringLiteral("Time - Disc 2")), QStringLiteral("5:58\b"));
    EXPECT_EQ(fields(QStringLiteral("Track List")), Rows({{"Disc one", " 1:00"}}));
    EXPECT_FALSE(fields.values.contains(QStringLiteral("Artist")));
}

TEST(AlbumMergeTest, EnhancedDiscCountsOnlyItsAudioTracks)
{
    // Two audio tracks, then a data track: the second audio track ends 150 seconds before it.
    const TrackLengthsResult lengths =
        TrackLengths(DiscToc::FromText(QStringLiteral("150 14270 d40000 60000")).value());
    const AlbumFieldWrites writes = TrackTimeWrites(QString(), lengths, ImportDisc::Single);
    EXPECT_EQ(SplitCells(writes[0].second).size(), 6);
}

TEST(AlbumMergeTest, Mp3RowsBecomeCells)
{
    EXPECT_EQ(Mp3TrackListValue(
                  {{QStringLiteral("A Song"), QStringLiteral("3:45")}, {QStringLiteral("B"), QString()}}),
              QStringLiteral("1. \bA Song\b 3:45\b2. \bB\b \b"));
}

} // namespace
} // namespace tvl
