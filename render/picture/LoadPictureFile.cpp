#include "render/picture/LoadPictureFile.h"

#include "document/model/CRichChild.h"
#include "images/CxImage.h"

#include <QFile>

namespace tvl {
namespace {

FileError Message(const char* text)
{
    FileError error;
    error.message = QString::fromLatin1(text);
    return error;
}

} // namespace

FileResult<> LoadPictureFile(CRichChild& item, const QString& path)
{
    item.image.reset();
    item.undecodedPicture = {};
    item.keptPicture = {};
    auto picture = std::make_shared<CxImage>();
    if (!picture->LoadFile(path, CXIMAGE_FORMAT_DETECT)) {
        QFile probe(path);
        if (!probe.open(QIODevice::ReadOnly))
            return Message("The image file has been moved or deleted");
        return Message("Invalid image format.");
    }
    if (picture->HasAlpha()) {
        picture->SetTransparentColor(0xffffffffu);
        picture->FlattenAlpha();
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Message("Error: The image file has been moved.");
    picture->SetSourceBytes(file.readAll());
    item.image = std::move(picture);
    return FileResult<>(std::monostate{});
}

} // namespace tvl
