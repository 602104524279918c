// Cases that would reach beyond this machine; run only inside a network namespace of their own.
#include "app/cli/CommandLine.h"
#include "discinfo/DiscDbClient.h"
#include "discinfo/ReadCdWorker.h"

#include "LocalHttpServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace tvl {
namespace {

using test::LocalHttpServer;

const QString queryCommand = QStringLiteral("cddb+query+0c016602+2+150+14270+360");
const std::string publicHost = DiscDbServer::DefaultPublic().host.toStdString();

DiscDbServer Server(const char* host, int port)
{
    DiscDbServer server;
    server.host = QString::fromLatin1(host);
    server.port = port;
    return server;
}

struct Outcome
{
    int exitCode = -1;
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
    testing::internal::GetCapturedStdout();
    outcome.errors = testing::internal::GetCapturedStderr();
    return outcome;
}

TEST(IsolatedNetworkTest, UnresolvableAndUnreachableServers)
{
    const struct
    {
        DiscDbServer server;
        DiscDbFailure kind;
        const char* message;
    } cases[] = {
        {Server("no-such-host.invalid", 80), DiscDbFailure::Unresolvable,
         "The server name of no-such-host.invalid:80 could not be resolved."},
        {Server("192.0.2.1", 80), DiscDbFailure::Unreachable, "192.0.2.1:80 could not be reached."},
        {Server("2001:db8::1", 8080), DiscDbFailure::Unreachable, "[2001:db8::1]:8080 could not be reached."},
    };
    for (const auto& c : cases) {
        DiscDbClient client(2000);
        QList<DiscDbMatch> matches;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(client.Query(c.server, queryCommand, matches), DiscDbClient::queryNoConnection)
            << c.message;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30)) << c.message;
        EXPECT_EQ(client.LastError().kind, c.kind) << c.message;
        EXPECT_EQ(client.LastError().Message(), QString::fromLatin1(c.message));
    }
}

// The window's worker asks the public server when the configured one cannot be reached, and says so.
TEST(IsolatedNetworkTest, TheWorkerFallsBackToThePublicServer)
{
    const DiscToc toc = DiscToc::FromText(QStringLiteral("150 14270 27000")).value();
    ReadCdState state;
    state.runFlag = true;
    ReadCdOptions options;
    options.server = Server("127.0.0.1", LocalHttpServer::ClosedPort());
    options.cdText = false;
    options.cdPlayer = false;
    options.timeoutMs = 2000;
    ReadDiscSources(state, toc, CdTextAlbum(), options);
    const QString errorText = state.Take().errorText;
    EXPECT_EQ(options.server.host, DiscDbServer::DefaultPublic().host);
    EXPECT_TRUE(errorText.startsWith(QStringLiteral("Tovrelline could not connect to the Freedb server.")));
    EXPECT_TRUE(errorText.contains(QStringLiteral("refused the connection.")));
    EXPECT_TRUE(
        errorText.contains(DiscDbServer::DefaultPublic().host + QStringLiteral(":80 could not be resolved")))
        << errorText.toStdString();
}

TEST(IsolatedNetworkTest, TheVerbNeverFallsBack)
{
    const std::string port = std::to_string(LocalHttpServer::ClosedPort());
    const Outcome refused = RunVerb({"--toc", "150 14270 27000", "--server", "127.0.0.1:" + port});
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_NE(refused.errors.find("127.0.0.1:" + port + " refused the connection."), std::string::npos)
        << refused.errors;
    EXPECT_EQ(refused.errors.find(publicHost), std::string::npos) << refused.errors;

    const Outcome unresolvable = RunVerb({"--toc", "150 14270 27000", "--server", "no-such-host.invalid"});
    EXPECT_EQ(unresolvable.exitCode, 3);
    EXPECT_NE(unresolvable.errors.find("The server name of no-such-host.invalid:80 could not be resolved."),
              std::string::npos)
        << unresolvable.errors;
    EXPECT_EQ(unresolvable.errors.find(publicHost), std::string::npos) << unresolvable.errors;

    // Without --server the public server is the one asked, and the only one.
    const Outcome publicServer = RunVerb({"--toc", "150 14270 27000"});
    EXPECT_EQ(publicServer.exitCode, 3);
    EXPECT_NE(publicServer.errors.find(publicHost + ":80 could not be resolved"), std::string::npos)
        << publicServer.errors;
}

} // namespace
} // namespace tvl
