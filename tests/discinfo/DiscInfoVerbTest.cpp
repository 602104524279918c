#include "app/cli/CommandLine.h"

#include "LocalHttpServer.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace tvl {
namespace {

using test::LocalHttpServer;

struct Outcome
{
    int exitCode = -1;
    QJsonObject json;
    std::string errors;
};

Outcome RunVerb(std::vector<std::string> words)
{
    words.insert(words.begin(), {"tovrelline", "disc-info"});
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    Outcome outcome;
    outcome.exitCode = RunCommandLine(static_cast<int>(argv.size()), argv.data()).value_or(-1);
    outcome.json =
        QJsonDocument::fromJson(QByteArray::fromStdString(testing::internal::GetCapturedStdout())).object();
    outcome.errors = testing::internal::GetCapturedStderr();
    return outcome;
}

TEST(DiscInfoVerbTest, LooksUpATableOfContents)
{
    LocalHttpServer server({
        {{{LocalHttpServer::Answer("200 rock 0c016602 Some Artist / Some Title\r\n")}}},
        {{{LocalHttpServer::Answer("210 rock 0c016602 entry follows\r\n# xmcd\r\n# Track frame offsets:\r\n"
                                   "#\t150\r\n#\t14270\r\n# Disc length: 360 seconds\r\n"
                                   "# Submitted via: Tagger 1.0\r\nDISCID=0c016602\r\n"
                                   "DTITLE=Some Artist / Some Title\r\nDYEAR=2001\r\nTTITLE0=One\r\n"
                                   "TTITLE1=Two\r\nEXTT0=\r\nEXTT1=\r\n.\r\n")}}},
    });
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("cdplayer.ini"));
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[374F6]\ntitle=From The Player\n");
    file.close();

    const Outcome outcome = RunVerb({"--toc", "150 14270 27000", "--server",
                                     "127.0.0.1:" + std::to_string(server.Port()) + "/~cddb/cddb.cgi",
                                     "--cdplayer", ini.toStdString()});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.errors;
    const QJsonObject& json = outcome.json;
    EXPECT_EQ(json[u"status"].toString(), QStringLiteral("finished"));
    EXPECT_EQ(json[u"discId"].toString(), QStringLiteral("0c016602"));
    EXPECT_EQ(json[u"queryCommand"].toString(), QStringLiteral("cddb+query+0c016602+2+150+14270+360"));
    EXPECT_EQ(json[u"trackLengths"].toArray(), QJsonArray({QStringLiteral("3:08"), QStringLiteral("2:49")}));
    EXPECT_EQ(json[u"totalSeconds"].toInt(), 358);
    EXPECT_EQ(json[u"totalTime"].toString(), QStringLiteral("5:58"));
    EXPECT_EQ(json[u"toc"][u"leadOut"].toInt(), 27000);
    const QJsonArray records = json[u"records"].toArray();
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0][u"source"].toString(), QStringLiteral("Freedb"));
    EXPECT_EQ(records[0][u"year"].toInt(), 2001);
    EXPECT_EQ(records[0][u"trackTitles"].toArray(),
              QJsonArray({QStringLiteral("One"), QStringLiteral("Two")}));
    EXPECT_EQ(records[1][u"source"].toString(), QStringLiteral("CDPlayer.ini"));
    EXPECT_EQ(records[1][u"title"].toString(), QStringLiteral("From The Player"));
}

TEST(DiscInfoVerbTest, OfflineAndDataDiscs)
{
    const Outcome offline = RunVerb({"--toc", "d150 45000 58500 67510", "--sources", "none"});
    ASSERT_EQ(offline.exitCode, 0) << offline.errors;
    EXPECT_EQ(offline.json[u"trackLengths"].toArray(),
              QJsonArray({QStringLiteral("3:00"), QStringLiteral("2:00")}));
    EXPECT_TRUE(offline.json[u"toc"][u"tracks"][0][u"data"].toBool());
    EXPECT_TRUE(offline.json[u"records"].toArray().isEmpty());

    const Outcome dataDisc = RunVerb({"--toc", "d150 9000"});
    EXPECT_EQ(dataDisc.exitCode, 0);
    EXPECT_EQ(dataDisc.json[u"status"].toString(), QStringLiteral("no music tracks"));
}

TEST(DiscInfoVerbTest, RejectsBadArguments)
{
    for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
             {"--toc"},
             {"--toc", "150"},
             {"--toc", "150 300", "--drive", "/dev/sr0"},
             {"--toc", "150 300", "--sources", "freedb,radio"},
             {"--toc", "150 300", "--sources", "cdplayer"},
             {"--toc", "150 300", "--server", "host:port"},
             {"--toc", "150 300", "--server", "host path"},
             {"--verbose", "yes"},
         }) {
        const Outcome outcome = RunVerb(words);
        EXPECT_EQ(outcome.exitCode, 1) << words.back();
        EXPECT_FALSE(outcome.errors.empty());
    }
}

} // namespace
} // namespace tvl
