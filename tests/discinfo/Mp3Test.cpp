#include "discinfo/FileFinder.h"
#include "discinfo/Mp3Names.h"
#include "discinfo/Mp3PlayTime.h"
#include "discinfo/Mp3Reader.h"
#include "discinfo/Mp3TagReader.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace tvl {
namespace {

const QString data = QStringLiteral(TOVRELLINE_TEST_DATA "/mp3/");

// MPEG-1 Layer III, 128 kbit/s, 44100 Hz, stereo.
constexpr char mpeg1Header[] = "\xFF\xFB\x90\x00";

QString PlayTime(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return Mp3PlayTime(buffer);
}

QByteArray WithHeaderAt(qsizetype position, qsizetype length)
{
    QByteArray bytes(length, '\0');
    bytes.replace(position, 4, mpeg1Header, 4);
    return bytes;
}

QByteArray WithXing(qsizetype length, bool withCount, uint32_t frames)
{
    QByteArray bytes = WithHeaderAt(0, length);
    const char flags = withCount ? 1 : 0;
    const char xing[12] = {'X',
                           'i',
                           'n',
                           'g',
                           0,
                           0,
                           0,
                           flags,
                           static_cast<char>(frames >> 24),
                           static_cast<char>(frames >> 16),
                           static_cast<char>(frames >> 8),
                           static_cast<char>(frames)};
    bytes.replace(4 + 32, 12, xing, 12);
    return bytes;
}

TEST(Mp3PlayTimeTest, ConstantAndVariableRate)
{
    EXPECT_EQ(PlayTime(WithHeaderAt(0, 3600000)), QStringLiteral("3:45"));
    EXPECT_EQ(PlayTime(WithXing(5000000, true, 10000)), QStringLiteral("4:21"));
    EXPECT_EQ(PlayTime(WithXing(5000000, false, 10000)), QString());
    EXPECT_EQ(PlayTime(WithXing(5000000, true, 0)), QString());
}

TEST(Mp3PlayTimeTest, VariableRateMpeg2LayerThreeHasHalfSizedFrames)
{
    // MPEG-2 Layer III, 22050 Hz, stereo: the Xing header follows 17 bytes of side information. 10000
    // frames of 576 samples last 261 s; the rate rule gives 76 kbit/s and so 4:23, not twice that.
    QByteArray bytes(2500000, '\0');
    bytes.replace(0, 4, QByteArray("\xFF\xF3\x80\x00", 4));
    bytes.replace(4 + 17, 12, QByteArray("Xing\0\0\0\x01\0\0\x27\x10", 12));
    EXPECT_EQ(PlayTime(bytes), QStringLiteral("4:23"));
}

TEST(Mp3PlayTimeTest, HeaderSearchStopsAt100000Bytes)
{
    EXPECT_EQ(PlayTime(WithHeaderAt(99996, 3600000)), QStringLiteral("3:45"));
    EXPECT_EQ(PlayTime(WithHeaderAt(99997, 3600000)), QString());
    EXPECT_EQ(PlayTime(QByteArray(500, '\xFF')), QString()); // bitrate index 15 everywhere
    EXPECT_EQ(PlayTime(QByteArray()), QString());
    EXPECT_EQ(PlayTime(WithHeaderAt(0, 100)), QString()); // under a second
    EXPECT_EQ(Mp3PlayTime(data + QStringLiteral("missing.mp3")), QString());
}

TEST(Mp3PlayTimeTest, RejectsReservedHeaderFields)
{
    const uint32_t good = 0xFFFB9000;
    const uint32_t bad[] = {
        (good & ~(3u << 19)) | (1u << 19), // reserved version
        good & ~(3u << 17),                // reserved layer
        good & ~(15u << 12),               // free bitrate
        good | (15u << 12),                // bad bitrate
        good | (3u << 10),                 // reserved sample rate
        good | 2u,                         // reserved emphasis
        good & ~(1u << 21),                // sync incomplete
    };
    for (const uint32_t h : bad) {
        const uint8_t bytes[4] = {static_cast<uint8_t>(h >> 24), static_cast<uint8_t>(h >> 16),
                                  static_cast<uint8_t>(h >> 8), static_cast<uint8_t>(h)};
        EXPECT_FALSE(FindMp3FrameHeader(bytes).has_value()) << std::hex << h;
    }
    const uint8_t shifted[6] = {0, 0, 0xFF, 0xFB, 0x90, 0x00};
    ASSERT_TRUE(FindMp3FrameHeader(shifted).has_value());
    EXPECT_EQ(FindMp3FrameHeader(shifted)->position, 2);
}

TEST(Mp3NamesTest, FromFileNames)
{
    const struct
    {
        const char* path;
        const char* name;
    } cases[] = {
        {"/media/cd/Music/01_-_my_song.mp3", "01-my Song"},
        {"/media/cd/Artist - Title.mp3", "Artist-title"},
        {"/a/  HELLO   world  .mp3", "Hello-world"},
        {"/a/x -y- z.MP3", "X-y-z"},
        {"/a/.mp3", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Mp3NameFromFileName(QString::fromLatin1(c.path)), QString::fromLatin1(c.name)) << c.path;
}

TEST(Mp3NamesTest, FromTags)
{
    EXPECT_EQ(Mp3NameFromTag(QStringLiteral("The_Band"), QStringLiteral("First Song")),
              QStringLiteral("The Band-First Song"));
    EXPECT_EQ(Mp3NameFromTag(QString(), QStringLiteral("Only Title")), QStringLiteral("Only Title"));
    EXPECT_EQ(Mp3NameFromTag(QStringLiteral("Only Artist"), QString()), QStringLiteral("Only Artist"));
    EXPECT_EQ(Mp3NameFromTag(QStringLiteral(" A - B "), QStringLiteral("c   d")), QStringLiteral("A-B-c-d"));
    EXPECT_EQ(Mp3NameFromTag(QString(), QString()), QString());
}

TEST(Mp3FixtureTest, TagsAndTimesOfEncodedFiles)
{
    const struct
    {
        const char* file;
        const char* tagName;
        const char* time;
    } cases[] = {
        {"plain.mp3", "", "0:01"},
        {"vbr.mp3", "", "0:02"},
        {"tagged_v2.mp3", "The Band-First Song", "0:01"},
        {"tagged_v1.mp3", "Old Band-Old Song", "0:01"},
        {"title_only.mp3", "Lonely Title", "0:01"},
    };
    for (const auto& c : cases) {
        const QString path = data + QLatin1StringView(c.file);
        EXPECT_EQ(ReadMp3TagName(path), QString::fromLatin1(c.tagName)) << c.file;
        EXPECT_EQ(Mp3PlayTime(path), QString::fromLatin1(c.time)) << c.file;
    }
    EXPECT_EQ(ReadMp3TagName(data + QStringLiteral("missing.mp3")), QString());
}

void Touch(const QString& path, const QByteArray& bytes = {})
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(FileFinderTest, FoldersComeAfterTheirSubFolders)
{
    QTemporaryDir root;
    Touch(root.filePath(QStringLiteral("a.mp3")));
    Touch(root.filePath(QStringLiteral("notes.txt")));
    Touch(root.filePath(QStringLiteral("Sub/b.MP3")), "12345");
    Touch(root.filePath(QStringLiteral("Sub/Deeper/c.mp3")));
    FileFinder finder;
    finder.Search(root.path() + u'/', QStringLiteral("*.mp3;*.txt"), true);
    EXPECT_EQ(finder.Folders(), QStringList({root.filePath(QStringLiteral("Sub/Deeper")),
                                             root.filePath(QStringLiteral("Sub")), root.path()}));
    QStringList found;
    for (const FileFinder::FoundFile& file : finder.Files())
        found.append(QDir(root.path()).relativeFilePath(file.path));
    found.sort();
    EXPECT_EQ(found, QStringList({QStringLiteral("Sub/Deeper/c.mp3"), QStringLiteral("Sub/b.MP3"),
                                  QStringLiteral("a.mp3"), QStringLiteral("notes.txt")}));

    FileFinder stopped([] { return true; });
    stopped.Search(root.path(), QStringLiteral("*"), true);
    EXPECT_TRUE(stopped.Files().isEmpty());
    EXPECT_TRUE(stopped.Folders().isEmpty());
}

TEST(Mp3ReaderTest, FillsTheHandOverDeepestFoldersFirst)
{
    QTemporaryDir root;
    QFile::copy(data + QStringLiteral("tagged_v2.mp3"), root.filePath(QStringLiteral("a.mp3")));
    QDir().mkpath(root.filePath(QStringLiteral("Sub")));
    QFile::copy(data + QStringLiteral("plain.mp3"), root.filePath(QStringLiteral("Sub/b_side.mp3")));
    ReadCdState state;
    state.runFlag = true;
    ReadMp3Files(state, root.path());
    const ReadCdState::Snapshot snapshot = state.Take();
    EXPECT_EQ(snapshot.status, ReadCdState::running);
    EXPECT_EQ(snapshot.mp3.count, 2);
    EXPECT_EQ(snapshot.mp3.fileNames, QStringList({QStringLiteral("B Side"), QStringLiteral("A")}));
    EXPECT_EQ(snapshot.mp3.tagNames, QStringList({QString(), QStringLiteral("The Band-First Song")}));
    EXPECT_EQ(snapshot.mp3.playTimes, QStringList({QStringLiteral("0:01"), QStringLiteral("0:01")}));

    ReadCdState stopped; // run flag clear: the search ends at once
    ReadMp3Files(stopped, root.path());
    EXPECT_EQ(stopped.Take().mp3.count, 0);

    ReadCdState empty;
    empty.runFlag = true;
    QTemporaryDir nothing;
    ReadMp3Files(empty, nothing.path());
    EXPECT_EQ(empty.Status(), ReadCdState::noMusicTracks);
    ReadMp3Files(empty, QString());
    EXPECT_EQ(empty.Status(), ReadCdState::noMusicTracks);
}

} // namespace
} // namespace tvl
