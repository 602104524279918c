#include "widgets/ColourPalette.h"

#include "widgets/ColourSwatch.h"

#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tvl {
namespace {

constexpr int kColumns = 8;

} // namespace

const QList<NamedColour>& PaletteColours()
{
    static const QList<NamedColour> colours = [] {
        const std::pair<const char*, QRgb> table[] = {
            {"Black", 0x000000},
            {"Brown", 0x993300},
            {"Olive Green", 0x333300},
            {"Dark Green", 0x003300},
            {"Dark Teal", 0x003366},
            {"Dark Blue", 0x000080},
            {"Indigo", 0x333399},
            {"Gray-80%", 0x333333},
            {"Dark Red", 0x800000},
            {"Orange", 0xff6600},
            {"Dark Yellow", 0x808000},
            {"Green", 0x008000},
            {"Teal", 0x008080},
            {"Blue", 0x0000ff},
            {"Blue-Gray", 0x666699},
            {"Gray-50%", 0x808080},
            {"Red", 0xff0000},
            {"Light Orange", 0xff9900},
            {"Lime", 0x99cc00},
            {"Sea Green", 0x339966},
            {"Aqua", 0x33cccc},
            {"Light Blue", 0x3366ff},
            {"Violet", 0x800080},
            {"Gray-40%", 0x969696},
            {"Pink", 0xff00ff},
            {"Gold", 0xffcc00},
            {"Yellow", 0xffff00},
            {"Bright Green", 0x00ff00},
            {"Turquoise", 0x00ffff},
            {"Sky Blue", 0x00ccff},
            {"Plum", 0x993366},
            {"Gray-25%", 0xc0c0c0},
            {"Rose", 0xff99cc},
            {"Tan", 0xffcc99},
            {"Light Yellow", 0xffff99},
            {"Light Green", 0xccffcc},
            {"Light Turquoise", 0xccffff},
            {"Pale Blue", 0x99ccff},
            {"Lavender", 0xcc99ff},
            {"White", 0xffffff},
        };
        QList<NamedColour> list;
        for (const auto& [name, rgb] : table)
            list.append({QString::fromLatin1(name), QColor(rgb)});
        return list;
    }();
    return colours;
}

ColourPalette::ColourPalette(std::function<void(QColor)> picked, std::function<void()> more, QWidget* parent)
    // A tool window rather than a pop-up: screen readers list pop-ups' widgets only for menus.
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    const QList<NamedColour>& colours = PaletteColours();
    for (int i = 0; i < colours.size(); ++i) {
        const NamedColour& entry = colours[i];
        auto* swatch = new QToolButton(this);
        swatch->setIcon(SwatchIcon(entry.colour));
        swatch->setIconSize(QSize(kSwatchSize, kSwatchSize));
        swatch->setAutoRaise(true);
        swatch->setCheckable(true);
        swatch->setToolTip(entry.name);
        swatch->setAccessibleName(entry.name);
        connect(swatch, &QToolButton::clicked, this, [this, picked, colour = entry.colour] {
            ClosePopup();
            picked(colour);
        });
        grid->addWidget(swatch, i / kColumns, i % kColumns);
        m_swatches.append(swatch);
    }
    layout->addLayout(grid);
    auto* moreButton = new QPushButton(QStringLiteral("More Colors..."), this);
    moreButton->setAccessibleName(QStringLiteral("More Colors"));
    connect(moreButton, &QPushButton::clicked, this, [this, more = std::move(more)] {
        ClosePopup();
        more();
    });
    layout->addWidget(moreButton);
}

void ColourPalette::PopUp(QWidget& below, QColor current)
{
    ShowCurrent(current);
    adjustSize();
    QPoint at = below.mapToGlobal(QPoint(0, below.height()));
    if (const QScreen* screen = below.screen()) {
        const QRect room = screen->availableGeometry();
        at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - width())));
        at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - height())));
    }
    move(at);
    show();
    raise();
    activateWindow();
}

bool ColourPalette::event(QEvent* event)
{
    // Like a drop-down: clicking elsewhere or Escape closes it.
    if (event->type() == QEvent::WindowDeactivate)
        close();
    return QWidget::event(event);
}

void ColourPalette::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

void ColourPalette::ClosePopup()
{
    close();
}

void ColourPalette::ShowCurrent(QColor colour)
{
    const QList<NamedColour>& colours = PaletteColours();
    for (int i = 0; i < m_swatches.size(); ++i)
        m_swatches[i]->setChecked(colour.isValid() && colours[i].colour.rgb() == colour.rgb());
}

QToolButton* ColourPalette::Swatch(const QString& name) const
{
    for (QToolButton* swatch : m_swatches) {
        if (swatch->accessibleName() == name)
            return swatch;
    }
    return nullptr;
}

} // namespace tvl
