#include "widgets/CustomColourDialog.h"

#include "widgets/ColourField.h"
#include "widgets/ColourSwatch.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace tvl {
namespace {

struct FieldSpec
{
    const char* label;
    int maximum;
    const char* suffix;
};

constexpr FieldSpec kFieldSpecs[] = {
    {"Red", 255, ""},       {"Green", 255, ""},        {"Blue", 255, ""},
    {"Hue", 359, "\u00b0"}, {"Saturation", 100, " %"}, {"Brightness", 100, " %"},
};

} // namespace

QList<QColor> ReadCustomColours(const QString& stored)
{
    const QStringList parts = stored.split(u',');
    QList<QColor> colours;
    for (int i = 0; i < kCustomColourCount; ++i) {
        bool ok = false;
        const QString part = i < parts.size() ? parts[i].trimmed() : QString();
        const uint rgb = part.size() == 6 ? part.toUInt(&ok, 16) : 0;
        colours.append(ok ? QColor(static_cast<QRgb>(rgb)) : QColor(Qt::white));
    }
    return colours;
}

QString FormatCustomColours(const QList<QColor>& colours)
{
    QStringList parts;
    for (int i = 0; i < kCustomColourCount; ++i) {
        const QColor colour = i < colours.size() ? colours[i] : QColor(Qt::white);
        parts.append(QStringLiteral("%1").arg(colour.rgb() & 0xffffffu, 6, 16, QLatin1Char('0')).toUpper());
    }
    return parts.join(u',');
}

CustomColourDialog::CustomColourDialog(QColor colour, const QList<QColor>& customColours, QWidget* parent)
    : QDialog(parent)
    , m_colour(colour.isValid() ? colour : QColor(Qt::black))
    , m_custom(ReadCustomColours(FormatCustomColours(customColours)))
{
    setWindowTitle(QStringLiteral("Custom Color"));
    setAccessibleName(windowTitle());
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    m_field = new ColourField(
        [this](int hue, int saturation) {
            const QSignalBlocker hueBlock(Field(ColourFieldKind::Hue));
            const QSignalBlocker saturationBlock(Field(ColourFieldKind::Saturation));
            Field(ColourFieldKind::Hue)->setValue(hue);
            Field(ColourFieldKind::Saturation)->setValue(saturation);
            FromHsbFields();
        },
        this);
    top->addWidget(m_field, 1);

    auto* fields = new QGridLayout;
    for (int i = 0; i < 6; ++i) {
        const FieldSpec& spec = kFieldSpecs[i];
        const QString name = QString::fromLatin1(spec.label);
        auto* label = new QLabel(name + u':', this);
        auto* box = new QSpinBox(this);
        box->setRange(0, spec.maximum);
        box->setSuffix(QString::fromUtf8(spec.suffix));
        box->setAccessibleName(name);
        label->setBuddy(box);
        const int column = i < 3 ? 2 : 0;
        fields->addWidget(label, i % 3, column);
        fields->addWidget(box, i % 3, column + 1);
        m_fields[static_cast<size_t>(i)] = box;
        connect(box, &QSpinBox::valueChanged, this, [this, i] {
            if (i < 3)
                FromRgbFields();
            else
                FromHsbFields();
        });
    }
    m_sample = new QFrame(this);
    m_sample->setFrameShape(QFrame::Box);
    m_sample->setMinimumSize(60, 30);
    m_sample->setAutoFillBackground(true);
    m_sample->setAccessibleName(QStringLiteral("Color Sample"));
    fields->addWidget(m_sample, 3, 0, 1, 4);
    top->addLayout(fields);
    layout->addLayout(top);

    layout->addWidget(new QLabel(QStringLiteral("Custom colors:"), this));
    auto* swatches = new QHBoxLayout;
    for (int i = 0; i < kCustomColourCount; ++i) {
        auto* swatch = new QToolButton(this);
        swatch->setIconSize(QSize(kSwatchSize, kSwatchSize));
        swatch->setAccessibleName(QStringLiteral("Custom Color %1").arg(i + 1));
        swatch->setToolTip(swatch->accessibleName());
        connect(swatch, &QToolButton::clicked, this, [this, i] {
            m_nextCustom = i;
            Show(m_custom[i], true);
        });
        swatches->addWidget(swatch);
        m_swatches[static_cast<size_t>(i)] = swatch;
        ShowSwatch(i);
    }
    swatches->addStretch();
    layout->addLayout(swatches);
    m_add = new QPushButton(QStringLiteral("Add to Custom Colors"), this);
    m_add->setAutoDefault(false);
    connect(m_add, &QPushButton::clicked, this, [this] { AddCustomColour(); });
    layout->addWidget(m_add);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    Show(m_colour, false);
}

void CustomColourDialog::Show(QColor colour, bool live)
{
    // Labels hold 24-bit colours.
    m_colour = QColor(colour.rgb());
    m_showing = true;
    const std::array<int, 3> rgb{m_colour.red(), m_colour.green(), m_colour.blue()};
    for (size_t i = 0; i < 3; ++i) {
        const QSignalBlocker block(m_fields[i]);
        m_fields[i]->setValue(rgb[i]);
    }
    float hue = 0;
    float saturation = 0;
    float brightness = 0;
    m_colour.getHsvF(&hue, &saturation, &brightness);
    // Greys have no hue: the field keeps the one it shows.
    const std::array<int, 3> hsb{
        hue < 0 ? Field(ColourFieldKind::Hue)->value() : static_cast<int>(std::lround(hue * 360)) % 360,
        static_cast<int>(std::lround(saturation * 100)), static_cast<int>(std::lround(brightness * 100))};
    for (size_t i = 0; i < 3; ++i) {
        const QSignalBlocker block(m_fields[i + 3]);
        m_fields[i + 3]->setValue(hsb[i]);
    }
    m_field->ShowPoint(hsb[0], hsb[1]);
    QPalette palette = m_sample->palette();
    palette.setColor(QPalette::Window, m_colour);
    m_sample->setPalette(palette);
    m_showing = false;
    if (live && m_live)
        m_live(m_colour);
}

void CustomColourDialog::FromRgbFields()
{
    if (m_showing)
        return;
    const QColor colour(Field(ColourFieldKind::Red)->value(), Field(ColourFieldKind::Green)->value(),
                        Field(ColourFieldKind::Blue)->value());
    Show(colour, true);
}

void CustomColourDialog::FromHsbFields()
{
    if (m_showing)
        return;
    const int hue = Field(ColourFieldKind::Hue)->value();
    const int saturation = Field(ColourFieldKind::Saturation)->value();
    const int brightness = Field(ColourFieldKind::Brightness)->value();
    const QColor colour(QColor::fromHsvF(hue / 360.0f, saturation / 100.0f, brightness / 100.0f).rgb());
    // The typed values stay as typed; the colour they make may round them differently.
    m_colour = colour;
    m_showing = true;
    const std::array<int, 3> rgb{colour.red(), colour.green(), colour.blue()};
    for (size_t i = 0; i < 3; ++i) {
        const QSignalBlocker block(m_fields[i]);
        m_fields[i]->setValue(rgb[i]);
    }
    m_field->ShowPoint(hue, saturation);
    QPalette palette = m_sample->palette();
    palette.setColor(QPalette::Window, colour);
    m_sample->setPalette(palette);
    m_showing = false;
    if (m_live)
        m_live(colour);
}

void CustomColourDialog::AddCustomColour()
{
    m_custom[m_nextCustom] = m_colour;
    ShowSwatch(m_nextCustom);
    m_nextCustom = (m_nextCustom + 1) % kCustomColourCount;
    if (m_customChanged)
        m_customChanged(m_custom);
}

void CustomColourDialog::ShowSwatch(int index)
{
    m_swatches[static_cast<size_t>(index)]->setIcon(SwatchIcon(m_custom[index]));
}

} // namespace tvl
