#include "app/cli/ReadError.h"

#include "document/files/FileResult.h"

#include <QByteArray>
#include <cstdio>

namespace tvl {

void PrintReadError(const char* path, const FileError& error)
{
    QString message = error.message;
    if (message.endsWith(u'.'))
        message.chop(1);
    QByteArray line = message.toLocal8Bit() + ": " + path;
    if (!error.cause.isEmpty())
        line += ": " + error.cause.toLocal8Bit();
    std::fprintf(stderr, "%s\n", line.constData());
}

} // namespace tvl
