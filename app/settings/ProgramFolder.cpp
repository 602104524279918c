#include "app/settings/ProgramFolder.h"

#include <QStandardPaths>

namespace tvl {

QString ProgramFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Tovrelline");
}

} // namespace tvl
