#pragma once

#include <QRect>
#include <QSize>

#include <vector>

namespace tvl {

// What the message box measured before laying itself out, in device pixels.
struct MessageBoxMetrics
{
    QSize icon;
    std::vector<int> lineWidths; // one entry per line of the text
    int lineHeight = 0;
    bool showCheckBox = false;
    QSize checkBox;
    QSize button;
    int buttonCount = 0;
};

struct MessageBoxGeometry
{
    QRect icon;
    QRect text;
    QRect checkBox;             // empty when hidden
    std::vector<QRect> buttons; // buttonCount entries
    QSize client;
};

// Icon at (15, 15); text 15 pixels right of it, as wide as its widest line plus 6, centred on the icon when
// lower than it; the check box 15 pixels below the text; one centred row of buttons 10 pixels apart, 15
// pixels below the lowest element, and 15 pixels of margin below the row.
MessageBoxGeometry LayOutMessageBox(const MessageBoxMetrics& metrics);

} // namespace tvl
