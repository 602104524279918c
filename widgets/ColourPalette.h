#pragma once

#include <QColor>
#include <QList>
#include <QWidget>
#include <functional>

class QToolButton;

namespace tvl {

// A named colour of the palette.
struct NamedColour
{
    QString name;
    QColor colour;
};

// The palette's forty colours, row by row.
const QList<NamedColour>& PaletteColours();

// The drop-down of a colour tool-bar button, a pop-up window of its own: a grid of colour swatches, each
// named for screen readers, with the shown colour framed, and a button that opens the custom colour dialog.
class ColourPalette final : public QWidget
{
public:
    // picked is told a chosen swatch's colour; more is called by the "More Colors..." button.
    ColourPalette(std::function<void(QColor)> picked, std::function<void()> more, QWidget* parent = nullptr);

    // Shows the palette below a widget, current framed; a pick, Escape or a click elsewhere closes it.
    void PopUp(QWidget& below, QColor current);
    // Frames the swatch of this colour, if the palette has one.
    void ShowCurrent(QColor colour);
    QToolButton* Swatch(const QString& name) const;

private:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void ClosePopup();

    QList<QToolButton*> m_swatches;
};

} // namespace tvl
