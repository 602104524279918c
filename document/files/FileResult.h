#pragma once

#include "base/Result.h"

#include <QString>
#include <variant>

namespace tvl {

// Why a file operation failed. code is the routine's error number when the failure is unexpected (the
// message is then "Error <code>", with " - Step: <stage>" when a stage is known); 0 for expected
// conditions whose message is shown as it stands.
struct FileError
{
    enum class Kind
    {
        Failed,  // the file could not be read or written
        Refused, // the file is of a version this program does not open
    };

    Kind kind = Kind::Failed;
    QString message;
    int code = 0;
    int stage = 0;
    // What went wrong beyond the message: for a failed write the file and the system's reason
    // ("<path>: <reason>"), for a failed read a few words for standard error ("the file ends inside an
    // item record"); the window shows only the message of a failed read.
    QString cause = {};
};

// The message followed by the cause, when there is one: what a verb prints and a window shows.
QString FullMessage(const FileError& error);

template <class T = std::monostate>
using FileResult = Result<T, FileError>;

// "Error n" or "Error n - Step: k".
QString ErrorText(int code, int stage = 0);

} // namespace tvl
