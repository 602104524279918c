#pragma once

#include <QWidget>
#include <functional>

namespace tvl {

// A field of every hue (left to right) and saturation (full at the top) at full brightness: clicking or
// dragging in it picks a hue and saturation, which moved is told (hue 0 … 359, saturation 0 … 100).
class ColourField final : public QWidget
{
public:
    explicit ColourField(std::function<void(int hue, int saturation)> moved, QWidget* parent = nullptr);

    // Marks the point of a hue and saturation.
    void ShowPoint(int hue, int saturation);
    QSize sizeHint() const override { return {180, 120}; }

private:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void Pick(QPoint pos);

    std::function<void(int, int)> m_moved;
    int m_hue = 0;
    int m_saturation = 0;
};

} // namespace tvl
