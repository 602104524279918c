#include "discinfo/ServerListFetch.h"

#include "discinfo/DiscDbClient.h"

#include <atomic>
#include <exception>
#include <mutex>

namespace tvl {

struct ServerListFetch::Shared
{
    mutable std::mutex lock;
    int status = idle;
    QList<DiscDbServer> servers;
    std::atomic<bool> stop{false};
};

ServerListFetch::ServerListFetch()
    : shared(std::make_shared<Shared>())
{
}

bool ServerListFetch::Start(BackgroundWorkers& workers, const DiscDbServer& server,
                            const QString& helloAddress, int timeoutMs, int deadlineMs)
{
    {
        const std::lock_guard guard(shared->lock);
        if (shared->status == fetching || !shared->servers.isEmpty())
            return false;
        shared->status = fetching;
    }
    workers.Start(
        [state = shared, server, helloAddress, timeoutMs, deadlineMs] {
            QList<DiscDbServer> sites;
            bool ok = false;
            try {
                DiscDbClient client(timeoutMs, deadlineMs);
                client.SetHelloAddress(helloAddress);
                client.SetCancelCheck([&state] { return state->stop.load(); });
                ok = client.GetSites(server, sites);
            } catch (const std::exception&) {
                ok = false;
            }
            const std::lock_guard guard(state->lock);
            if (ok)
                state->servers = sites;
            state->status = ok ? fetched : failed;
        },
        [state = shared] { state->stop = true; });
    return true;
}

int ServerListFetch::Status() const
{
    const std::lock_guard guard(shared->lock);
    return shared->status;
}

QList<DiscDbServer> ServerListFetch::Servers() const
{
    const std::lock_guard guard(shared->lock);
    return shared->status == fetching ? QList<DiscDbServer>() : shared->servers;
}

} // namespace tvl
