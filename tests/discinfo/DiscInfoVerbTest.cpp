#include "app/cli/CommandLine.h"

#include "LocalHttpServer.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <chrono>
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
    EXPECT_EQ(dataDisc.exitCode, 2);
    EXPECT_EQ(dataDisc.json[u"status"].toString(), QStringLiteral("no music tracks"));
    EXPECT_EQ(dataDisc.errors, "disc-info: The CD does not contain any music tracks.\n");
}

const QByteArray httpOk = "HTTP/1.0 200 OK\r\n\r\n";

// Each way the database can fail: the exit code, the message on standard error and the JSON still
// printed.
TEST(DiscInfoVerbTest, ServerFailuresExitWithTheirMessage)
{
    const struct
    {
        const char* name;
        std::vector<LocalHttpServer::Script> scripts;
        int exitCode;
        const char* message;
    } cases[] = {
        {"no match",
         {{{{LocalHttpServer::Answer("202 No match for disc ID 0c016602.\r\n")}}}},
         2,
         "The album information could not be found."},
        {"garbage",
         {{{{httpOk + "211 list\r\n" + QByteArray(17 * 1024 * 1024, 'g')}}, 3000}},
         3,
         "is larger than 16 MiB"},
        {"garbage lines",
         {{{{httpOk + "211 list\r\n" + QByteArray(4096, '\x01') + "\r\n.\r\n"}}}},
         2,
         "The album information could not be found."},
        {"not an answer", {{{{httpOk + "<html>\r\n"}}, 3000}}, 3, "is not a disc-database answer"},
        {"closed",
         {{{{httpOk + "211 list\r\nrock 0c016602 A / B\r\n"}}, 0}},
         3,
         "closed the connection before the end of its answer"},
        {"reset",
         {{{{httpOk + "211 list\r\nrock 0c016602 A / B\r\n"}}, 100, true}},
         3,
         "was reset before the end of its answer"},
        {"403", {{{{"HTTP/1.0 403 Forbidden\r\n\r\n"}}, 3000}}, 3, "HTTP error \"HTTP/1.0 403 Forbidden\""},
        {"500",
         {{{{"HTTP/1.0 500 Internal Server Error\r\n\r\n"}}, 3000}},
         3,
         "HTTP error \"HTTP/1.0 500 Internal Server Error\""},
        {"protocol error",
         {{{{LocalHttpServer::Answer("500 Command syntax error\r\n")}}, 3000}},
         3,
         "refused the command: \"500 Command syntax error\""},
        {"read fails",
         {{{{LocalHttpServer::Answer("200 rock 0c016602 A / B\r\n")}}},
          {{{LocalHttpServer::Answer("401 rock 0c016602 No such CD entry in database.\r\n")}}}},
         3,
         "Could not read the Freedb record.\n127.0.0.1:"},
    };
    for (const auto& c : cases) {
        LocalHttpServer server(c.scripts);
        const auto start = std::chrono::steady_clock::now();
        const Outcome outcome =
            RunVerb({"--toc", "150 14270 27000", "--server", "127.0.0.1:" + std::to_string(server.Port())});
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20)) << c.name;
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.name << ": " << outcome.errors;
        EXPECT_TRUE(outcome.errors.starts_with("disc-info: ")) << c.name << ": " << outcome.errors;
        EXPECT_NE(outcome.errors.find(c.message), std::string::npos) << c.name << ": " << outcome.errors;
        EXPECT_EQ(outcome.json[u"discId"].toString(), QStringLiteral("0c016602")) << c.name;
    }
}

TEST(DiscInfoVerbTest, ARefusedServerIsNotReplaced)
{
    const int port = LocalHttpServer::ClosedPort();
    const Outcome outcome =
        RunVerb({"--toc", "150 14270 27000", "--server", "127.0.0.1:" + std::to_string(port)});
    EXPECT_EQ(outcome.exitCode, 3);
    EXPECT_NE(outcome.errors.find("127.0.0.1:" + std::to_string(port) + " refused the connection."),
              std::string::npos)
        << outcome.errors;
    EXPECT_EQ(outcome.errors.find("gnudb"), std::string::npos) << outcome.errors;
}

TEST(DiscInfoVerbTest, TocIsValidated)
{
    const struct
    {
        const char* toc;
        const char* problem;
    } cases[] = {
        {"27000 14270 150", "increase strictly"},
        {"150 150 27000", "increase strictly"},
        {"150 14270 14270", "lead-out must come after the last track"},
        {"150 14270 9000", "lead-out must come after the last track"},
        {"0 27000", "at least 150"},
        {"149 27000", "at least 150"},
        {"150", "at least one track"},
        {"", "at least one track"},
        {"150 d 300", "number of frames"},
        {"150 +300", "number of frames"},
        {"150 3e5", "number of frames"},
        {"150 27000d", "number of frames"},
        {"150 d27000", "lead-out cannot be a data track"},
        {"150 99999999", "number of frames"},
        {"150 1200000", "beyond the largest address"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = RunVerb({"--toc", c.toc, "--sources", "none"});
        EXPECT_EQ(outcome.exitCode, 1) << c.toc;
        EXPECT_NE(outcome.errors.find(c.problem), std::string::npos) << c.toc << ": " << outcome.errors;
        EXPECT_TRUE(outcome.json.isEmpty()) << c.toc;
    }
    std::string hundredTracks;
    for (int i = 0; i < 100; ++i)
        hundredTracks += std::to_string(150 + i * 1000) + ' ';
    EXPECT_EQ(RunVerb({"--toc", hundredTracks + "200000", "--sources", "none"}).exitCode, 1);
    std::string ninetyNineTracks;
    for (int i = 0; i < 99; ++i)
        ninetyNineTracks += std::to_string(150 + i * 1000) + ' ';
    const Outcome most = RunVerb({"--toc", ninetyNineTracks + "200000", "--sources", "none"});
    EXPECT_EQ(most.exitCode, 0) << most.errors;
    EXPECT_EQ(most.json[u"toc"][u"tracks"].toArray().size(), 99);
    EXPECT_EQ(RunVerb({"--toc", "150 151", "--sources", "none"}).exitCode, 0);
}

TEST(DiscInfoVerbTest, ServerIsValidated)
{
    for (const char* bad : {
             "host:port",
             "host path",
             "host:0",
             "host:65536",
             "host:+80",
             "host:",
             ":80",
             "host/path with blank",
             "host/cgi\r\nX-Injected: 1",
             "host/cgi\tx",
             "host/cgi?cmd=x",
             "host/cgi#top",
             "host/%zz",
             "host/caf\xc3\xa9",
             "ho st",
             "-host",
             "host\x01",
             "[::1",
             "[nothost]:80",
             "host:80path",
             "host:80:81",
         }) {
        const Outcome outcome = RunVerb({"--toc", "150 300", "--server", bad});
        EXPECT_EQ(outcome.exitCode, 1) << bad;
        EXPECT_NE(outcome.errors.find("the server must be"), std::string::npos)
            << bad << ": " << outcome.errors;
    }
    // Valid forms go as far as the (refused) connection.
    const std::string port = std::to_string(LocalHttpServer::ClosedPort());
    for (const std::string& good : {"127.0.0.1:" + port, "127.0.0.1:" + port + "/~cddb/cddb.cgi",
                                    "127.0.0.1:" + port + "/a-b_c.d~e/%7Ex!$&'()*+,;=:@/"}) {
        const Outcome outcome = RunVerb({"--toc", "150 300", "--server", good});
        EXPECT_EQ(outcome.exitCode, 3) << good << ": " << outcome.errors;
    }
}

TEST(DiscInfoVerbTest, CdPlayerFileMustBeARegularFile)
{
    QTemporaryDir dir;
    const std::string fifo = dir.filePath(QStringLiteral("fifo")).toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct
    {
        std::string path;
        const char* problem;
    } cases[] = {
        {"/dev/zero", "not a regular file"},
        {fifo, "not a regular file"},
        {dir.path().toStdString(), "not a regular file"},
        {dir.filePath(QStringLiteral("missing.ini")).toStdString(), "No such file"},
    };
    for (const auto& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        const Outcome outcome =
            RunVerb({"--toc", "150 14270 27000", "--sources", "cdplayer", "--cdplayer", c.path});
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << c.path;
        EXPECT_EQ(outcome.exitCode, 1) << c.path;
        EXPECT_NE(outcome.errors.find(c.problem), std::string::npos) << c.path << ": " << outcome.errors;
    }
}

TEST(DiscInfoVerbTest, CdPlayerFileExitCodes)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("cdplayer.ini"));
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[374F6]\ntitle=Found\n");
    file.close();
    const Outcome found =
        RunVerb({"--toc", "150 14270 27000", "--sources", "cdplayer", "--cdplayer", ini.toStdString()});
    EXPECT_EQ(found.exitCode, 0) << found.errors;
    EXPECT_TRUE(found.errors.empty()) << found.errors;
    const Outcome missing =
        RunVerb({"--toc", "150 14271 27000", "--sources", "cdplayer", "--cdplayer", ini.toStdString()});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.errors, "disc-info: The album information could not be found.\n");
}

TEST(DiscInfoVerbTest, RejectsBadArguments)
{
    for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
             {"--toc"},
             {"--toc", "150"},
             {"--toc", "150 300", "--drive", "/dev/sr0"},
             {"--toc", "150 300", "--sources", "freedb,radio"},
             {"--toc", "150 300", "--sources", "cdplayer"},
             {"--verbose", "yes"},
         }) {
        const Outcome outcome = RunVerb(words);
        EXPECT_EQ(outcome.exitCode, 1) << words.back();
        EXPECT_FALSE(outcome.errors.empty());
    }
    // An unknown last word is named, not taken for an option missing its value.
    EXPECT_NE(RunVerb({"--toc", "150 300", "--verbose"}).errors.find("unknown option --verbose"),
              std::string::npos);
}

TEST(DiscInfoVerbTest, HelpListsTheExitCodes)
{
    std::vector<std::string> words = {"tovrelline", "help"};
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    testing::internal::CaptureStdout();
    EXPECT_EQ(RunCommandLine(static_cast<int>(argv.size()), argv.data()), 0);
    EXPECT_NE(
        testing::internal::GetCapturedStdout().find(
            "exit codes: 0 found, 1 usage, 2 nothing found, 3 network or server failure, 4 drive failure"),
        std::string::npos);
}

} // namespace
} // namespace tvl
