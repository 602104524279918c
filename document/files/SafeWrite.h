#pragma once

#include "document/files/FileResult.h"

#include <functional>

class QIODevice;

namespace tvl {

// Replaces the file at path with what write puts into the device, through WriteFileAtomically: the old file
// stays byte-identical unless the complete new one is on disk. A failure of write itself is returned as it
// stands; any other failure carries failureText as its message and "<path>: <reason>" as its cause. path is
// a file name as FileNameFromBytes gives it.
FileResult<> WriteFileSafely(const QString& path, const std::function<FileResult<>(QIODevice&)>& write,
                             const QString& failureText);

} // namespace tvl
