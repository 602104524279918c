#pragma once

#include "discinfo/DiscRecord.h"
#include "discinfo/DiscToc.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <mutex>
#include <vector>

namespace tvl {

// Rows of an MP3 disc handed from the reading worker to the dialog.
struct Mp3HandOver
{
    QStringList fileNames; // complete before count is set
    QStringList tagNames;  // one per file read so far; empty when a file has no tag name
    QStringList playTimes; // one per file read so far; empty when no time was found
    int count = 0;
};

// State shared by the Read CD worker and the dialog that polls it. Every field but the run flag is
// guarded by one lock; Snapshot takes a consistent copy in one pass.
class ReadCdState
{
public:
    enum Status
    {
        running = 0,
        finished = 1,
        noMusicTracks = 2,
        notReady = 3,
    };

    struct Snapshot
    {
        int status = running;
        QString statusText;
        QString errorText;
        DiscToc toc;
        std::vector<DiscRecord> results;
        int driveIndex = 0;
        Mp3HandOver mp3;
    };

    // Cleared to stop the worker at its next check.
    std::atomic<bool> runFlag{false};

    Snapshot Take() const;

    int Status() const;
    void SetStatus(int status);
    void SetStatusText(const QString& text);
    void SetErrorText(const QString& text);
    void SetToc(const DiscToc& toc);
    int DriveIndex() const;
    void SetDriveIndex(int index);

    void AppendResult(DiscRecord record);
    // Frees every result record.
    void ClearResults();

    void ResetMp3();
    void SetMp3FileNames(const QStringList& names, int count);
    void AppendMp3Row(const QString& tagName, const QString& playTime);

private:
    mutable std::mutex lock;
    Snapshot state;
};

} // namespace tvl
