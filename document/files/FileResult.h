#pragma once

#include "document/model/Result.h"

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
};

template <class T = std::monostate>
using FileResult = Result<T, FileError>;

// "Error n" or "Error n - Step: k".
QString ErrorText(int code, int stage = 0);

} // namespace tvl
