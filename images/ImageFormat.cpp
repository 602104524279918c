#include "images/ImageFormat.h"

namespace tvl {

int ImageTypeFromExtension(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QString extension = (dot < 0 ? fileName : fileName.mid(dot + 1)).toLower().trimmed();
    struct Entry
    {
        QLatin1StringView extension;
        int type;
    };
    static constexpr Entry table[] = {
        {QLatin1StringView("bmp"), CXIMAGE_FORMAT_BMP}, {QLatin1StringView("dib"), CXIMAGE_FORMAT_BMP},
        {QLatin1StringView("jpg"), CXIMAGE_FORMAT_JPG}, {QLatin1StringView("jpeg"), CXIMAGE_FORMAT_JPG},
        {QLatin1StringView("png"), CXIMAGE_FORMAT_PNG}, {QLatin1StringView("ico"), CXIMAGE_FORMAT_ICO},
        {QLatin1StringView("pcx"), CXIMAGE_FORMAT_PCX}, {QLatin1StringView("wmf"), CXIMAGE_FORMAT_WMF},
        {QLatin1StringView("emf"), CXIMAGE_FORMAT_WMF}, {QLatin1StringView("gif"), CXIMAGE_FORMAT_GIF},
        {QLatin1StringView("tif"), CXIMAGE_FORMAT_TIF}, {QLatin1StringView("tiff"), CXIMAGE_FORMAT_TIF},
    };
    for (const Entry& entry : table) {
        if (extension == entry.extension)
            return entry.type;
    }
    return CXIMAGE_FORMAT_UNKNOWN;
}

} // namespace tvl
