#pragma once

#include <QColor>
#include <QToolButton>

namespace tvl {

// A tool-bar button showing its icon over a bar of the colour it applies.
class ColorButton final : public QToolButton
{
public:
    ColorButton(const QIcon& icon, const QString& toolTip, QColor color, QWidget* parent = nullptr);

    QColor Color() const { return color; }
    void SetColor(QColor newColor);

private:
    void Redraw();

    QIcon baseIcon;
    QColor color;
};

} // namespace tvl
