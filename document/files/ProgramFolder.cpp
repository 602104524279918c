#include "document/files/ProgramFolder.h"

#include <QDir>
#include <QStandardPaths>

namespace tvl {

QString ProgramFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                           QStringLiteral("/Tovrelline/");
    QDir().mkpath(folder);
    return folder;
}

} // namespace tvl
