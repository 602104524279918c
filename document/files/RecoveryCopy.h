#pragma once

#include "document/files/DesignFile.h"

#include <QString>
#include <memory>
#include <optional>

class QLockFile;

namespace tvl {

// The copy of unsaved work that outlives a crash: a design file (same format) in the user's state
// folder, named after the process that writes it, with the path of the design's own file beside it.
// A lock file held while the program runs tells a live program's copy from one left behind, so two
// programs running at once keep separate copies and never take each other's.
class RecoveryCopy
{
public:
    // "$XDG_STATE_HOME/Tovrelline", or "~/.local/state/Tovrelline" when the variable is not set.
    static QString DefaultFolder();

    // Takes the lock of the process's copy; the folder is made when needed.
    RecoveryCopy(QString folder, qint64 processId);
    ~RecoveryCopy();
    RecoveryCopy(const RecoveryCopy&) = delete;
    RecoveryCopy& operator=(const RecoveryCopy&) = delete;

    QString path() const;
    bool Exists() const;
    // Writes the copy through a temporary file that replaces the old copy only when complete.
    FileResult<> Write(LabelDesign& design, const LiveDesignState& live, const QString& originalPath);
    void Remove();

    // A copy whose program no longer runs.
    struct Orphan
    {
        QString copyPath;
        QString originalPath; // empty when the design had no file
    };
    // The first copy left behind by a program that ended without removing it. Call before the first Write:
    // a copy under this process's own name can only be a leftover then.
    std::optional<Orphan> FindOrphan() const;
    // Deletes an orphan (its lock too, unless it carries this process's own name).
    void Discard(const Orphan& orphan);

private:
    QString m_folder;
    qint64 m_processId;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace tvl
