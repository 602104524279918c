#pragma once

#include "document/files/FileResult.h"

#include <functional>

class QIODevice;

namespace tvl {

// Writes a file through a temporary file in the same folder that replaces the old file only after write
// returned true and every byte reached the disk; otherwise the old file stays as it was. openError is
// the message when the file cannot be created.
FileResult<> WriteFileSafely(const QString& path, const std::function<FileResult<>(QIODevice&)>& write,
                             const QString& openError);

} // namespace tvl
