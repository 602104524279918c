#include "widgets/ColourField.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace tvl {

ColourField::ColourField(std::function<void(int, int)> moved, QWidget* parent)
    : QWidget(parent)
    , m_moved(std::move(moved))
{
    setMinimumSize(120, 80);
    setCursor(Qt::CrossCursor);
    setAccessibleName(QStringLiteral("Color Field"));
}

void ColourField::ShowPoint(int hue, int saturation)
{
    m_hue = hue;
    m_saturation = saturation;
    update();
}

void ColourField::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect r = rect();
    QLinearGradient hues(r.topLeft(), r.topRight());
    for (int i = 0; i <= 6; ++i)
        hues.setColorAt(i / 6.0, QColor::fromHsv((i * 60) % 360, 255, 255));
    painter.fillRect(r, hues);
    QLinearGradient white(r.topLeft(), r.bottomLeft());
    white.setColorAt(0, QColor(255, 255, 255, 0));
    white.setColorAt(1, QColor(255, 255, 255));
    painter.fillRect(r, white);
    const int x = r.left() + m_hue * (r.width() - 1) / 359;
    const int y = r.top() + (100 - m_saturation) * (r.height() - 1) / 100;
    painter.setPen(Qt::black);
    painter.drawEllipse(QPoint(x, y), 4, 4);
}

void ColourField::mousePressEvent(QMouseEvent* event)
{
    Pick(event->position().toPoint());
}

void ColourField::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton)
        Pick(event->position().toPoint());
}

void ColourField::Pick(QPoint pos)
{
    const int x = std::clamp(pos.x(), 0, width() - 1);
    const int y = std::clamp(pos.y(), 0, height() - 1);
    const int hue = width() > 1 ? x * 359 / (width() - 1) : 0;
    const int saturation = height() > 1 ? 100 - y * 100 / (height() - 1) : 100;
    ShowPoint(hue, saturation);
    m_moved(hue, saturation);
}

} // namespace tvl
