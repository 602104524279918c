#pragma once

#include <QFontMetrics>
#include <QSize>
#include <QString>
#include <QStringList>

#include <utility>

namespace tvl {

// The geometry and texts of the Images bar's thumbnail cells.
inline constexpr int kThumbnailSide = 110;
inline constexpr int kCellWidth = 117;
inline constexpr int kCellHeight = 132;
inline constexpr int kSmallestThumbnailSide = 10;
inline constexpr int kWheelStep = 55;

inline constexpr QStringView kNoBackgroundName = u"[No Background]";
inline constexpr QStringView kNoBackgroundPath = u"-2";

// The size a picture of the given size is drawn at in its cell: kept when both sides are below 110,
// otherwise fitted into 110 × 110 with the aspect kept; neither side below 10.
QSize ThumbnailSize(QSize image);

// "%d KB" (bytes div 1024), or "%.2f MB" once the KB figure is above 999.
QString FileSizeText(qint64 bytes);

// The cell's tooltip: name, dimensions, size and the folder the file lies in.
QString ImageTooltip(const QString& name, QSize dimensions, qint64 bytes, const QString& path);

// The tooltip text as shown: one line per line of text, each line broken where it would be wider than
// width, after a folder separator where possible.
QString WrapTooltip(const QString& text, const QFontMetrics& metrics, int width);

// How many 110-pixel columns (7 pixels apart) fit a bar of the given width; at least 1.
int ColumnCount(int width);

// The first and last entry index a bar of the given height shows at a scroll position, clipped to the
// list; first > last when the list is empty.
std::pair<int, int> VisibleRange(int height, int scroll, int columns, int count);

// The filter list of the search dialog and the patterns of one of its entries.
QStringList ImageFilterNames();
QString ImageFilterPatterns(int index);

} // namespace tvl
