#include "discinfo/ReadCdWorker.h"

#include "discinfo/CdDriveAccess.h"
#include "discinfo/CdPlayerFile.h"
#include "discinfo/DiscDbClient.h"
#include "discinfo/DiscId.h"
#include "discinfo/Mp3Reader.h"

#include <exception>
#include <utility>

namespace tvl {

namespace {

QString QueryErrorText(int result)
{
    switch (result) {
    case DiscDbClient::queryNoSocket:
        return QStringLiteral("Tovrelline requires an internet connection to search the Freedb database.");
    case DiscDbClient::queryNoConnection:
        return QStringLiteral(
            "Tovrelline could not connect to the Freedb server.\r\n\r\nPlease make sure your "
            "computer is connected to the internet and\r\nthat there is no firewall software "
            "blocking Tovrelline.\r\n\r\nYou may have to re-boot your computer to correct "
            "this problem.");
    case DiscDbClient::queryReceiveFailed:
        return QStringLiteral("Error: The Freedb server did not respond in time. (Timeout)");
    default:
        return QStringLiteral("An unexpected error occurred while connected to the Freedb server.");
    }
}

// False when the run flag was cleared on the way.
bool ReadDiscDatabase(ReadCdState& state, const DiscToc& toc, ReadCdOptions& options)
{
    state.SetStatusText(QStringLiteral(" Connecting to ") + options.databaseName + u' ');
    const QString command = BuildQueryCommand(toc);
    if (!state.runFlag)
        return false;
    DiscDbClient client(options.timeoutMs);
    state.SetStatusText(QStringLiteral(" Searching ") + options.databaseName + u' ');
    QList<DiscDbMatch> matches;
    int result = client.Query(options.server, command, matches);
    if (result == DiscDbClient::queryNoConnection) {
        options.server = options.fallbackServer;
        matches.clear();
        result = client.Query(options.server, command, matches);
    }
    if (result != DiscDbClient::queryDone) {
        state.SetErrorText(QueryErrorText(result));
        return true;
    }
    if (!matches.isEmpty())
        state.SetStatusText(QStringLiteral(" Retrieving Freedb records"));
    for (const DiscDbMatch& match : matches) {
        if (!state.runFlag)
            return false;
        DiscRecord record;
        if (!client.ReadRecord(options.server, match.discId, match.category, record)) {
            state.SetErrorText(QStringLiteral("Error: Could not read the Freedb record."));
            break;
        }
        record.source = QStringLiteral("Freedb");
        state.AppendResult(std::move(record));
    }
    return true;
}

} // namespace

void ReadDiscSources(ReadCdState& state, const DiscToc& toc, const CdTextAlbum& album, ReadCdOptions& options)
{
    const int n = toc.TrackCount();
    if (options.freedb && !ReadDiscDatabase(state, toc, options))
        return;
    if (options.cdText) {
        state.SetStatusText(QStringLiteral(" Scanning CD-TEXT "));
        if (!album.IsEmpty()) {
            DiscRecord record;
            record.artist = album.artist;
            record.title = album.title;
            for (int i = 1; i <= n && i < album.trackEntries.size(); ++i)
                record.trackTitles.append(album.trackEntries[i]);
            record.source = QStringLiteral("CD-TEXT");
            state.AppendResult(std::move(record));
        }
    }
    if (options.cdPlayer) {
        state.SetStatusText(QStringLiteral(" Scanning CDPlayer File "));
        if (auto record = ReadCdPlayerFile(toc, options.cdPlayerPath))
            state.AppendResult(std::move(*record));
    }
    state.SetStatus(ReadCdState::finished);
}

void RunReadCdWorker(ReadCdState& state, std::shared_ptr<DriveTransport> transport, ReadCdOptions& options)
{
    int step = 0;
    try {
        step = 1;
        CdDriveAccess access(std::move(transport));
        access.Initialise();
        DiscToc toc;
        toc.ClearHeader();
        CdTextAlbum album;
        const int drive = state.DriveIndex();
        access.ReadTableOfContents(drive, toc, options.cdText, album,
                                   [&state](const QString& text) { state.SetStatusText(text); });
        state.SetToc(toc);
        step = 2;
        const int n = toc.TrackCount();
        if (n == 0) {
            state.SetStatus(ReadCdState::notReady);
            return;
        }
        step = 3;
        bool allData = true;
        for (int i = 0; i < n; ++i)
            allData = allData && toc.IsDataTrack(i);
        if (allData) {
            if (options.mp3)
                ReadMp3Files(state, access.GetMountPoint(drive));
            else
                state.SetStatus(ReadCdState::noMusicTracks);
            return;
        }
        step = 4;
        ReadDiscSources(state, toc, album, options);
    } catch (const std::exception&) {
        state.SetErrorText(QStringLiteral("Error 358 - Step %1").arg(step));
        state.SetStatus(ReadCdState::finished);
    }
}

} // namespace tvl
