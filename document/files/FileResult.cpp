#include "document/files/FileResult.h"

namespace tvl {

QString ErrorText(int code, int stage)
{
    QString text = QStringLiteral("Error ") + QString::number(code);
    if (stage > 0)
        text += QStringLiteral(" - Step: ") + QString::number(stage);
    return text;
}

QString FullMessage(const FileError& error)
{
    if (error.cause.isEmpty())
        return error.message;
    return error.message + u' ' + error.cause;
}

} // namespace tvl
