#include "discinfo/ReadCdWorker.h"

#include "discinfo/RecordedDriveTransport.h"

#include "CdTextPacks.h"
#include "LocalHttpServer.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <thread>

namespace tvl {
namespace {

using test::LocalHttpServer;

const QByteArray readToc = QByteArrayLiteral("43020000000000032400");
const QByteArray readCdText = QByteArrayLiteral("43020500000000138800");

QByteArray TocBytes(const char* text)
{
    const DiscToc toc = DiscToc::FromText(QString::fromLatin1(text)).value();
    return QByteArray(reinterpret_cast<const char*>(toc.bytes.data()), DiscToc::byteCount);
}

std::shared_ptr<DriveTransport> Drive(QHash<QByteArray, QByteArray> answers, const QString& mountPoint = {})
{
    return std::make_shared<RecordedDriveTransport>(std::vector<RecordedDriveTransport::Drive>{
        {{QStringLiteral("/dev/sr0"), QStringLiteral("ACME"), QStringLiteral("Burner")},
         mountPoint,
         std::move(answers)}});
}

QByteArray Entry(const char* title)
{
    return QByteArray("210 rock 0c016602 entry follows\r\n# xmcd\r\n# Track frame offsets:\r\n#\t150\r\n"
                      "#\t14270\r\n# Disc length: 360 seconds\r\n# Submitted via: Tagger 1.0\r\n"
                      "DISCID=0c016602\r\nDTITLE=Artist / ") +
           title + "\r\nTTITLE0=One\r\nTTITLE1=Two\r\nEXTT0=\r\nEXTT1=\r\n.\r\n";
}

DiscDbServer Local(int port)
{
    DiscDbServer server;
    server.host = QStringLiteral("127.0.0.1");
    server.port = port;
    return server;
}

struct WorkerRun
{
    ReadCdState state;
    ReadCdOptions options;

    ReadCdState::Snapshot Go(std::shared_ptr<DriveTransport> drive)
    {
        state.runFlag = true;
        std::thread worker([&] { RunReadCdWorker(state, std::move(drive), options); });
        worker.join();
        return state.Take();
    }
};

TEST(ReadCdWorkerTest, ReadsEverySourceInOrder)
{
    const QByteArray cdText = test::CdTextPacks(
        {test::Pack(0x80, 0, 0, "Album\0One\0Tw"), test::Pack(0x80, 2, 1, "o\0Three\0\0\0\0\0")});
    LocalHttpServer server({
        {{{LocalHttpServer::Answer("211 matches follow\r\nrock 0c016602 Artist / First\r\n"
                                   "jazz 0c016602 Artist / Second\r\n.\r\n")}}},
        {{{LocalHttpServer::Answer(Entry("First"))}}},
        {{{LocalHttpServer::Answer(Entry("Second"))}}},
    });
    QTemporaryDir dir;
    const QString iniPath = dir.filePath(QStringLiteral("cdplayer.ini"));
    QFile ini(iniPath);
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[374F6]\nartist=Player\n0=P1\n");
    ini.close();

    WorkerRun run;
    run.options.server = Local(server.Port());
    run.options.cdPlayerPath = iniPath;
    run.options.timeoutMs = 5000;
    const auto result = run.Go(Drive({{readToc, TocBytes("150 14270 27000")}, {readCdText, cdText}}));
    EXPECT_EQ(result.status, ReadCdState::finished);
    EXPECT_EQ(result.errorText, QString());
    EXPECT_EQ(result.toc.TrackCount(), 2);
    ASSERT_EQ(result.results.size(), 4u);
    EXPECT_EQ(result.results[0].source, QStringLiteral("Freedb"));
    EXPECT_EQ(result.results[0].title, QStringLiteral("First"));
    EXPECT_EQ(result.results[1].title, QStringLiteral("Second"));
    EXPECT_EQ(result.results[2].source, QStringLiteral("CD-TEXT"));
    EXPECT_EQ(result.results[2].title, QStringLiteral("Album"));
    EXPECT_EQ(result.results[2].trackTitles, QStringList({QStringLiteral("One"), QStringLiteral("Two")}));
    EXPECT_EQ(result.results[3].source, QStringLiteral("CDPlayer.ini"));
    EXPECT_EQ(result.results[3].artist, QStringLiteral("Player"));
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_TRUE(requests[0].startsWith("GET /~cddb/cddb.cgi?cmd=cddb+query+0c016602+2+150+14270+360&hello="));
    EXPECT_TRUE(requests[2].startsWith("GET /~cddb/cddb.cgi?cmd=cddb+read+jazz+0c016602&hello="));
}

TEST(ReadCdWorkerTest, UnreachableDatabaseFallsBackOnceAndKeepsOtherSources)
{
    const QByteArray cdText = test::CdTextPacks({test::Pack(0x81, 0, 0, "Band\0")});
    WorkerRun run;
    run.options.server = Local(LocalHttpServer::ClosedPort());
    run.options.fallbackServer = Local(LocalHttpServer::ClosedPort());
    run.options.cdPlayer = false;
    run.options.timeoutMs = 1000;
    const auto result = run.Go(Drive({{readToc, TocBytes("150 14270 27000")}, {readCdText, cdText}}));
    EXPECT_EQ(result.status, ReadCdState::finished);
    EXPECT_TRUE(
        result.errorText.startsWith(QStringLiteral("Tovrelline could not connect to the Freedb server.")));
    ASSERT_EQ(result.results.size(), 1u);
    EXPECT_EQ(result.results[0].artist, QStringLiteral("Band"));
    EXPECT_EQ(run.options.server.port, run.options.fallbackServer->port);
    // Both servers and why each failed.
    EXPECT_EQ(result.errorText.count(QStringLiteral("refused the connection")), 2)
        << result.errorText.toStdString();
}

TEST(ReadCdWorkerTest, TheMessageNamesTheServerThatAnsweredInstead)
{
    LocalHttpServer fallback({
        {{{LocalHttpServer::Answer("200 rock 0c016602 Artist / Title\r\n")}}},
        {{{LocalHttpServer::Answer(Entry("Title"))}}},
    });
    WorkerRun run;
    const int closedPort = LocalHttpServer::ClosedPort();
    run.options.server = Local(closedPort);
    run.options.fallbackServer = Local(fallback.Port());
    run.options.cdText = false;
    run.options.cdPlayer = false;
    run.options.timeoutMs = 5000;
    const auto result = run.Go(Drive({{readToc, TocBytes("150 14270 27000")}}));
    ASSERT_EQ(result.results.size(), 1u) << result.errorText.toStdString();
    EXPECT_EQ(result.errorText, QStringLiteral("127.0.0.1:%1 refused the connection. The disc database at "
                                               "127.0.0.1:%2 answered instead.")
                                    .arg(closedPort)
                                    .arg(fallback.Port()));
}

TEST(ReadCdWorkerTest, WithoutFallbackOnlyTheNamedServerIsAsked)
{
    LocalHttpServer other({{{{LocalHttpServer::Answer("200 rock 0c016602 Artist / Title\r\n")}}}});
    WorkerRun run;
    run.options.server = Local(LocalHttpServer::ClosedPort());
    run.options.fallbackServer.reset();
    run.options.cdText = false;
    run.options.cdPlayer = false;
    const auto result = run.Go(Drive({{readToc, TocBytes("150 14270 27000")}}));
    EXPECT_TRUE(result.errorText.contains(QStringLiteral("refused the connection")));
    EXPECT_TRUE(result.results.empty());
    EXPECT_TRUE(other.Requests().empty());
}

TEST(ReadCdWorkerTest, ServerFailuresAreReportedByKind)
{
    const struct
    {
        LocalHttpServer::Script script;
        const char* errorText;
    } cases[] = {
        {{{{"HTTP/1.0 403 Forbidden\r\n\r\n"}}, 2000},
         "Error: 127.0.0.1:%1 answered with the HTTP error \"HTTP/1.0 403 Forbidden\"."},
        {{{{LocalHttpServer::Answer("500 Command syntax error\r\n")}}, 2000},
         "Error: 127.0.0.1:%1 refused the command: \"500 Command syntax error\"."},
        {{{{LocalHttpServer::Answer("211 list\r\nrock 0c016602 A / B\r\n")}}, 0},
         "Error: 127.0.0.1:%1 closed the connection before the end of its answer."},
    };
    for (const auto& c : cases) {
        LocalHttpServer server({c.script});
        WorkerRun run;
        run.options.server = Local(server.Port());
        run.options.fallbackServer.reset();
        run.options.cdText = false;
        run.options.cdPlayer = false;
        const auto result = run.Go(Drive({{readToc, TocBytes("150 14270 27000")}}));
        EXPECT_EQ(result.errorText, QString::fromUtf8(c.errorText).arg(server.Port()));
    }
}

TEST(ReadCdWorkerTest, ATricklingServerIsCutOffByTheDeadline)
{
    std::vector<LocalHttpServer::Chunk> chunks = {{LocalHttpServer::Answer("211 list follows\r\n")}};
    for (int i = 0; i < 30; ++i)
        chunks.push_back({"x", 100});
    LocalHttpServer server({{chunks, 0}});
    WorkerRun run;
    run.options.server = Local(server.Port());
    run.options.fallbackServer.reset();
    run.options.cdText = false;
    run.options.cdPlayer = false;
    run.options.timeoutMs = 1000;
    run.options.deadlineMs = 1000;
    const auto start = std::chrono::steady_clock::now();
    const auto result = run.Go(Drive({{readToc, TocBytes("150 14270 27000")}}));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(
        result.errorText,
        QStringLiteral("Error: 127.0.0.1:%1 did not finish its answer within 1 seconds.").arg(server.Port()));
}

TEST(ReadCdWorkerTest, FailedReadStopsTheDatabaseStep)
{
    LocalHttpServer server({
        {{{LocalHttpServer::Answer("211 matches\r\nrock 0c016602 A / B\r\nrock 0c016603 C / D\r\n.\r\n")}}},
        {{{LocalHttpServer::Answer("401 rock 0c016602 No such CD entry in database.\r\n.\r\n")}}},
    });
    WorkerRun run;
    run.options.server = Local(server.Port());
    run.options.cdText = false;
    run.options.cdPlayer = false;
    run.options.timeoutMs = 5000;
    const auto result = run.Go(Drive({{readToc, TocBytes("150 14270 27000")}}));
    EXPECT_EQ(
        result.errorText.toStdString(),
        QStringLiteral("Error: Could not read the Freedb record.\r\n127.0.0.1:%1 refused the command: \"401 "
                       "rock 0c016602 No such CD entry in database.\".")
            .arg(server.Port())
            .toStdString());
    EXPECT_TRUE(result.results.empty());
    EXPECT_EQ(server.Requests().size(), 2u);
}

TEST(ReadCdWorkerTest, DriveNotReadyAndDataDiscs)
{
    WorkerRun notReady;
    EXPECT_EQ(notReady.Go(Drive({})).status, ReadCdState::notReady);

    WorkerRun dataDisc;
    dataDisc.options.mp3 = false;
    EXPECT_EQ(dataDisc.Go(Drive({{readToc, TocBytes("d150 9000")}})).status, ReadCdState::noMusicTracks);

    QTemporaryDir mount;
    QFile::copy(QStringLiteral(TOVRELLINE_TEST_DATA "/mp3/title_only.mp3"),
                mount.filePath(QStringLiteral("x.mp3")));
    WorkerRun mp3Disc;
    const auto result = mp3Disc.Go(Drive({{readToc, TocBytes("d150 9000")}}, mount.path()));
    EXPECT_EQ(result.status, ReadCdState::running); // the reader of the hand-over finishes it
    EXPECT_EQ(result.mp3.count, 1);
    EXPECT_EQ(result.mp3.tagNames, QStringList{QStringLiteral("Lonely Title")});
    EXPECT_EQ(result.mp3.playTimes, QStringList{QStringLiteral("0:01")});
}

} // namespace
} // namespace tvl
