#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace tvl {

// Lists the files of a folder that match wildcard patterns, optionally with all sub-folders.
// Sub-folders are visited depth-first in the order the file system lists them; each folder is recorded
// after all of its sub-folders, so the folder list ends with the start folder. Patterns match without
// regard to case; symbolic links to folders are not followed, and a recursive search never enters /proc
// or /sys (endless pseudo-files).
class FileFinder
{
public:
    struct FoundFile
    {
        QString path;
        qint64 size = 0;
    };

    // stopRequested, when given, is asked between entries; a search ends early once it answers true.
    explicit FileFinder(std::function<bool()> stopRequested = {});

    // patterns: wildcard patterns separated by ";"; empty to collect only the folders. Files and
    // folders are appended to what earlier searches found.
    void Search(const QString& startFolder, const QString& patterns, bool recursive);

    const QList<FoundFile>& Files() const { return files; }
    const QStringList& Folders() const { return folders; }
    void ClearFiles() { files.clear(); }
    // Told of each file the moment it is found, for a caller that shows results while the search runs.
    void SetFoundHandler(std::function<void(const FoundFile&)> handler) { found = std::move(handler); }

private:
    void ListFiles(const QString& folder, const QStringList& patterns);
    void Visit(const QString& folder, const QStringList& patterns);
    bool Aborted() const { return stopRequested && stopRequested(); }

    std::function<bool()> stopRequested;
    std::function<void(const FoundFile&)> found;
    QList<FoundFile> files;
    QStringList folders;
};

} // namespace tvl
