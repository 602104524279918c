#include "document/commands/DocumentFileState.h"

namespace tvl {

void DocumentFileState::SetPath(const QString& newPath)
{
    path = newPath;
    title = FileNamePart(newPath);
}

QString FileNamePart(const QString& path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString FolderPart(const QString& path)
{
    return path.left(path.lastIndexOf(u'/') + 1);
}

} // namespace tvl
