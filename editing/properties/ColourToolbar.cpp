#include "editing/properties/ColourToolbar.h"

#include "document/design/ColourEdits.h"
#include "document/design/DesignDocument.h"
#include "widgets/ColorButton.h"
#include "widgets/ColourPalette.h"
#include "widgets/CustomColourDialog.h"
#include "widgets/ErrorReport.h"

#include <QToolBar>

namespace tvl {
namespace {

// The number the colour routine reports an unexpected failure with.
constexpr int kColourError = 772;

// Items keep colours as 0x00BBGGRR.
ItemColor ToItemColour(QColor colour)
{
    const QColor rgb = colour.toRgb();
    return static_cast<ItemColor>(rgb.red()) | (static_cast<ItemColor>(rgb.green()) << 8) |
           (static_cast<ItemColor>(rgb.blue()) << 16);
}

QColor FromItemColour(ItemColor colour)
{
    return QColor(static_cast<int>(colour & 0xff), static_cast<int>((colour >> 8) & 0xff),
                  static_cast<int>((colour >> 16) & 0xff));
}

} // namespace

ColourToolbar::ColourToolbar(QToolBar& bar, DesignDocument& document, ColourPorts ports)
    : m_bar(bar)
    , m_document(document)
    , m_ports(std::move(ports))
{
    m_textPalette = AddButton(m_textButton, "text-color", "Text color", false);
    m_surfacePalette = AddButton(m_surfaceButton, "surface-color", "Surface color", true);
    m_document.AddListener(this);
    Update();
}

ColourToolbar::~ColourToolbar()
{
    m_document.RemoveListener(this);
}

ColourPalette* ColourToolbar::AddButton(ColorButton*& button, const char* icon, const char* tip, bool surface)
{
    button =
        new ColorButton(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1StringView(icon))),
                        QString::fromLatin1(tip), surface ? QColor(Qt::white) : QColor(Qt::black), &m_bar);
    auto* palette = new ColourPalette([this, surface](QColor colour) { Pick(surface, colour); },
                                      [this, surface] { OpenCustomColours(surface); }, button);
    palette->setAccessibleName(QString::fromLatin1(tip));
    QObject::connect(button, &QToolButton::clicked, palette, [this, palette, button] {
        Update();
        palette->PopUp(*button, button->Color());
    });
    m_bar.addWidget(button);
    return palette;
}

void ColourToolbar::Update()
{
    const std::optional<Target> text = TextTarget();
    m_textButton->setEnabled(text.has_value());
    if (text) {
        if (const std::optional<QColor> colour = ShownColour(*text))
            m_textButton->SetColor(*colour);
    }
    const std::optional<Target> surface = SurfaceTarget();
    m_surfaceButton->setEnabled(surface.has_value());
    if (surface) {
        if (const std::optional<QColor> colour = ShownColour(*surface))
            m_surfaceButton->SetColor(*colour);
    }
}

std::optional<ColourToolbar::Target> ColourToolbar::TextTarget() const
{
    const CRichChild* selected = m_document.Selected();
    if (!selected || !selected->IsTextual())
        return std::nullopt;
    const TextRange range = m_ports.textSelection ? m_ports.textSelection() : TextRange{};
    const int count = static_cast<int>(selected->characters.size());
    if (range.start < 0 || range.start > range.end || range.end > count)
        return Target{selected->name, 0, 0};
    return Target{selected->name, range.start, range.end};
}

std::optional<ColourToolbar::Target> ColourToolbar::SurfaceTarget() const
{
    const CRichChild* selected = m_document.Selected();
    if (selected && HasAreaColor(selected->kind))
        return Target{selected->name};
    if (const CRichChild* cover = m_document.design().FindCover(m_document.currentSurface()))
        return Target{cover->name};
    return std::nullopt;
}

std::optional<QColor> ColourToolbar::ShownColour(const Target& target) const
{
    const CRichChild* item = m_document.design().FindItem(target.name);
    if (!item)
        return std::nullopt;
    const std::optional<ItemColor> colour = ColourAt(*item, target.start);
    // An area without a colour of its own is drawn white, a text without one black.
    return colour ? FromItemColour(*colour) : QColor(item->IsTextual() ? Qt::black : Qt::white);
}

void ColourToolbar::Pick(bool surface, QColor colour)
{
    GuardedPlainStep(kColourError, [&](int& step) {
        step = 1;
        if (const std::optional<Target> target = surface ? SurfaceTarget() : TextTarget()) {
            step = 2;
            ApplyTextColour(m_document, target->name, target->start, target->end, ToItemColour(colour),
                            m_document.caseKind());
        }
        step = 3;
        if (m_ports.focusView)
            m_ports.focusView();
    });
}

void ColourToolbar::OpenCustomColours(bool surface)
{
    GuardedPlainStep(kColourError, [&](int& step) {
        step = 1;
        const std::optional<Target> target = surface ? SurfaceTarget() : TextTarget();
        if (!target)
            return;
        const ColourSlots original = m_document.design().FindItem(target->name)->colors;
        step = 2;
        CustomColourDialog dialog(
            ShownColour(*target).value_or(QColor(Qt::black)),
            ReadCustomColours(m_ports.customColours ? m_ports.customColours() : QString()), m_bar.window());
        dialog.SetLiveListener([this, &target](QColor colour) {
            PreviewTextColour(m_document, target->name, target->start, target->end, ToItemColour(colour));
        });
        dialog.SetCustomColoursListener([this](const QList<QColor>& colours) {
            if (m_ports.saveCustomColours)
                m_ports.saveCustomColours(FormatCustomColours(colours));
        });
        const QPoint position = m_ports.dialogPosition ? m_ports.dialogPosition() : QPoint(-1, -1);
        if (position != QPoint(-1, -1))
            dialog.move(position);
        step = 3;
        const bool picked = dialog.exec() == QDialog::Accepted;
        step = 4;
        if (m_ports.saveDialogPosition)
            m_ports.saveDialogPosition(dialog.pos());
        // The pick is one step from the colour the item had when the dialog opened.
        RestoreColourSlots(m_document, target->name, original);
        step = 5;
        if (picked)
            ApplyTextColour(m_document, target->name, target->start, target->end,
                            ToItemColour(dialog.Colour()), m_document.caseKind());
        step = 6;
        if (m_ports.focusView)
            m_ports.focusView();
    });
}

} // namespace tvl
