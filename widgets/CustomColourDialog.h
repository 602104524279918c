#pragma once

#include <QColor>
#include <QDialog>
#include <QList>
#include <array>
#include <functional>

class QFrame;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace tvl {

class ColourField;

// The custom colours as stored: eight "RRGGBB" hex values separated by commas. Unreadable or missing
// entries read as white.
inline constexpr int kCustomColourCount = 8;
QList<QColor> ReadCustomColours(const QString& stored);
QString FormatCustomColours(const QList<QColor>& colours);

// The fields of the custom colour dialog.
enum class ColourFieldKind
{
    Red,
    Green,
    Blue,
    Hue,
    Saturation,
    Brightness,
};

// The custom colour dialog: a colour field, red, green and blue fields (0 … 255), hue (0 … 359 degrees),
// saturation and brightness (0 … 100 %) fields that follow each other, a sample of the colour, and eight
// custom swatches that "Add to Custom Colors" fills. Every colour shown while it is open (a field typed
// in, the colour field dragged in, a custom swatch clicked) is told to the live listener.
class CustomColourDialog final : public QDialog
{
public:
    CustomColourDialog(QColor colour, const QList<QColor>& customColours, QWidget* parent = nullptr);

    QColor Colour() const { return m_colour; }
    QList<QColor> CustomColours() const { return m_custom; }
    void SetLiveListener(std::function<void(QColor)> listener) { m_live = std::move(listener); }
    // Told the custom colours whenever "Add to Custom Colors" changes them.
    void SetCustomColoursListener(std::function<void(const QList<QColor>&)> listener)
    {
        m_customChanged = std::move(listener);
    }

    QSpinBox* Field(ColourFieldKind kind) const { return m_fields[static_cast<size_t>(kind)]; }
    QToolButton* CustomSwatch(int index) const { return m_swatches[static_cast<size_t>(index)]; }
    QPushButton* AddButton() const { return m_add; }
    ColourField* Picker() const { return m_field; }

private:
    // Shows colour in every control but the one it came from, and tells the live listener.
    void Show(QColor colour, bool live);
    void FromRgbFields();
    void FromHsbFields();
    void AddCustomColour();
    void ShowSwatch(int index);

    QColor m_colour;
    QList<QColor> m_custom;
    int m_nextCustom = 0;
    std::array<QSpinBox*, 6> m_fields{};
    std::array<QToolButton*, kCustomColourCount> m_swatches{};
    ColourField* m_field = nullptr;
    QFrame* m_sample = nullptr;
    QPushButton* m_add = nullptr;
    bool m_showing = false;
    std::function<void(QColor)> m_live;
    std::function<void(const QList<QColor>&)> m_customChanged;
};

} // namespace tvl
