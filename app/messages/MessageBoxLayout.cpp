#include "app/messages/MessageBoxLayout.h"

#include <algorithm>

namespace tvl {
namespace {

constexpr int margin = 15;
constexpr int buttonGap = 10;

} // namespace

MessageBoxGeometry LayOutMessageBox(const MessageBoxMetrics& m)
{
    MessageBoxGeometry g;
    g.icon = QRect(QPoint(margin, margin), m.icon);

    const int widest = m.lineWidths.empty() ? 0 : *std::max_element(m.lineWidths.begin(), m.lineWidths.end());
    const int lines = std::max<int>(1, int(m.lineWidths.size()));
    const QSize textSize(widest + 6, m.lineHeight * lines);
    const int textLeft = g.icon.right() + 1 + margin;
    const int textTop =
        textSize.height() < m.icon.height() ? margin + (m.icon.height() - textSize.height()) / 2 : margin;
    g.text = QRect(QPoint(textLeft, textTop), textSize);

    int lowest = std::max(g.icon.bottom(), g.text.bottom()) + 1;
    int width = g.text.right() + 1 + margin;
    if (m.showCheckBox) {
        g.checkBox = QRect(QPoint(textLeft, g.text.bottom() + 1 + margin), m.checkBox);
        lowest = std::max(lowest, g.checkBox.bottom() + 1);
        width = std::max(width, g.checkBox.right() + 1 + margin);
    }

    const int rowNeeds = m.buttonCount * (m.button.width() + buttonGap) + 20;
    width = std::max(width, rowNeeds);
    int height = lowest + margin;
    if (m.buttonCount > 0) {
        const int rowWidth = m.buttonCount * m.button.width() + (m.buttonCount - 1) * buttonGap;
        const int rowTop = lowest + margin;
        int x = (width - rowWidth) / 2;
        for (int i = 0; i < m.buttonCount; ++i, x += m.button.width() + buttonGap)
            g.buttons.emplace_back(QPoint(x, rowTop), m.button);
        height = rowTop + m.button.height() + margin;
    }
    g.client = QSize(width, height);
    return g;
}

} // namespace tvl
