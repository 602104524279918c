#include "discinfo/BackgroundWorkers.h"
#include "discinfo/ReadCdWorker.h"
#include "discinfo/RecordedDriveFile.h"
#include "discinfo/ServerListFetch.h"

#include "LocalHttpServer.h"

#include <gtest/gtest.h>

#include <QDir>

#include <chrono>
#include <thread>

namespace tvl {
namespace {

using test::LocalHttpServer;
using Clock = std::chrono::steady_clock;

DiscDbServer Local(int port)
{
    DiscDbServer server;
    server.host = QStringLiteral("127.0.0.1");
    server.port = port;
    return server;
}

// Waits for the fetch to end by itself (StopAll would cancel it).
int Finished(const ServerListFetch& fetch)
{
    const auto until = Clock::now() + std::chrono::seconds(10);
    while (fetch.Status() == ServerListFetch::fetching && Clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return fetch.Status();
}

// A server that accepts and then says nothing for ten seconds.
LocalHttpServer::Script Stall()
{
    return {{{QByteArray(), 10000}}, 0};
}

std::vector<RecordedDriveTransport::Drive> AudioDrive()
{
    return ParseRecordedDrives(R"({"drives": [{"device": "/dev/sr0", "toc": "150 14270 27000"}]})",
                               QDir::tempPath())
        .value();
}

TEST(BackgroundReadingTest, CancelledReadingEndsWhileTheServerStalls)
{
    LocalHttpServer server({Stall()});
    auto state = std::make_shared<ReadCdState>();
    auto options = std::make_shared<ReadCdOptions>();
    options->server = Local(server.Port());
    options->fallbackServer.reset();
    options->cdText = options->cdPlayer = false;
    state->runFlag = true;
    auto transport = std::make_shared<RecordedDriveTransport>(AudioDrive());
    BackgroundWorkers workers;
    workers.Start([=] { RunReadCdWorker(*state, transport, *options); }, [state] { state->runFlag = false; });
    while (state->Take().statusText != QStringLiteral(" Searching Freedb "))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(workers.Running(), 1);
    const auto start = Clock::now();
    workers.StopAll();
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_EQ(workers.Running(), 0);
    // The stopped reading leaves no result and no error behind.
    EXPECT_TRUE(state->Take().results.empty());
    EXPECT_EQ(state->Take().status, ReadCdState::running);
}

TEST(BackgroundReadingTest, ServerListIsFetchedOnceAndPublishedWhole)
{
    LocalHttpServer server(
        {{{{LocalHttpServer::Answer("210 OK, site information follows\r\n"
                                    "mirror1 http 80 /~cddb/cddb.cgi N037.23 W122.03 City\r\n"
                                    "mirror2 http 8080 /cgi S033.52 E151.12 Sydney\r\n.\r\n")}}}});
    BackgroundWorkers workers;
    ServerListFetch fetch;
    EXPECT_EQ(fetch.Status(), ServerListFetch::idle);
    ASSERT_TRUE(fetch.Start(workers, Local(server.Port()), QString(), 5000));
    EXPECT_FALSE(fetch.Start(workers, Local(server.Port()), QString(), 5000));
    EXPECT_EQ(Finished(fetch), ServerListFetch::fetched);
    ASSERT_EQ(fetch.Servers().size(), 2);
    EXPECT_EQ(fetch.Servers()[1].host, QStringLiteral("mirror2"));
    // The list holds entries: a second press does nothing and asks no server.
    EXPECT_FALSE(fetch.Start(workers, Local(server.Port()), QString(), 5000));
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST(BackgroundReadingTest, FailedFetchCanBeTriedAgain)
{
    BackgroundWorkers workers;
    ServerListFetch fetch;
    ASSERT_TRUE(fetch.Start(workers, Local(LocalHttpServer::ClosedPort()), QString(), 2000));
    EXPECT_EQ(Finished(fetch), ServerListFetch::failed);
    EXPECT_TRUE(fetch.Servers().isEmpty());
    EXPECT_TRUE(fetch.Start(workers, Local(LocalHttpServer::ClosedPort()), QString(), 2000));
}

TEST(BackgroundReadingTest, RecordedDrivesFile)
{
    const auto drives = ParseRecordedDrives(
        R"({"drives": [{"device": "/dev/sr0", "vendor": "ACME", "model": "Burner", "toc": "150 d4000 9000",
                        "mountPoint": "disc", "cdText": "0004", "answers": {"12000000240000000000": "0102"}},
                       {"device": "/dev/sr1"}]})",
        QStringLiteral("/recordings"));
    ASSERT_TRUE(drives) << drives.error().toStdString();
    ASSERT_EQ(drives.value().size(), 2u);
    const auto& first = drives.value().front();
    EXPECT_EQ(first.info.model, QStringLiteral("Burner"));
    EXPECT_EQ(first.mountPoint, QStringLiteral("/recordings/disc"));
    EXPECT_EQ(first.answers.size(), 3);
    EXPECT_EQ(first.answers.value("43020000000000032400").size(), DiscToc::byteCount);
    EXPECT_EQ(first.answers.value("12000000240000000000"), QByteArray("\x01\x02"));
    EXPECT_TRUE(drives.value().back().answers.isEmpty());

    const char* const bad[] = {
        "not json",
        R"({"drive": []})",
        R"({"drives": [{"vendor": "no device"}]})",
        R"({"drives": [{"device": "/dev/sr0", "toc": "150"}]})",
        R"({"drives": [{"device": "/dev/sr0", "answers": {"43": "00"}}]})",
        R"({"drives": [{"device": "/dev/sr0", "cdText": "xyz"}]})",
    };
    for (const char* text : bad) {
        const auto refused = ParseRecordedDrives(text, QString());
        ASSERT_FALSE(refused) << text;
        EXPECT_FALSE(refused.error().isEmpty()) << text;
    }
}

} // namespace
} // namespace tvl
