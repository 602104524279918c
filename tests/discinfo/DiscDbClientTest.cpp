#include "discinfo/DiscDbClient.h"

#include "LocalHttpServer.h"

#include <gtest/gtest.h>

#include <chrono>

namespace tvl {
namespace {

using test::LocalHttpServer;
using Chunk = LocalHttpServer::Chunk;
using Script = LocalHttpServer::Script;

constexpr int shortTimeoutMs = 1000;
const QString queryCommand = QStringLiteral("cddb+query+0c016602+2+150+14270+360");

DiscDbServer Local(const LocalHttpServer& server)
{
    DiscDbServer local;
    local.host = QStringLiteral("127.0.0.1");
    local.port = server.Port();
    return local;
}

Script Answer(const QByteArray& body, int holdMs = 0)
{
    return {{{LocalHttpServer::Answer(body)}}, holdMs};
}

const QByteArray entry = "210 rock 0c016602 CD database entry follows (until terminating `.')\r\n"
                         "# xmcd\r\n"
                         "# Track frame offsets:\r\n"
                         "#\t150\r\n"
                         "#\t14270\r\n"
                         "# Disc length: 360 seconds\r\n"
                         "# Revision: 1\r\n"
                         "# Submitted via: Tagger 2.1\r\n"
                         "DISCID=0c016602\r\n"
                         "DTITLE=Long Artist Name / Long\r\n"
                         "DTITLE= Title\r\n"
                         "TTITLE0=One\\\\nTwo\r\n"
                         "TTITLE1=A\\nB\r\n"
                         "EXTD=\r\n"
                         "EXTT0=\r\n"
                         "EXTT1=\r\n"
                         "PLAYORDER=\r\n"
                         ".\r\n";

TEST(DiscDbClientTest, HelloCarriesSanitisedNames)
{
    EXPECT_EQ(DiscDbClient::HelloWord(QStringLiteral("user1")), QStringLiteral("user1"));
    EXPECT_EQ(DiscDbClient::HelloWord(QStringLiteral("j.doe@host-1 x\u00e9")),
              QStringLiteral("j_doe_host_1_x_"));
    EXPECT_EQ(DiscDbClient::HelloWord(QString()), QStringLiteral("Unknown"));
    EXPECT_EQ(DiscDbClient::HelloWord(QString(300, u'a')).size(), 260);
    const QString hello = DiscDbClient().BuildHello();
    EXPECT_TRUE(hello.startsWith(QStringLiteral("hello="))) << hello.toStdString();
    EXPECT_TRUE(hello.endsWith(QStringLiteral("+MfcCDDB+1.22&proto=5"))) << hello.toStdString();
    EXPECT_EQ(hello.count(u'+'), 3);
}

TEST(DiscDbClientTest, QueryWithOneExactMatch)
{
    LocalHttpServer server({Answer("200 rock 0c016602 Some Artist / Some Title\r\n", 5000)});
    DiscDbClient client(5000);
    QList<DiscDbMatch> matches;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(client.Query(Local(server), queryCommand, matches), DiscDbClient::queryDone);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3)); // no wait for a terminator
    ASSERT_EQ(matches.size(), 1);
    EXPECT_EQ(matches[0].category, QStringLiteral("rock"));
    EXPECT_EQ(matches[0].discId, 0x0c016602u);
    EXPECT_EQ(matches[0].artist, QStringLiteral("Some Artist"));
    EXPECT_EQ(matches[0].title, QStringLiteral("Some Title"));
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(QString::fromUtf8(server.Requests()[0]), QStringLiteral("GET /~cddb/cddb.cgi?cmd=") +
                                                           queryCommand + u'&' + client.BuildHello() +
                                                           QStringLiteral(" HTTP/1.0\r\n\r\n"));
}

TEST(DiscDbClientTest, ReachesIpv6Servers)
{
    LocalHttpServer server({Answer("200 rock 0c016602 Some Artist / Some Title\r\n")}, true);
    if (server.Port() == 0)
        GTEST_SKIP() << "no IPv6 loopback on this machine";
    DiscDbServer local;
    local.host = QStringLiteral("::1");
    local.port = server.Port();
    DiscDbClient client(5000);
    QList<DiscDbMatch> matches;
    EXPECT_EQ(client.Query(local, queryCommand, matches), DiscDbClient::queryDone);
    EXPECT_EQ(matches.size(), 1);
}

TEST(DiscDbClientTest, QueryWithoutMatchEndsAtOnce)
{
    LocalHttpServer server({Answer("202 No match for disc ID 0c016602.\r\n", 5000)});
    DiscDbClient client(5000);
    QList<DiscDbMatch> matches;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(client.Query(Local(server), queryCommand, matches), DiscDbClient::queryDone);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_TRUE(matches.isEmpty());
    EXPECT_TRUE(client.Ok());
}

TEST(DiscDbClientTest, QueryWithSeveralMatches)
{
    LocalHttpServer server({Answer("211 Found inexact matches, list follows (until terminating `.')\r\n"
                                   "rock 0c016602 First / One\r\n"
                                   "garbage\r\n"
                                   "jazz 0c016603 No Slash Here\r\n"
                                   ".\r\n",
                                   5000)});
    DiscDbClient client(5000);
    QList<DiscDbMatch> matches;
    EXPECT_EQ(client.Query(Local(server), queryCommand, matches), DiscDbClient::queryDone);
    ASSERT_EQ(matches.size(), 2);
    EXPECT_EQ(matches[1].category, QStringLiteral("jazz"));
    EXPECT_EQ(matches[1].artist, QString());
    EXPECT_EQ(matches[1].title, QStringLiteral("No Slash Here"));
}

TEST(DiscDbClientTest, QueryWaitsForTheBodyAfterTheHeader)
{
    LocalHttpServer server(
        {{{{"HTTP/1.0 200 OK\r\n\r\n"}, {"20", 300}, {"0 rock 0c016602 A / B\r\n", 300}}, 2000}});
    DiscDbClient client(5000);
    QList<DiscDbMatch> matches;
    EXPECT_EQ(client.Query(Local(server), queryCommand, matches), DiscDbClient::queryDone);
    ASSERT_EQ(matches.size(), 1);
    EXPECT_EQ(matches[0].title, QStringLiteral("B"));
}

TEST(DiscDbClientTest, OtherQueryCodesGiveNoMatchesAndClearOk)
{
    LocalHttpServer server({Answer("500 Command syntax error\r\n", 2000)});
    DiscDbClient client(5000);
    QList<DiscDbMatch> matches;
    EXPECT_EQ(client.Query(Local(server), queryCommand, matches), DiscDbClient::queryDone);
    EXPECT_TRUE(matches.isEmpty());
    EXPECT_FALSE(client.Ok());
}

TEST(DiscDbClientTest, QueryFailures)
{
    DiscDbServer nowhere;
    nowhere.host = QStringLiteral("127.0.0.1");
    nowhere.port = LocalHttpServer::ClosedPort();
    DiscDbClient client(shortTimeoutMs);
    QList<DiscDbMatch> matches;
    EXPECT_EQ(client.Query(nowhere, queryCommand, matches), DiscDbClient::queryNoConnection);
    EXPECT_EQ(client.LastError().kind, DiscDbFailure::Refused);

    LocalHttpServer silent({{{}, 3000}});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(client.Query(Local(silent), queryCommand, matches), DiscDbClient::queryReceiveFailed);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(shortTimeoutMs));
    EXPECT_FALSE(client.Ok());
    EXPECT_EQ(client.LastError().kind, DiscDbFailure::Silent);
}

// Every way an answer can fail has its own kind and message, and each is noticed in bounded time.
TEST(DiscDbClientTest, EachFailureIsToldApart)
{
    const QByteArray header = "HTTP/1.0 200 OK\r\n\r\n";
    std::vector<Chunk> trickle = {{header + "211 list follows\r\n"}};
    for (int i = 0; i < 20; ++i)
        trickle.push_back({"x", 200});
    const struct
    {
        const char* name;
        Script script;
        int result;
        DiscDbFailure kind;
        const char* message;
    } cases[] = {
        {"garbage beyond the cap",
         {{{header + "211 list follows\r\n" + QByteArray(20 * 1024 * 1024, 'g')}}, 3000},
         DiscDbClient::queryReceiveFailed,
         DiscDbFailure::TooLarge,
         "is larger than 16 MiB"},
        {"trickle past the deadline",
         {trickle, 3000},
         DiscDbClient::queryReceiveFailed,
         DiscDbFailure::Deadline,
         "did not finish its answer within 1.5 seconds"},
        {"closed",
         {{{header + "211 list follows\r\nrock 0c016602 A / B\r\n"}}, 0},
         DiscDbClient::queryReceiveFailed,
         DiscDbFailure::Closed,
         "closed the connection before the end of its answer"},
        {"reset",
         {{{header + "211 list follows\r\nrock 0c016602 A / B\r\n"}}, 200, true},
         DiscDbClient::queryReceiveFailed,
         DiscDbFailure::Reset,
         "was reset before the end of its answer"},
        {"HTTP 403",
         {{{"HTTP/1.0 403 Forbidden\r\nContent-Type: text/html\r\n\r\n<html>no</html>"}}, 3000},
         DiscDbClient::queryReceiveFailed,
         DiscDbFailure::HttpError,
         "answered with the HTTP error \"HTTP/1.0 403 Forbidden\""},
        {"HTTP 500",
         {{{"HTTP/1.1 500 Internal Server Error\r\n\r\n"}}, 3000},
         DiscDbClient::queryReceiveFailed,
         DiscDbFailure::HttpError,
         "HTTP/1.1 500 Internal Server Error"},
        {"not a protocol answer",
         {{{header + "<html><body>Welcome</body></html>\r\n"}}, 3000},
         DiscDbClient::queryReceiveFailed,
         DiscDbFailure::BadAnswer,
         "is not a disc-database answer"},
        {"not HTTP",
         {{{"SSH-2.0-OpenSSH_9.2\r\n"}}, 3000},
         DiscDbClient::queryReceiveFailed,
         DiscDbFailure::BadAnswer,
         "is not a disc-database answer"},
        {"protocol error",
         {{{header + "500 Command syntax error\r\n"}}, 3000},
         DiscDbClient::queryDone,
         DiscDbFailure::ServerError,
         "refused the command: \"500 Command syntax error\""},
    };
    for (const auto& c : cases) {
        LocalHttpServer server({c.script});
        DiscDbClient client(1000, 1500);
        QList<DiscDbMatch> matches;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(client.Query(Local(server), queryCommand, matches), c.result) << c.name;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15)) << c.name;
        EXPECT_FALSE(client.Ok()) << c.name;
        EXPECT_TRUE(matches.isEmpty()) << c.name;
        EXPECT_EQ(client.LastError().kind, c.kind) << c.name;
        const QString message = client.LastError().Message();
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.message)))
            << c.name << ": " << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("127.0.0.1:%1").arg(server.Port()))) << c.name;
    }
}

// Parsing stays linear: megabytes of garbage inside a list cost seconds at most, not minutes.
TEST(DiscDbClientTest, GarbageListIsReadInLinearTime)
{
    QByteArray garbage(8 * 1024 * 1024, 'g');
    for (qsizetype i = 997; i < garbage.size(); i += 997)
        garbage[i] = i % 3 == 0 ? '\n' : ' ';
    LocalHttpServer server({Answer("211 list follows\r\n" + garbage + "\r\n.\r\n", 3000)});
    DiscDbClient client(5000);
    QList<DiscDbMatch> matches;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(client.Query(Local(server), queryCommand, matches), DiscDbClient::queryDone);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_TRUE(client.Ok());
}

TEST(DiscDbClientTest, InvalidServersAreNotAsked)
{
    LocalHttpServer server({Answer("200 rock 0c016602 A / B\r\n")});
    for (const QString& path : {QStringLiteral("/cgi\r\nX-Injected: 1"), QStringLiteral("/a b"),
                                QStringLiteral("cddb.cgi"), QStringLiteral("/cgi?x=1")}) {
        DiscDbServer bad = Local(server);
        bad.path = path;
        DiscDbClient client(shortTimeoutMs);
        QList<DiscDbMatch> matches;
        EXPECT_EQ(client.Query(bad, queryCommand, matches), DiscDbClient::queryNoConnection);
        EXPECT_EQ(client.LastError().kind, DiscDbFailure::InvalidServer);
        DiscRecord record;
        EXPECT_FALSE(client.ReadRecord(bad, 0x0c016602, QStringLiteral("rock"), record));
    }
    EXPECT_TRUE(server.Requests().empty());
}

TEST(DiscDbClientTest, QueryUsesTheSecondAttemptsConnection)
{
    using Result = TcpConnection::ConnectResult;
    const struct
    {
        std::vector<Result> attempts;
        int expected;
        size_t tries;
    } cases[] = {
        {{Result::Connected}, DiscDbClient::queryDone, 1},
        {{Result::Refused, Result::Connected}, DiscDbClient::queryDone, 2},
        {{Result::Unreachable, Result::Unresolvable}, DiscDbClient::queryNoConnection, 2},
        {{Result::Unreachable, Result::NoSocket}, DiscDbClient::queryNoConnection, 2},
        {{Result::NoSocket}, DiscDbClient::queryNoSocket, 1},
    };
    for (const auto& c : cases) {
        size_t tries = 0;
        Result last = Result::Connected;
        EXPECT_EQ(DiscDbClient::ConnectForQuery([&] { return c.attempts.at(tries++); }, last), c.expected);
        EXPECT_EQ(tries, c.tries);
        EXPECT_EQ(last, c.attempts.back());
    }
}

TEST(DiscDbClientTest, ReadRecordParsesTheEntry)
{
    LocalHttpServer server({Answer(entry, 5000)});
    DiscDbClient client(5000);
    DiscRecord record;
    ASSERT_TRUE(client.ReadRecord(Local(server), 0x0c016602, QStringLiteral("rock"), record));
    EXPECT_EQ(record.artist, QStringLiteral("Long Artist Name"));
    EXPECT_EQ(record.title, QStringLiteral("Long Title"));
    EXPECT_EQ(record.trackTitles, QStringList({QStringLiteral("One\\nTwo"), QStringLiteral("A\nB")}));
    EXPECT_TRUE(client.LastResponse().isEmpty());
    EXPECT_EQ(QString::fromUtf8(server.Requests()[0]),
              QStringLiteral("GET /~cddb/cddb.cgi?cmd=cddb+read+rock+0c016602&") + client.BuildHello() +
                  QStringLiteral(" HTTP/1.0\r\n\r\n"));
}

TEST(DiscDbClientTest, ReadRecordFailures)
{
    QByteArray withoutSubmitter = entry;
    withoutSubmitter.replace("# Submitted via: Tagger 2.1\r\n", "");
    LocalHttpServer server({
        Answer("401 rock 0c016602 No such CD entry in database.\r\n.\r\n"),
        Answer("403 Database entry is corrupt.\r\n.\r\n"),
        Answer(withoutSubmitter),
        {{{LocalHttpServer::Answer(entry.left(200))}}, 0}, // closes mid-answer
        {{}, 3000},                                        // never answers
    });
    DiscDbClient client(shortTimeoutMs);
    const std::pair<const char*, DiscDbFailure> outcomes[] = {
        {"not found", DiscDbFailure::ServerError}, {"corrupt", DiscDbFailure::ServerError},
        {"rejected", DiscDbFailure::BadEntry},     {"closed", DiscDbFailure::Closed},
        {"silent", DiscDbFailure::Silent},
    };
    for (const auto& [what, kind] : outcomes) {
        DiscRecord record;
        record.title = QStringLiteral("kept");
        EXPECT_FALSE(client.ReadRecord(Local(server), 0x0c016602, QStringLiteral("rock"), record)) << what;
        EXPECT_FALSE(client.Ok());
        EXPECT_EQ(client.LastError().kind, kind) << what;
    }
    EXPECT_EQ(client.LastResponse(), QString());
    EXPECT_EQ(server.Requests().size(), 5u);
}

TEST(DiscDbClientTest, PartialAnswerIsKeptAfterTheConnectionCloses)
{
    LocalHttpServer server({{{{LocalHttpServer::Answer(entry.left(200))}}, 0}});
    DiscDbClient client(shortTimeoutMs);
    DiscRecord record;
    EXPECT_FALSE(client.ReadRecord(Local(server), 0x0c016602, QStringLiteral("rock"), record));
    EXPECT_TRUE(client.LastResponse().endsWith(QString::fromLatin1(entry.left(200))));
}

TEST(DiscDbClientTest, ATricklingServerIsNotTimedOut)
{
    std::vector<Chunk> chunks = {{LocalHttpServer::Answer({})}};
    const QByteArray body = entry;
    const qsizetype piece = body.size() / 6 + 1;
    for (qsizetype at = 0; at < body.size(); at += piece)
        chunks.push_back({body.mid(at, piece), 600});
    LocalHttpServer server({{chunks, 2000}});
    DiscDbClient client(shortTimeoutMs);
    DiscRecord record;
    EXPECT_TRUE(client.ReadRecord(Local(server), 0x0c016602, QStringLiteral("rock"), record));
    EXPECT_EQ(record.title, QStringLiteral("Long Title"));
}

TEST(DiscDbClientTest, AnswersAreCapped)
{
    QByteArray huge = "210 list follows\r\n";
    huge += QByteArray(17 * 1024 * 1024, 'x') + "\r\n.\r\n"; // complete, but too long
    LocalHttpServer server({Answer(huge, 2000)});
    DiscDbClient client(5000);
    QList<DiscDbServer> sites;
    EXPECT_FALSE(client.GetSites(Local(server), sites));
}

TEST(DiscDbClientTest, GetSites)
{
    LocalHttpServer server({
        Answer("210 OK, site information follows (until terminating `.')\r\n"
               "mirror1 http 80 /~cddb/cddb.cgi N037.23 W122.03 Some City, CA USA\r\n"
               "mirror1 cddbp 888 - N037.23 W122.03 Some City, CA USA\r\n"
               "mirror2 http 8080 /cgi S033.52 E151.12 Sydney\r\n"
               ".\r\n"),
        Answer("401 No site information available.\r\n"),
    });
    DiscDbClient client(5000);
    QList<DiscDbServer> sites;
    ASSERT_TRUE(client.GetSites(Local(server), sites));
    ASSERT_EQ(sites.size(), 2);
    EXPECT_EQ(sites[0].longitude, 7323);
    EXPECT_EQ(sites[1].host, QStringLiteral("mirror2"));
    EXPECT_FALSE(client.GetSites(Local(server), sites));
    EXPECT_EQ(sites.size(), 2);
    EXPECT_TRUE(server.Requests()[0].startsWith("GET /~cddb/cddb.cgi?cmd=sites&hello="));
}

} // namespace
} // namespace tvl
