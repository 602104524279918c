#include "discinfo/XmcdParser.h"
#include "discinfo/DiscDbLineParser.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

const QString validEntry =
    QStringLiteral("210 rock 0c016602 CD database entry follows (until terminating `.')\r\n"
                   "# xmcd\r\n"
                   "#\r\n"
                   "# Track frame offsets:\r\n"
                   "#\t150\r\n"
                   "#\t14270\r\n"
                   "#\r\n"
                   "# Disc length: 360 seconds\r\n"
                   "#\r\n"
                   "# Revision: 3\r\n"
                   "# Submitted via: Tagger 2.1 comment\r\n"
                   "#\r\n"
                   "DISCID=0c016602,1a2b3c4d\r\n"
                   "DTITLE=Long Artist Name / Long\r\n"
                   "DTITLE= Title\r\n"
                   "DYEAR=1999\r\n"
                   "DGENRE=Rock\n"
                   "TTITLE0=First\r\n"
                   "TTITLE1=A\\nB\r\n"
                   "TTITLE1=\\\\nC\\tD\r\n"
                   "TTITLE150=Ignored\r\n"
                   "EXTD=Notes \r\n"
                   "EXTT0=\r\n"
                   "EXTT1=x\r\n"
                   "PLAYORDER=2,1\r\n");

TEST(XmcdParserTest, ParsesAValidEntry)
{
    DiscRecord record;
    ASSERT_TRUE(ParseXmcdEntry(validEntry, record));
    EXPECT_EQ(record.trackFrameOffsets, QList<int>({150, 14270}));
    EXPECT_EQ(record.discLength, 360);
    EXPECT_EQ(record.revision, 3);
    EXPECT_EQ(record.submitterName, QStringLiteral("Tagger"));
    EXPECT_EQ(record.submitterVersion, QStringLiteral("2.1"));
    EXPECT_EQ(record.source, QStringLiteral("comment"));
    EXPECT_EQ(record.discId, 0x0c016602u);
    EXPECT_EQ(record.artist, QStringLiteral("Long Artist Name"));
    EXPECT_EQ(record.title, QStringLiteral("Long Title"));
    EXPECT_EQ(record.year, 1999);
    EXPECT_EQ(record.genre, QStringLiteral("Rock"));
    EXPECT_EQ(record.trackTitles, QStringList({QStringLiteral("First"), QStringLiteral("A\nB\\nC\tD")}));
    EXPECT_EQ(record.extendedData, QStringLiteral("Notes "));
    EXPECT_EQ(record.playOrder, QList<int>({2, 1}));
}

TEST(XmcdParserTest, DecodesEscapesInOnePass)
{
    const struct
    {
        const char* raw;
        const char* decoded;
    } cases[] = {
        {R"(A\nB)", "A\nB"},  {R"(A\\nB)", "A\\nB"}, {R"(\t\\\n)", "\t\\\n"}, {R"(C:\path\x)", "C:\\path\\x"},
        {R"(end\)", "end\\"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeXmcdValue(QString::fromLatin1(c.raw)), QString::fromLatin1(c.decoded)) << c.raw;
}

TEST(XmcdParserTest, WithoutASeparatorArtistAndTitleAreBothTheWholeTitle)
{
    DiscRecord record;
    QString entry = validEntry;
    entry.replace(QStringLiteral("DTITLE=Long Artist Name / Long\r\nDTITLE= Title"),
                  QStringLiteral("DTITLE=Solo"));
    ASSERT_TRUE(ParseXmcdEntry(entry, record));
    EXPECT_EQ(record.artist, QStringLiteral("Solo"));
    EXPECT_EQ(record.title, QStringLiteral("Solo"));
}

TEST(XmcdParserTest, RejectsInvalidEntries)
{
    const struct
    {
        const char* name;
        QString from;
        QString to;
    } cases[] = {
        {"no xmcd mark", QStringLiteral("# xmcd\r\n"), QString()},
        {"no offsets", QStringLiteral("#\t150\r\n#\t14270\r\n"), QString()},
        {"no disc length", QStringLiteral("# Disc length: 360 seconds\r\n"), QString()},
        {"no submitter", QStringLiteral("# Submitted via: Tagger 2.1 comment\r\n"), QString()},
        {"submitter without version", QStringLiteral("Tagger 2.1 comment"), QStringLiteral("Tagger")},
        {"no disc id", QStringLiteral("DISCID=0c016602,1a2b3c4d\r\n"), QString()},
        {"short disc id", QStringLiteral("DISCID=0c016602,1a2b3c4d"), QStringLiteral("DISCID=0c01")},
        {"no title", QStringLiteral("DTITLE=Long Artist Name / Long\r\nDTITLE= Title\r\n"), QString()},
        {"fewer EXTT than TTITLE", QStringLiteral("EXTT1=x\r\n"), QString()},
        {"not found", QStringLiteral("210 rock"), QStringLiteral("401 rock")},
        {"server error", QStringLiteral("210 rock"), QStringLiteral("500 rock")},
    };
    for (const auto& c : cases) {
        QString entry = validEntry;
        entry.replace(c.from, c.to);
        ASSERT_NE(entry, validEntry) << c.name;
        DiscRecord record;
        EXPECT_FALSE(ParseXmcdEntry(entry, record)) << c.name;
    }
    DiscRecord record;
    EXPECT_FALSE(ParseXmcdEntry(QStringLiteral("210 rock 0c016602 follows"), record));
    EXPECT_FALSE(ParseXmcdEntry(QString(), record));
}

TEST(XmcdParserTest, ParsesMatchLines)
{
    const auto match = ParseMatchLine(QStringLiteral("rock 0c016602 Some Artist / Some Title\r\n"));
    ASSERT_TRUE(match.has_value());
    EXPECT_EQ(match->category, QStringLiteral("rock"));
    EXPECT_EQ(match->discId, 0x0c016602u);
    EXPECT_EQ(match->artist, QStringLiteral("Some Artist"));
    EXPECT_EQ(match->title, QStringLiteral("Some Title"));

    const auto noSlash = ParseMatchLine(QStringLiteral("misc   ABCDEF01    Only A Title "));
    ASSERT_TRUE(noSlash.has_value());
    EXPECT_EQ(noSlash->discId, 0xabcdef01u);
    EXPECT_EQ(noSlash->artist, QString());
    EXPECT_EQ(noSlash->title, QStringLiteral("Only A Title "));

    for (const char* bad :
         {"", "rock", "rock 0c016602", "rock 0c016602   ", " 0c016602 x / y", "rock zz x / y"})
        EXPECT_FALSE(ParseMatchLine(QString::fromLatin1(bad)).has_value()) << bad;
}

TEST(XmcdParserTest, ParsesServerLines)
{
    const auto server =
        ParseServerLine(QStringLiteral("mirror1 http 80 /~cddb/cddb.cgi N037.23 W122.03 Some City, CA USA"));
    ASSERT_TRUE(server.has_value());
    EXPECT_EQ(server->host, QStringLiteral("mirror1"));
    EXPECT_EQ(server->port, 80);
    EXPECT_EQ(server->path, QStringLiteral("/~cddb/cddb.cgi"));
    EXPECT_TRUE(server->north);
    EXPECT_EQ(server->latitude, 2243);
    EXPECT_FALSE(server->east);
    EXPECT_EQ(server->longitude, 7323);
    EXPECT_EQ(server->description, QStringLiteral("Some City, CA USA"));

    const auto upper = ParseServerLine(QStringLiteral("m2  HTTP  8080  /cgi  S033.52  E151.12  Sydney"));
    ASSERT_TRUE(upper.has_value());
    EXPECT_FALSE(upper->north);
    EXPECT_TRUE(upper->east);
    EXPECT_EQ(upper->port, 8080);

    for (const char* bad : {
             "mirror1 cddbp 888 - N037.23 W122.03 Some City",
             "mirror1 http 80 /~cddb/cddb.cgi N037.23 W122.03",
             "mirror1 http 80 /~cddb/cddb.cgi N37.23 W122.03 City",
             "mirror1 http 80 /~cddb/cddb.cgi X037.23 W122.03 City",
             "mirror1 http 80 /~cddb/cddb.cgi N037.23 N122.03 City",
             "mirror1 http eighty /~cddb/cddb.cgi N037.23 W122.03 City",
             "mirror1 http 99999 /~cddb/cddb.cgi N037.23 W122.03 City",
             "mirror1 http 80 /cgi\x01x N037.23 W122.03 City", // the path goes into later requests
             "mirror1 http 80 /cgi?cmd=x N037.23 W122.03 City",
             "mirror1 http 80 cddb.cgi N037.23 W122.03 City",
             "mirr\x7For http 80 /cgi N037.23 W122.03 City",
             "",
         })
        EXPECT_FALSE(ParseServerLine(QString::fromLatin1(bad)).has_value()) << bad;
}

} // namespace
} // namespace tvl
