#include "app/imagesbar/ClipboardPicture.h"

#include "images/CxImage.h"
#include "images/ImageFormat.h"

namespace tvl {

bool ClipboardPicture(const QString& path, CxImage& picture, QString& error)
{
    const QSize box(kClipboardPictureSide, kClipboardPictureSide);
    // The scaled decode never holds a huge picture in full.
    if (!picture.LoadThumbnail(path, ImageTypeFromExtension(path), box)) {
        error = picture.lastError();
        return false;
    }
    if (picture.HasAlpha() || !picture.Palette().isEmpty()) {
        picture.SetTransparentColor(qRgb(255, 255, 255));
        picture.FlattenAlpha();
    }
    return true;
}

} // namespace tvl
