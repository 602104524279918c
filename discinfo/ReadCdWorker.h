#pragma once

#include "discinfo/CdTextAlbum.h"
#include "discinfo/DiscDbServer.h"
#include "discinfo/DiscToc.h"
#include "discinfo/DriveTransport.h"
#include "discinfo/ReadCdState.h"

#include <QString>

#include <memory>
#include <optional>

namespace tvl {

// What a Read CD run reads and from where.
struct ReadCdOptions
{
    bool freedb = true;
    bool cdText = true;
    bool cdPlayer = true;
    bool mp3 = true;
    QString cdPlayerPath;
    // The server asked first; replaced by fallbackServer, when there is one, when it cannot be reached.
    // The error text then names both servers.
    DiscDbServer server = DiscDbServer::DefaultPublic();
    std::optional<DiscDbServer> fallbackServer = DiscDbServer::DefaultPublic();
    QString databaseName = QStringLiteral("Freedb");
    // Sent in the hello instead of the machine's names when not empty.
    QString helloAddress;
    int timeoutMs = 20000;
    int deadlineMs = 60000;
};

// The Read CD worker: reads the table of contents (and CD-TEXT) of the disc in the state's drive through
// a fresh drive access, then every source the options name, and leaves the outcome in state. Runs on a
// worker thread; options is read, and its server replaced, by this call alone while it runs.
void RunReadCdWorker(ReadCdState& state, std::shared_ptr<DriveTransport> transport, ReadCdOptions& options);

// The steps after the table of contents for an audio disc: the disc database, CD-TEXT (from album) and
// the CD player's file; sets the status to finished.
void ReadDiscSources(ReadCdState& state, const DiscToc& toc, const CdTextAlbum& album,
                     ReadCdOptions& options);

} // namespace tvl
