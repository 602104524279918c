#include "widgets/ColorButton.h"

#include <QPainter>
#include <QPixmap>

namespace tvl {

ColorButton::ColorButton(const QIcon& icon, const QString& toolTip, QColor color, QWidget* parent)
    : QToolButton(parent)
    , baseIcon(icon)
    , color(color)
{
    setToolTip(toolTip);
    // The button shows only an icon: a screen reader reads its tool tip.
    setAccessibleName(toolTip);
    setAutoRaise(true);
    Redraw();
}

void ColorButton::SetColor(QColor newColor)
{
    color = newColor;
    Redraw();
}

void ColorButton::Redraw()
{
    const QSize size = iconSize();
    const qreal ratio = devicePixelRatioF();
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const int bar = qMax(3, size.height() / 5);
    baseIcon.paint(&painter, QRect(0, 0, size.width(), size.height() - bar));
    painter.fillRect(QRect(0, size.height() - bar, size.width(), bar), color);
    painter.end();
    setIcon(QIcon(pixmap));
}

} // namespace tvl
