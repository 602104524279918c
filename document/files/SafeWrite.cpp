#include "document/files/SafeWrite.h"

#include <QSaveFile>

namespace tvl {

FileResult<> WriteFileSafely(const QString& path, const std::function<FileResult<>(QIODevice&)>& write,
                             const QString& openError)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return FileError{FileError::Kind::Failed, openError, 0, 0};
    FileResult<> written = write(file);
    if (!written) {
        file.cancelWriting();
        return written;
    }
    if (!file.commit())
        return FileError{FileError::Kind::Failed, openError, 0, 0};
    return written;
}

} // namespace tvl
