#include "app/cli/DumpVerb.h"

#include "app/cli/DesignDump.h"
#include "app/cli/ReadError.h"
#include "app/cli/VerbOutput.h"
#include "document/design/DesignDocument.h"
#include "document/design/ReadIntoDocument.h"

#include <QJsonDocument>
#include <cstdio>
#include <string_view>

namespace tvl {

int RunDumpVerb(std::span<char*> args)
{
    const char* path = nullptr;
    for (const char* arg : args) {
        // Text and track layout has no effect yet on what is stored; the option is accepted for scripts.
        if (std::string_view(arg) == "--layout")
            continue;
        if (path) {
            path = nullptr;
            break;
        }
        path = arg;
    }
    if (!path) {
        std::fprintf(stderr, "Usage: tovrelline dump FILE.tvl [--layout]\n");
        return 2;
    }
    DesignDocument document;
    const FileResult<DesignReadNotes> read =
        ReadIntoDocument(document, ArgumentFileName(path), PictureReading::HeadersOnly);
    if (!read) {
        PrintReadError(path, read.error());
        return 1;
    }
    PrintReadNotices(read.value(), document.design());
    const QByteArray json =
        QJsonDocument(DumpDesign(document, read.value().pictureHeaders)).toJson(QJsonDocument::Indented);
    std::fwrite(json.constData(), 1, static_cast<size_t>(json.size()), stdout);
    return 0;
}

} // namespace tvl
