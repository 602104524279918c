#include "discinfo/CdPlayerFile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <chrono>

#include <sys/stat.h>

namespace tvl {
namespace {

DiscToc Toc(const char* text)
{
    return DiscToc::FromText(QString::fromLatin1(text)).value();
}

// Track 1 at 0:02:00, track 2 at 3:10:20, lead-out at 6:00:00.
const char* const twoTracks = "150 14270 27000";

TEST(CdPlayerFileTest, Keys)
{
    const struct
    {
        const char* toc;
        uint32_t key;
    } cases[] = {
        {twoTracks, 0x374F6},
        {"160 14270 27000", 0x37500},       // track 1 at 0:02:10
        {"150 13500", 0x3626},              // one track, lead-out at 3:00:00
        {"150 14270 22577 40500", 0x80D16}, // three tracks, nothing added
    };
    for (const auto& c : cases)
        EXPECT_EQ(CdPlayerKey(Toc(c.toc)), c.key) << c.toc;
    EXPECT_EQ(CdPlayerSectionHeader(Toc(twoTracks)), QStringLiteral("[374F6]"));
}

std::optional<DiscRecord> Read(const QByteArray& text)
{
    return ReadCdPlayerText(Toc(twoTracks), text);
}

TEST(CdPlayerFileTest, ReadsTheDiscSection)
{
    const auto record = Read("artist=Wrong\n"
                             "[11111]\n"
                             "artist=Other\n"
                             "[374f6]\r\n"
                             "EntryType=1\r\n"
                             "  artist=First  \r\n"
                             "artist= Band\t\r\n"
                             "title=Album\r\n"
                             "numtracks=4\r\n"
                             "0=One\r\n"
                             "1=Two \r\n"
                             "3=Four\r\n"
                             "4=Five\r\n"
                             "[374F6]\n"
                             "title=Later\n");
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->artist, QStringLiteral(" Band"));
    EXPECT_EQ(record->title, QStringLiteral("Album"));
    EXPECT_EQ(record->trackTitles, QStringList({QStringLiteral("One"), QStringLiteral("Two")}));
    EXPECT_EQ(record->source, QStringLiteral("CDPlayer.ini"));
    EXPECT_EQ(record->year, 0);
}

TEST(CdPlayerFileTest, TracksBeyondNineUseThreeCharacterKeys)
{
    QByteArray text = "[374F6]\n";
    for (int i = 0; i < 12; ++i)
        text += QByteArray::number(i) + "=T" + QByteArray::number(i) + '\n';
    const auto record = Read(text);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->trackTitles.size(), 12);
    EXPECT_EQ(record->trackTitles.last(), QStringLiteral("T11"));
}

TEST(CdPlayerFileTest, EdgesOfTheFile)
{
    const auto lastLineLost = Read("[374F6]\nartist=A\n0=Kept\n1=Lost");
    ASSERT_TRUE(lastLineLost.has_value());
    EXPECT_EQ(lastLineLost->trackTitles, QStringList{QStringLiteral("Kept")});

    const auto empty = Read("[374F6]\n");
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->artist.isEmpty());
    EXPECT_TRUE(empty->trackTitles.isEmpty());

    EXPECT_FALSE(Read("[374F6]").has_value()); // the header line has no line feed
    EXPECT_FALSE(Read("[374F7]\nartist=A\n").has_value());
    EXPECT_FALSE(Read("").has_value());

    const auto latin1 = Read("[374F6]\nartist=Caf\xe9\n");
    ASSERT_TRUE(latin1.has_value());
    EXPECT_EQ(latin1->artist, QStringLiteral("Caf\u00e9"));
    const auto utf8 = Read("[374F6]\nartist=Caf\xc3\xa9\n");
    EXPECT_EQ(utf8->artist, QStringLiteral("Caf\u00e9"));
}

TEST(CdPlayerFileTest, ReadsFromAFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cdplayer.ini"));
    EXPECT_FALSE(ReadCdPlayerFile(Toc(twoTracks), path).has_value());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[374F6]\ntitle=From File\n");
    file.close();
    const auto record = ReadCdPlayerFile(Toc(twoTracks), path);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->title, QStringLiteral("From File"));
}

TEST(CdPlayerFileTest, LongLinesAreSkipped)
{
    const QByteArray longTitle(maxCdPlayerLineLength, 'x');
    const auto record = Read("[374F6]\n"
                             "title=" +
                             longTitle +
                             "\n"
                             "artist=" +
                             longTitle.left(maxCdPlayerLineLength - 7) +
                             "\n"
                             "0=One\n");
    ASSERT_TRUE(record.has_value());
    EXPECT_TRUE(record->title.isEmpty());
    EXPECT_EQ(record->artist.size(), maxCdPlayerLineLength - 7);
    EXPECT_EQ(record->trackTitles, QStringList{QStringLiteral("One")});

    // A header hidden in an over-long line is not found.
    EXPECT_FALSE(Read("[374F6]" + longTitle + "\ntitle=A\n").has_value());
}

TEST(CdPlayerFileTest, OnlyTheFirstMebibyteOfARegularFileIsRead)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cdplayer.ini"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QByteArray filler = "[1]\n" + QByteArray(maxCdPlayerFileSize - 4, '\n');
    file.write(filler + "[374F6]\ntitle=Too Far\n");
    file.close();
    const auto bytes = ReadCdPlayerBytes(path);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes.value().size(), maxCdPlayerFileSize);
    EXPECT_FALSE(ReadCdPlayerFile(Toc(twoTracks), path).has_value());
}

TEST(CdPlayerFileTest, DevicesAndFifosAreNotRead)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {QStringLiteral("/dev/zero"), fifo, dir.path()}) {
        const auto start = std::chrono::steady_clock::now();
        const auto bytes = ReadCdPlayerBytes(path);
        ASSERT_FALSE(bytes) << path.toStdString();
        EXPECT_EQ(bytes.error(), QStringLiteral("not a regular file"));
        EXPECT_FALSE(ReadCdPlayerFile(Toc(twoTracks), path).has_value());
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    }
}

} // namespace
} // namespace tvl
