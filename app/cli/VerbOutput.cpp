#include "app/cli/VerbOutput.h"

#include "document/design/ReadIntoDocument.h"
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

void PrintReadNotices(const DesignReadNotes& notes, const LabelDesign& design)
{
    for (const int code : notes.reportedErrors)
        PrintError(ErrorText(code));
    if (const QString pictures = UndecodedPictureNotice(design); !pictures.isEmpty())
        PrintError(pictures);
}

} // namespace tvl
