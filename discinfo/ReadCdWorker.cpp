#include "discinfo/ReadCdWorker.h"

#include "discinfo/CdDriveAccess.h"
#include "discinfo/CdPlayerFile.h"
#include "discinfo/DiscDbClient.h"
#include "discinfo/DiscDbServerText.h"
#include "discinfo/DiscId.h"
#include "discinfo/Mp3Reader.h"

#include <exception>
#include <utility>

namespace tvl {

namespace {

const QString paragraph = QStringLiteral("\r\n\r\n");

// The message for a query that did not give an answer; failures names the servers tried and why.
QString QueryErrorText(int result, const DiscDbError& failure, const QString& failures)
{
    switch (result) {
    case DiscDbClient::queryNoSocket:
        return QStringLiteral("Tovrelline requires an internet connection to search the Freedb database.");
    case DiscDbClient::queryNoConnection:
        return QStringLiteral(
                   "Tovrelline could not connect to the Freedb server.\r\n\r\nPlease make sure your "
                   "computer is connected to the internet and\r\nthat there is no firewall software "
                   "blocking Tovrelline.\r\n\r\nYou may have to re-boot your computer to correct "
                   "this problem.") +
               paragraph + failures;
    case DiscDbClient::queryReceiveFailed:
        if (failure.kind == DiscDbFailure::Silent)
            return QStringLiteral("Error: The Freedb server did not respond in time. (Timeout)") + paragraph +
                   failures;
        return QStringLiteral("Error: ") + failures;
    default:
        return QStringLiteral("An unexpected error occurred while connected to the Freedb server.") +
               paragraph + failures;
    }
}

// False when the run flag was cleared on the way.
bool ReadDiscDatabase(ReadCdState& state, const DiscToc& toc, ReadCdOptions& options)
{
    state.SetStatusText(QStringLiteral(" Connecting to ") + options.databaseName + u' ');
    const QString command = BuildQueryCommand(toc);
    if (!state.runFlag)
        return false;
    DiscDbClient client(options.timeoutMs, options.deadlineMs);
    client.SetHelloAddress(options.helloAddress);
    client.SetCancelCheck([&state] { return !state.runFlag; });
    state.SetStatusText(QStringLiteral(" Searching ") + options.databaseName + u' ');
    QList<DiscDbMatch> matches;
    int result = client.Query(options.server, command, matches);
    if (!state.runFlag)
        return false;
    QString unreachable;
    if (result == DiscDbClient::queryNoConnection && options.fallbackServer) {
        unreachable = client.LastError().Message();
        options.server = *options.fallbackServer;
        matches.clear();
        result = client.Query(options.server, command, matches);
        if (!state.runFlag)
            return false;
    }
    if (result != DiscDbClient::queryDone) {
        const QString failures = unreachable.isEmpty() ? client.LastError().Message()
                                                       : unreachable + u' ' + client.LastError().Message();
        state.SetErrorText(QueryErrorText(result, client.LastError(), failures));
        return true;
    }
    // An answer whose status says the query failed (the ok flag may still be clear from the first server).
    if (client.LastError().kind != DiscDbFailure::None) {
        state.SetErrorText(QStringLiteral("Error: ") + client.LastError().Message());
        return true;
    }
    // The user asked another server: say where the answer came from.
    QString errorText;
    if (!unreachable.isEmpty())
        errorText =
            unreachable +
            QStringLiteral(" The disc database at %1 answered instead.").arg(ServerAddress(options.server));
    if (!matches.isEmpty())
        state.SetStatusText(QStringLiteral(" Retrieving Freedb records"));
    for (const DiscDbMatch& match : matches) {
        if (!state.runFlag)
            return false;
        DiscRecord record;
        if (!client.ReadRecord(options.server, match.discId, match.category, record)) {
            const QString readError =
                QStringLiteral("Error: Could not read the Freedb record.\r\n") + client.LastError().Message();
            errorText = errorText.isEmpty() ? readError : errorText + paragraph + readError;
            break;
        }
        record.source = QStringLiteral("Freedb");
        state.AppendResult(std::move(record));
    }
    if (!errorText.isEmpty())
        state.SetErrorText(errorText);
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
