#pragma once

#include <QString>

#include <functional>
#include <optional>

class QIODevice;

namespace tvl {

// How replacing a file ended.
struct AtomicWriteResult
{
    enum class Status
    {
        Written,  // the new file is complete, on disk and under its name
        Declined, // write returned false without a device error; nothing changed
        Failed,   // see cause
    };
    Status status = Status::Written;
    // For Failed: the path and the system's reason, as "<path>: <reason>".
    QString cause;
};

// Replaces the file at path with what write puts into the device, or leaves it as it was. The bytes go to
// an unnamed temporary file in the target's folder (a hidden named one where the file system has no unnamed
// files) that is synced, given the old file's permissions, linked under a temporary name and renamed over the
// target; then the folder is synced. Every write, sync, link, close and rename is checked: on any failure the
// old file is byte-identical and no temporary file is left. Only the folder sync comes after the rename, so
// when just that fails the new file is complete and in place, and the result is still Failed because it may
// not survive a crash.
//
// path is a file name as FileNameFromBytes gives it. A symbolic link is written through to the regular file
// it names and stays a link. Anything else that is not a regular file (a device, a pipe, a folder, a link to
// nothing) is refused and left untouched.
AtomicWriteResult WriteFileAtomically(const QString& path, const std::function<bool(QIODevice&)>& write);

} // namespace tvl
