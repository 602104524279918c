#include "widgets/ColourSwatch.h"

#include <QPainter>
#include <QPixmap>

namespace tvl {

QIcon SwatchIcon(QColor colour)
{
    QPixmap pixmap(kSwatchSize, kSwatchSize);
    pixmap.fill(colour);
    QPainter painter(&pixmap);
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(0, 0, kSwatchSize - 1, kSwatchSize - 1);
    return QIcon(pixmap);
}

} // namespace tvl
