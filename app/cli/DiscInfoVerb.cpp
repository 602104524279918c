#include "app/cli/DiscInfoVerb.h"

#include "discinfo/CdDriveAccess.h"
#include "discinfo/CdPlayerFile.h"
#include "discinfo/DiscDbServerText.h"
#include "discinfo/DiscId.h"
#include "discinfo/ReadCdWorker.h"
#include "discinfo/SgTransport.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>

namespace tvl {

namespace {

// The exit codes "tovrelline help" lists.
enum ExitCode
{
    exitFound = 0,
    exitUsage = 1,
    exitNothingFound = 2,
    exitNetworkFailure = 3,
    exitDriveFailure = 4,
};

int UsageError(const QString& message)
{
    std::fprintf(stderr, "disc-info: %s (see \"tovrelline help\")\n", qPrintable(message));
    return exitUsage;
}

int UsageError(const char* message)
{
    return UsageError(QString::fromLatin1(message));
}

// The message on standard error, one line per line of a window message.
int Failure(const QString& message, int exitCode)
{
    QString text = message;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(stderr, "disc-info: %s\n", qPrintable(text));
    return exitCode;
}

bool ParseSources(const QString& text, ReadCdOptions& options)
{
    options.freedb = options.cdText = options.cdPlayer = options.mp3 = false;
    if (text == u"none")
        return true;
    for (const QString& source : text.split(u',')) {
        if (source == u"freedb")
            options.freedb = true;
        else if (source == u"cdtext")
            options.cdText = true;
        else if (source == u"cdplayer")
            options.cdPlayer = true;
        else if (source == u"mp3")
            options.mp3 = true;
        else
            return false;
    }
    return true;
}

QString CleanLength(const QString& text)
{
    return QString(text).remove(u'\b').trimmed();
}

QJsonObject TocJson(const DiscToc& toc)
{
    QJsonArray tracks;
    const int n = toc.TrackCount();
    for (int i = 0; i < n; ++i) {
        tracks.append(QJsonObject{{QStringLiteral("number"), toc.FirstTrack() + i},
                                  {QStringLiteral("offset"), toc.Frames(i)},
                                  {QStringLiteral("data"), toc.IsDataTrack(i)}});
    }
    return {{QStringLiteral("first"), toc.FirstTrack()},
            {QStringLiteral("last"), toc.LastTrack()},
            {QStringLiteral("tracks"), tracks},
            {QStringLiteral("leadOut"), n > 0 ? toc.Frames(n) : 0}};
}

QJsonObject RecordJson(const DiscRecord& record)
{
    return {{QStringLiteral("source"), record.source},
            {QStringLiteral("discId"), QString::asprintf("%08x", record.discId)},
            {QStringLiteral("artist"), record.artist},
            {QStringLiteral("title"), record.title},
            {QStringLiteral("year"), record.year},
            {QStringLiteral("genre"), record.genre},
            {QStringLiteral("trackTitles"), QJsonArray::fromStringList(record.trackTitles)},
            {QStringLiteral("extendedData"), record.extendedData},
            {QStringLiteral("extendedTrackData"), QJsonArray::fromStringList(record.extendedTrackData)}};
}

QJsonObject Report(const ReadCdState::Snapshot& result)
{
    QJsonObject report;
    // The worker has returned: a status still "running" means an MP3 disc whose rows are all read.
    static const char* const statusNames[] = {"finished", "finished", "no music tracks", "not ready"};
    report[QStringLiteral("status")] = QLatin1StringView(statusNames[result.status]);
    if (result.toc.TrackCount() > 0) {
        report[QStringLiteral("toc")] = TocJson(result.toc);
        report[QStringLiteral("discId")] = QString::asprintf("%08x", ComputeDiscId(result.toc));
        report[QStringLiteral("queryCommand")] = BuildQueryCommand(result.toc);
        const TrackLengthsResult lengths = TrackLengths(result.toc);
        QJsonArray lengthTexts;
        for (const QString& length : lengths.lengths)
            lengthTexts.append(CleanLength(length));
        report[QStringLiteral("trackLengths")] = lengthTexts;
        report[QStringLiteral("totalSeconds")] = lengths.totalSeconds;
        report[QStringLiteral("totalTime")] =
            QString::asprintf("%d:%.2d", lengths.totalSeconds / 60, lengths.totalSeconds % 60);
    }
    QJsonArray records;
    for (const DiscRecord& record : result.results)
        records.append(RecordJson(record));
    report[QStringLiteral("records")] = records;
    if (result.mp3.count > 0) {
        QJsonArray files;
        for (int i = 0; i < result.mp3.count; ++i) {
            files.append(QJsonObject{{QStringLiteral("fileName"), result.mp3.fileNames.value(i)},
                                     {QStringLiteral("tagName"), result.mp3.tagNames.value(i)},
                                     {QStringLiteral("time"), result.mp3.playTimes.value(i)}});
        }
        report[QStringLiteral("mp3")] = files;
    }
    if (!result.errorText.isEmpty())
        report[QStringLiteral("error")] = result.errorText;
    return report;
}

// The index of the drive whose device is device (or a link to it); -1 when there is none.
int FindDrive(const CdDriveAccess& access, const QString& device)
{
    const QString wanted = QFileInfo(device).canonicalFilePath();
    for (int i = 0; i < access.GetDriveCount(); ++i) {
        const QString candidate = access.GetDriveDevice(i);
        if (candidate == device || (!wanted.isEmpty() && QFileInfo(candidate).canonicalFilePath() == wanted))
            return i;
    }
    return -1;
}

} // namespace

int RunDiscInfo(std::span<char*> args)
{
    ReadCdOptions options;
    bool sourcesGiven = false;
    std::optional<QString> drive;
    std::optional<DiscToc> toc;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string_view option = args[i];
        constexpr std::string_view known[] = {"--drive", "--toc", "--server", "--sources", "--cdplayer"};
        if (std::ranges::find(known, option) == std::end(known))
            return UsageError(QStringLiteral("unknown option ") + QString::fromLocal8Bit(args[i]));
        if (i + 1 >= args.size())
            return UsageError("missing value after an option");
        const QString value = QString::fromLocal8Bit(args[++i]);
        if (option == "--drive") {
            drive = value;
        } else if (option == "--toc") {
            const auto parsed = DiscToc::FromText(value);
            if (!parsed)
                return UsageError(QStringLiteral("--toc: ") + parsed.error());
            toc = parsed.value();
        } else if (option == "--server") {
            const auto server = ParseServerText(value);
            if (!server)
                return UsageError("the server must be HOST[:PORT][PATH], the path in URL syntax");
            options.server = *server;
        } else if (option == "--sources") {
            if (!ParseSources(value, options))
                return UsageError("the sources are freedb, cdtext, cdplayer and mp3, or none");
            sourcesGiven = true;
        } else {
            options.cdPlayerPath = value;
        }
    }
    if (drive && toc)
        return UsageError("--drive and --toc exclude each other");
    if (!sourcesGiven)
        options.cdPlayer = !options.cdPlayerPath.isEmpty();
    else if (options.cdPlayer && options.cdPlayerPath.isEmpty())
        return UsageError("the cdplayer source needs --cdplayer FILE");
    if (options.cdPlayer) {
        const auto readable = ReadCdPlayerBytes(options.cdPlayerPath);
        if (!readable)
            return UsageError(
                QStringLiteral("--cdplayer %1: %2").arg(options.cdPlayerPath, readable.error()));
    }
    // The server the user named, or the public one, answers or the verb fails: it never asks another.
    options.fallbackServer.reset();

    ReadCdState state;
    state.runFlag = true;
    if (toc) {
        state.SetToc(*toc);
        bool allData = true;
        for (int i = 0; i < toc->TrackCount(); ++i)
            allData = allData && toc->IsDataTrack(i);
        if (allData) {
            state.SetStatus(ReadCdState::noMusicTracks);
        } else {
            options.cdText = false;
            ReadDiscSources(state, *toc, CdTextAlbum(), options);
        }
    } else {
        const auto transport = std::make_shared<SgTransport>();
        CdDriveAccess access(transport);
        access.Initialise();
        if (access.GetDriveCount() == 0)
            return Failure(QStringLiteral("There are no CD-ROM drives attached to your system."),
                           exitDriveFailure);
        const int index = drive ? FindDrive(access, *drive) : 0;
        if (index < 0)
            return Failure(QStringLiteral("%1 is not an optical drive.").arg(*drive), exitDriveFailure);
        state.SetDriveIndex(index);
        RunReadCdWorker(state, transport, options);
    }
    const ReadCdState::Snapshot result = state.Take();
    std::fputs(QJsonDocument(Report(result)).toJson(QJsonDocument::Indented).constData(), stdout);
    if (result.status == ReadCdState::notReady)
        return Failure(QStringLiteral("The CD-ROM drive is not ready."), exitDriveFailure);
    if (result.status == ReadCdState::noMusicTracks)
        return Failure(QStringLiteral("The CD does not contain any music tracks."), exitNothingFound);
    if (!result.errorText.isEmpty())
        return Failure(result.errorText, exitNetworkFailure);
    const bool asked = options.freedb || options.cdText || options.cdPlayer || options.mp3;
    if (asked && result.results.empty() && result.mp3.count == 0)
        return Failure(QStringLiteral("The album information could not be found."), exitNothingFound);
    return exitFound;
}

} // namespace tvl
