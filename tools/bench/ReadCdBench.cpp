// How the Read CD dialog keeps the window alive while a disc-database server stalls: the longest gap of
// the event loop during the reading, how long Cancel takes to close the dialog, and how long the program
// then waits for the worker when it quits. The server is a loopback one that accepts and never answers.
#include "app/messages/MessageRequest.h"
#include "app/readcd/ReadCdDialog.h"
#include "app/readcd/ReadCdSession.h"
#include "app/settings/AppSettings.h"
#include "app/settings/SettingsStore.h"
#include "discinfo/CdDriveAccess.h"
#include "discinfo/RecordedDriveFile.h"
#include "document/design/DesignDocument.h"

#include "../../tests/discinfo/LocalHttpServer.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>

namespace {

using tvl::test::LocalHttpServer;

void ReadFromStalledServer(benchmark::State& state)
{
    double longestGap = 0;
    double longestCancel = 0;
    double longestQuit = 0;
    for (auto _ : state) {
        LocalHttpServer server({{{{QByteArray(), 30000}}, 0}});
        QTemporaryDir dir;
        tvl::SettingsStore store(dir.filePath(QStringLiteral("settings.ini")));
        tvl::AppSettings settings = tvl::LoadSettings(store, dir.path());
        settings.cdPlayer = false;
        tvl::MessageRequest request;
        auto session = std::make_unique<tvl::ReadCdSession>(store, settings, request);
        session->currentServer.server.host = QStringLiteral("127.0.0.1");
        session->currentServer.server.port = server.Port();
        session->fallbackServer.reset();
        const auto drives = tvl::ParseRecordedDrives(
            R"({"drives": [{"device": "/dev/sr0", "toc": "150 14270 27000"}]})", dir.path());
        auto transport = std::make_shared<tvl::RecordedDriveTransport>(drives.value());
        session->openTransport = [transport] { return transport; };
        session->showMessage = [](tvl::MessageRequest&, QWidget*) { return 1; };
        tvl::CdDriveAccess access(transport);
        access.Initialise();
        tvl::DesignDocument document;
        tvl::ReadCdDialog dialog(*session, access, document);
        dialog.show();
        dialog.DefaultButton()->click();

        // Ticks every 5 ms for a second while the worker waits on the server.
        QElapsedTimer clock;
        clock.start();
        qint64 last = 0;
        qint64 gap = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, &ticker, [&] {
            const qint64 now = clock.nsecsElapsed();
            gap = std::max(gap, now - last);
            last = now;
        });
        ticker.start(5);
        while (clock.elapsed() < 1000)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        ticker.stop();

        QElapsedTimer cancel;
        cancel.start();
        dialog.reject();
        const double cancelMs = cancel.nsecsElapsed() / 1e6;
        QElapsedTimer quit;
        quit.start();
        session.reset();
        const double quitMs = quit.nsecsElapsed() / 1e6;

        longestGap = std::max(longestGap, gap / 1e6);
        longestCancel = std::max(longestCancel, cancelMs);
        longestQuit = std::max(longestQuit, quitMs);
    }
    state.counters["longest_gap_ms"] = longestGap;
    state.counters["cancel_ms"] = longestCancel;
    state.counters["quit_wait_ms"] = longestQuit;
}
BENCHMARK(ReadFromStalledServer)->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace
