#include "discinfo/CdText.h"

#include "CdTextPacks.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

using test::Pack;

CdTextAlbum Parse(const QByteArray& data, bool expected = true)
{
    CdTextAlbum album;
    EXPECT_EQ(ParseCdText(std::span(reinterpret_cast<const uint8_t*>(data.constData()),
                                    static_cast<size_t>(data.size())),
                          album),
              expected);
    return album;
}

TEST(CdTextTest, StringsContinueAcrossPacks)
{
    const CdTextAlbum album = Parse(test::CdTextPacks({
        Pack(0x80, 0, 0, "Album\0Song O"),
        Pack(0x80, 1, 1, "ne\0Song Two\0"),
    }));
    EXPECT_EQ(album.title, QStringLiteral("Album"));
    EXPECT_EQ(album.trackEntries.value(1), QStringLiteral("Song One"));
    EXPECT_EQ(album.trackEntries.value(2), QStringLiteral("Song Two"));
    EXPECT_EQ(album.trackEntries.size(), 3);
}

TEST(CdTextTest, PerformersOtherThanTheAlbumArtistPrefixTheTitle)
{
    const CdTextAlbum album = Parse(test::CdTextPacks({
        Pack(0x80, 0, 0, "Mix\0One\0Two\0"),
        Pack(0x80, 3, 1, "Tune\0"),
        Pack(0x81, 0, 2, "Band\0Band\0"),
        Pack(0x81, 2, 3, "\0Guest\0"),
    }));
    EXPECT_EQ(album.artist, QStringLiteral("Band"));
    EXPECT_EQ(album.trackEntries.value(1), QStringLiteral("One"));
    EXPECT_EQ(album.trackEntries.value(2), QStringLiteral("Two"));
    EXPECT_EQ(album.trackEntries.value(3), QStringLiteral("Guest / Tune"));
}

TEST(CdTextTest, OtherBlocksAndKindsAreSkippedAndSongwritersAdvanceTheTrack)
{
    const CdTextAlbum album = Parse(test::CdTextPacks({
        Pack(0x80, 0, 0, "Titel\0Lied\0", 1),
        Pack(0x82, 0, 1, "W\0Writer\0"),
        Pack(0x8F, 0, 2, "xxxxxxxxxxxx"),
        Pack(0x85, 0, 3, "Hello \0"),
        Pack(0x85, 1, 4, "world\0"),
        Pack(0x80, 0, 5, "Album\0"),
    }));
    EXPECT_EQ(album.title, QStringLiteral("Album"));
    EXPECT_EQ(album.message, QStringLiteral("Hello world"));
    for (const QString& entry : album.trackEntries)
        EXPECT_TRUE(entry.isEmpty()) << entry.toStdString();
}

TEST(CdTextTest, WalkEndsAtThePackOutOfSequence)
{
    const CdTextAlbum album = Parse(test::CdTextPacks({
        Pack(0x80, 0, 0, "A\0"),
        Pack(0x80, 1, 1, "B\0"),
        Pack(0x80, 2, 2, "C\0"),
        Pack(0x80, 3, 3, "D\0"),
        Pack(0x80, 4, 5, "E\0"),
        Pack(0x80, 5, 5, "F\0"),
    }));
    EXPECT_EQ(album.trackEntries.mid(0, 4),
              QStringList({QString(), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")}));
    EXPECT_FALSE(album.trackEntries.contains(QStringLiteral("E")));
    EXPECT_FALSE(album.trackEntries.contains(QStringLiteral("F")));
}

TEST(CdTextTest, NoTextGivesFalse)
{
    Parse(QByteArray(5000, '\0'), false);
    Parse(QByteArray(), false);
    Parse(test::CdTextPacks({Pack(0x85, 0, 0, "Only a note\0")}), false);
}

TEST(CdTextTest, OverlongStringsAreCut)
{
    QByteArray data = QByteArray(4, '\0');
    for (int k = 0; k < 30; ++k)
        data += Pack(0x80, 0, k, "abcdefghijkl");
    data += Pack(0x80, 0, 30, "\0");
    const CdTextAlbum album = Parse(data);
    EXPECT_EQ(album.title.size(), 255);
}

TEST(CdTextTest, ATruncatedPackIsNotRead)
{
    QByteArray data = test::CdTextPacks({Pack(0x80, 0, 0, "Album\0"), Pack(0x80, 1, 1, "Track\0")});
    data.chop(1);
    const CdTextAlbum album = Parse(data);
    EXPECT_EQ(album.title, QStringLiteral("Album"));
    EXPECT_FALSE(album.trackEntries.contains(QStringLiteral("Track")));
}

} // namespace
} // namespace tvl
