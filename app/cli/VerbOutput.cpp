#include "app/cli/VerbOutput.h"

#include "document/files/DesignFile.h"
#include "document/files/PictureBlock.h"
#include "storage/LocalFileName.h"

#include <cstdio>

namespace tvl {

QString ArgumentFileName(const char* argument)
{
    return FileNameFromBytes(QByteArrayView(argument));
}

void PrintError(const QString& message)
{
    const QByteArray line = FileNameBytes(message) + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
}

void PrintReadNotices(const DesignContent& content)
{
    for (const int code : content.reportedErrors)
        PrintError(ErrorText(code));
    if (const QString pictures = UndecodedPictureNotice(content.design); !pictures.isEmpty())
        PrintError(pictures);
}

} // namespace tvl
