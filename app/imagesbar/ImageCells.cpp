#include "app/imagesbar/ImageCells.h"

#include <algorithm>

namespace tvl {
namespace {

constexpr QStringView kAllImagePatterns =
    u"*.jpg;*.jpeg;*.bmp;*.dib;*.gif;*.tif;*.tiff;*.png;*.ico;*.wmf;*.emf";

} // namespace

QSize ThumbnailSize(QSize image)
{
    const int width = image.width();
    const int height = image.height();
    if (width <= 0 || height <= 0)
        return {kThumbnailSide, kThumbnailSide};
    if (width < kThumbnailSide && height < kThumbnailSide)
        return image;
    QSize fitted;
    if (width > height)
        fitted = {kThumbnailSide, static_cast<int>(qint64{height} * kThumbnailSide / width)};
    else
        fitted = {static_cast<int>(qint64{width} * kThumbnailSide / height), kThumbnailSide};
    return {std::max(fitted.width(), kSmallestThumbnailSide),
            std::max(fitted.height(), kSmallestThumbnailSide)};
}

QString FileSizeText(qint64 bytes)
{
    const qint64 kilobytes = bytes / 1024;
    if (kilobytes > 999)
        return QString::asprintf("%.2f MB", static_cast<double>(bytes) / 1024.0 / 1024.0);
    return QStringLiteral("%1 KB").arg(kilobytes);
}

QString ImageTooltip(const QString& name, QSize dimensions, qint64 bytes, const QString& path)
{
    QString text =
        name + QStringLiteral("\r\nDimensions: %1 x %2").arg(dimensions.width()).arg(dimensions.height()) +
        QStringLiteral("\r\nSize: ") + FileSizeText(bytes) + QStringLiteral("\r\nFolder: ") + path;
    // The folder line shows the folder without the file name.
    const qsizetype cut = text.lastIndexOf(u'/');
    if (cut >= 0)
        text.truncate(cut);
    return text;
}

QString WrapTooltip(const QString& text, const QFontMetrics& metrics, int width)
{
    QStringList shown;
    for (QString line : text.split(QStringLiteral("\r\n"))) {
        while (metrics.horizontalAdvance(line) > width && line.size() > 1) {
            qsizetype fits = 1;
            while (fits < line.size() && metrics.horizontalAdvance(line.left(fits + 1)) <= width)
                ++fits;
            const qsizetype separator = line.lastIndexOf(u'/', fits - 1);
            const qsizetype cut = separator > 0 ? separator + 1 : fits;
            shown.append(line.left(cut));
            line.remove(0, cut);
        }
        shown.append(line);
    }
    return shown.join(u'\n');
}

int ColumnCount(int width)
{
    int columns = width / kThumbnailSide;
    if (columns >= 2 && width < columns * kThumbnailSide + (columns - 1) * (kCellWidth - kThumbnailSide))
        --columns;
    return std::max(columns, 1);
}

std::pair<int, int> VisibleRange(int height, int scroll, int columns, int count)
{
    const int first = scroll / kCellHeight * columns;
    const int last = ((height + scroll) / kCellHeight + 1) * columns + 6;
    return {std::min(first, count), std::min(last, count - 1)};
}

QStringList ImageFilterNames()
{
    return {QStringLiteral("All Image Files"),
            QStringLiteral("JPEG Files (*.jpg;*.jpeg)"),
            QStringLiteral("Bitmap Files (*.bmp;*.dib)"),
            QStringLiteral("GIF Files (*.gif)"),
            QStringLiteral("TIFF Files (*.tif;*.tiff)"),
            QStringLiteral("PNG Files (*.png)"),
            QStringLiteral("Icon Files (*.ico)"),
            QStringLiteral("MetaFiles (*.wmf;*.emf)")};
}

QString ImageFilterPatterns(int index)
{
    const QStringList names = ImageFilterNames();
    const QString name = names.value(index);
    const qsizetype open = name.indexOf(u'(');
    const qsizetype close = name.indexOf(u')', open);
    if (open < 0 || close < 0)
        return kAllImagePatterns.toString();
    return name.mid(open + 1, close - open - 1);
}

} // namespace tvl
