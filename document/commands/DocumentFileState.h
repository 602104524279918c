#pragma once

#include <QString>

namespace tvl {

// What the document knows about the design's file: path, caption title, modified flag, the one-time
// fallback to a default design, and the version of the last file read.
struct DocumentFileState
{
    QString path;
    QString title;
    bool modified = false;
    bool fallback = true;
    int fileVersion = -1;

    // Sets the path and takes the title from its file name.
    void SetPath(const QString& newPath);
};

// The file name part of a path (after the last '/').
QString FileNamePart(const QString& path);
// The folder part of a path, up to and including the last '/'.
QString FolderPart(const QString& path);

} // namespace tvl
