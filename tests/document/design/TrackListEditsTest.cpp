#include "document/design/TrackListEdits.h"
#include "document/design/DesignDocument.h"
#include "tests/document/design/SampleDocument.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

QString Tracks(int count)
{
    QString value;
    for (int n = 1; n <= count; ++n)
        value += QStringLiteral("%1. \bSong %1\b 3:%2\b").arg(n).arg(n, 2, 10, QLatin1Char('0'));
    return value;
}

TEST(TrackListEdits, TheCountAppendsCutsAndStaysWithinItsRange)
{
    const QString seven = Tracks(7);
    const QString nine = WithTrackCount(seven, 9, QString());
    EXPECT_EQ(nine, seven + QStringLiteral("8. \bTrack 8\b 0:08\b9. \bTrack 9\b 0:09\b"));
    EXPECT_EQ(WithTrackCount(nine, 3, QString()), Tracks(3));
    EXPECT_EQ(WithTrackCount(seven, 0, QString()), Tracks(1));
    EXPECT_EQ(TrackCount(WithTrackCount(seven, 150, QString())), 99);
    EXPECT_EQ(TrackCell(WithTrackCount(Tracks(11), 12, QStringLiteral(" - Disc 2")), 12, 2),
              QStringLiteral("Track 12 - Disc 2"));
    // An imported list of 150 tracks keeps them all when the count shown is applied unchanged.
    EXPECT_EQ(WithTrackCount(Tracks(150), ParseTrackCount(u"150"), QString()), Tracks(150));

    EXPECT_EQ(ParseTrackCount(u"99999999999999999999"), std::numeric_limits<int>::max());
    EXPECT_EQ(TrackCount(WithTrackCount(seven, ParseTrackCount(u"99999999999999999999"), QString())), 99);
    EXPECT_EQ(ParseTrackCount(u""), 0);
}

TEST(TrackListEdits, CellsMoveAndTracksGoWithoutTouchingTheOthers)
{
    const QString three = Tracks(3);
    EXPECT_EQ(WithCellsSwapped(three, 2, 3, 2),
              QStringLiteral("1. \bSong 1\b 3:01\b2. \bSong 3\b 3:02\b3. \bSong 2\b 3:03\b"));
    EXPECT_EQ(WithoutTrack(three, 2), QStringLiteral("1. \bSong 1\b 3:01\b3. \bSong 3\b 3:03\b"));
    EXPECT_EQ(WithoutTrack(Tracks(1), 1), Tracks(1)) << "the only track stays";
    // A pasted terminator would shift every later cell; line feeds become line breaks.
    EXPECT_EQ(WithTrackCell(three, 1, 2, QStringLiteral("A\bB\r\nC\nD")),
              QStringLiteral("1. \bAB\rC\rD\b 3:01\b2. \bSong 2\b 3:02\b3. \bSong 3\b 3:03\b"));
}

TEST(TrackListEdits, EachChangeIsOneAlbumEditThatUndoGivesBack)
{
    DesignDocument document;
    LoadSampleDesign(document);
    const QString key = QStringLiteral("Track List");
    const QString before = document.design().LinkedAlbumText(key);

    EXPECT_TRUE(MoveTrackCell(document, key, 1, 2, true));
    EXPECT_FALSE(MoveTrackCell(document, key, 2, 2, true)) << "not below the last track";
    EXPECT_TRUE(SetTrackCount(document, key, 3, QString()));
    EXPECT_FALSE(SetTrackCount(document, key, 3, QString()));
    EXPECT_TRUE(RemoveTrack(document, key, 2));
    EXPECT_TRUE(SetTrackCell(document, key, 1, 3, u" 9:99"));
    EXPECT_EQ(document.design().LinkedAlbumText(key),
              QStringLiteral("1. \bSecond\b 9:99\b3. \bTrack 3\b 0:03\b"));
    EXPECT_EQ(document.design().FindItem(u"Track List(1)")->Text(), document.design().LinkedAlbumText(key));
    EXPECT_EQ(document.history().stepCount(), 4);
    for (int i = 0; i < 4; ++i)
        document.Undo();
    EXPECT_EQ(document.design().LinkedAlbumText(key), before);
}

} // namespace
} // namespace tvl
