#include "app/imagesbar/ClipboardPicture.h"

#include "images/CxImage.h"
#include "images/ImageFormat.h"

namespace tvl {

QImage ClipboardPicture(const QString& path, QString& error)
{
    CxImage image;
    const QSize box(kClipboardPictureSide, kClipboardPictureSide);
    // The scaled decode never holds a huge picture in full.
    if (!image.LoadThumbnail(path, ImageTypeFromExtension(path), box)) {
        error = image.lastError();
        return {};
    }
    if (image.HasAlpha() || !image.Palette().isEmpty()) {
        image.SetTransparentColor(qRgb(255, 255, 255));
        image.FlattenAlpha();
    }
    return image.ToBitmap().convertToFormat(QImage::Format_RGB32);
}

} // namespace tvl
