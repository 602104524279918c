#include "document/files/SafeWrite.h"

#include "storage/AtomicFile.h"

#include <optional>

namespace tvl {

FileResult<> WriteFileSafely(const QString& path, const std::function<FileResult<>(QIODevice&)>& write,
                             const QString& failureText)
{
    std::optional<FileError> contentError;
    const AtomicWriteResult result = WriteFileAtomically(path, [&](QIODevice& device) {
        FileResult<> written = write(device);
        if (!written)
            contentError = written.error();
        return written.ok();
    });
    switch (result.status) {
    case AtomicWriteResult::Status::Written:
        return std::monostate{};
    case AtomicWriteResult::Status::Declined:
        return *contentError;
    case AtomicWriteResult::Status::Failed:
        break;
    }
    FileError error{FileError::Kind::Failed, failureText, 0, 0};
    error.cause = result.cause;
    return error;
}

} // namespace tvl
