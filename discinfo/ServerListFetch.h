#pragma once

#include "discinfo/BackgroundWorkers.h"
#include "discinfo/DiscDbServer.h"

#include <QList>
#include <QString>

#include <memory>

namespace tvl {

// The list of public disc-database servers, fetched at most once per run with the sites command on a
// worker. One fetch at a time; the list is published whole, under the lock, before the status says so.
class ServerListFetch
{
public:
    enum Status
    {
        idle = -1,
        fetching = 0,
        fetched = 1,
        failed = 2,
    };

    ServerListFetch();

    // Starts fetching from server unless a fetch runs or the list already holds entries; false then.
    bool Start(BackgroundWorkers& workers, const DiscDbServer& server, const QString& helloAddress,
               int timeoutMs = 20000, int deadlineMs = 60000);
    int Status() const;
    // The list; empty while a fetch runs.
    QList<DiscDbServer> Servers() const;

private:
    struct Shared;
    std::shared_ptr<Shared> shared;
};

} // namespace tvl
