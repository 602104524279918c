#include "editing/properties/PropertiesToolbar.h"

#include "document/design/DesignDocument.h"
#include "document/design/EditScope.h"
#include "document/design/FormatEdits.h"
#include "document/design/ItemEdits.h"
#include "document/model/SurfaceNames.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QFontComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpressionValidator>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace tvl {
namespace {

constexpr int kFontNameWidth = 150;
constexpr int kFontSizeWidth = 102;
const QString kAutoFit = QStringLiteral("AutoFit");

QStringList Entries(std::initializer_list<const char*> texts)
{
    QStringList list;
    for (const char* text : texts)
        list.append(QString::fromLatin1(text));
    return list;
}

// The text margins the disc menu offers, in mils, with their captions in inches and in millimetres.
struct MarginEntry
{
    int mils;
    const char* inches;
    const char* millimetres;
};

constexpr MarginEntry kMargins[] = {
    {0, "0.00'' Text Margin", "0.0 mm Text Margin"},
    {50, "0.05'' Text Margin", "1.3 mm Text Margin"},
    {100, "0.10'' Text Margin", "2.5 mm Text Margin"},
    {150, "0.15'' Text Margin", "3.8 mm Text Margin"},
};

bool IsOneOf(PropertyControl control, std::initializer_list<PropertyControl> set)
{
    return std::find(set.begin(), set.end(), control) != set.end();
}

} // namespace

PropertiesToolbar::PropertiesToolbar(QToolBar& bar, DesignDocument& document, PropertiesPorts ports,
                                     QAction* changeLabelPaper)
    : m_bar(bar)
    , m_document(document)
    , m_ports(std::move(ports))
{
    CreateControls(changeLabelPaper);
    m_document.AddListener(this);
    Update();
}

PropertiesToolbar::~PropertiesToolbar()
{
    m_document.RemoveListener(this);
}

QAction* PropertiesToolbar::AddButton(PropertyControl control, const QString& text, const QString& tip,
                                      bool checkable, std::function<void()> command)
{
    auto* action = new QAction(text, &m_bar);
    action->setToolTip(tip);
    action->setStatusTip(tip);
    action->setCheckable(checkable);
    QObject::connect(action, &QAction::triggered, &m_bar, [command = std::move(command)] { command(); });
    m_bar.addAction(action);
    if (auto* button = qobject_cast<QToolButton*>(m_bar.widgetForAction(action)))
        button->setAccessibleName(tip);
    m_controls[static_cast<size_t>(control)] = action;
    return action;
}

QAction* PropertiesToolbar::AddMenu(PropertyControl control, const QString& tip)
{
    auto* button = new QToolButton(&m_bar);
    auto* menu = new QMenu(tip, button);
    button->setText(tip);
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_menuButtons[static_cast<size_t>(control)] = button;
    QAction* place = m_bar.addWidget(button);
    m_controls[static_cast<size_t>(control)] = place;
    return place;
}

QMenu* PropertiesToolbar::Menu(PropertyControl control) const
{
    const QToolButton* button = m_menuButtons[static_cast<size_t>(control)];
    return button ? button->menu() : nullptr;
}

void PropertiesToolbar::CreateControls(QAction* changeLabelPaper)
{
    m_fontName = new QFontComboBox(&m_bar);
    // Faces that scale to any size: what prints sharp at every size a label asks for.
    m_fontName->setFontFilters(QFontComboBox::ScalableFonts);
    m_fontName->setFixedWidth(kFontNameWidth);
    m_fontName->setToolTip(QStringLiteral("Font"));
    m_fontName->setAccessibleName(QStringLiteral("Font"));
    QObject::connect(m_fontName, &QComboBox::activated, &m_bar,
                     [this] { ApplyFontFace(m_fontName->currentText()); });
    m_controls[static_cast<size_t>(PropertyControl::FontName)] = m_bar.addWidget(m_fontName);

    m_fontSize = new QComboBox(&m_bar);
    m_fontSize->setEditable(true);
    m_fontSize->setInsertPolicy(QComboBox::NoInsert);
    m_fontSize->addItem(kAutoFit);
    for (const int size : {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, 36, 48, 72})
        m_fontSize->addItem(QString::number(size));
    m_fontSize->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("AutoFit|[0-9]{0,4}(\\.[0-9]?)?")), m_fontSize));
    m_fontSize->setFixedWidth(kFontSizeWidth);
    m_fontSize->setToolTip(QStringLiteral("Font Size"));
    m_fontSize->setAccessibleName(QStringLiteral("Font Size"));
    QObject::connect(m_fontSize, &QComboBox::textActivated, &m_bar,
                     [this](const QString& text) { ApplyFontSize(text); });
    m_controls[static_cast<size_t>(PropertyControl::FontSize)] = m_bar.addWidget(m_fontSize);

    const auto fontFlag = [this](PropertyControl control, std::function<void(ItemFont&, bool)> set) {
        return [this, control, set = std::move(set)] {
            const bool on = Control(control)->isChecked();
            Run([&](const QString& name) {
                const TextRange selection = TextSelection();
                ApplyFont(m_document, name, selection.start, selection.end,
                          [&](ItemFont& font) { set(font, on); });
            });
        };
    };
    AddButton(PropertyControl::Bold, QStringLiteral("B"), QStringLiteral("Bold"), true,
              fontFlag(PropertyControl::Bold, [](ItemFont& font, bool on) { font.weight = on ? 700 : 400; }));
    AddButton(PropertyControl::Italic, QStringLiteral("I"), QStringLiteral("Italic"), true,
              fontFlag(PropertyControl::Italic, [](ItemFont& font, bool on) { font.italic = on ? 1 : 0; }));
    AddButton(PropertyControl::Underline, QStringLiteral("U"), QStringLiteral("Underline"), true, [this] {
        const bool on = Control(PropertyControl::Underline)->isChecked();
        Run([&](const QString& name) {
            const TextRange selection = TextSelection();
            ApplyUnderline(m_document, name, selection.start, selection.end, on);
        });
    });
    m_bar.addSeparator();

    auto* alignments = new QActionGroup(&m_bar);
    for (const auto& [control, value] :
         {std::pair{PropertyControl::AlignLeft, "Left"}, std::pair{PropertyControl::AlignCenter, "Center"},
          std::pair{PropertyControl::AlignRight, "Right"}}) {
        const QString alignment = QString::fromLatin1(value);
        QAction* action =
            AddButton(control, alignment, QStringLiteral("Align %1").arg(alignment), true, [=, this] {
                Run([&](const QString& name) {
                    m_document.SetItemProperty(name, ItemProperty::Alignment, alignment);
                });
            });
        alignments->addAction(action);
    }
    m_bar.addSeparator();

    AddMenu(PropertyControl::TextWrapping, QStringLiteral("Text Wrapping"));
    AddMenu(PropertyControl::TextLinking, QStringLiteral("Text Linking"));
    AddMenu(PropertyControl::Angle, QStringLiteral("Angle"));
    AddMenu(PropertyControl::TrackNumbers, QStringLiteral("Track Numbers and Track Times"));
    AddMenu(PropertyControl::TrackLayout, QStringLiteral("Track Layout"));

    AddButton(PropertyControl::SetAsBackground, QStringLiteral("Set as Background"),
              QStringLiteral("Set as Background"), false, [this] {
                  Run([&](const QString& name) {
                      SetAsBackground(m_document, name, [&](LabelDesign& design, CRichChild& picture) {
                          const BackgroundOverlaps overlaps =
                              m_ports.overlaps ? m_ports.overlaps() : BackgroundOverlaps{};
                          return PlaceBackground(design, picture, overlaps, m_document.caseKind());
                      });
                  });
              });
    AddButton(PropertyControl::BringToFront, QStringLiteral("Bring to Front"),
              QStringLiteral("Bring to Front"), false, [this] {
                  Run([&](const QString& name) { BringPictureToFront(m_document, name, m_ports.jitter); });
              });
    AddMenu(PropertyControl::AspectRatio, QStringLiteral("Aspect Ratio"));

    QAction* paper = AddButton(PropertyControl::ChangeLabelPaper, QStringLiteral("Change Label Paper"),
                               QStringLiteral("Change Label Paper"), false, [changeLabelPaper] {
                                   if (changeLabelPaper)
                                       changeLabelPaper->trigger();
                               });
    if (changeLabelPaper) {
        paper->setIcon(changeLabelPaper->icon());
        const auto follow = [paper, changeLabelPaper] { paper->setEnabled(changeLabelPaper->isEnabled()); };
        QObject::connect(changeLabelPaper, &QAction::changed, paper, follow);
        follow();
    } else {
        paper->setEnabled(false);
    }
    QAction* dimensions = AddButton(PropertyControl::EditDimensions, QStringLiteral("Edit Dimensions"),
                                    QStringLiteral("Edit Dimensions"), false, [this] {
                                        if (m_ports.editDimensions)
                                            m_ports.editDimensions();
                                    });
    dimensions->setEnabled(static_cast<bool>(m_ports.editDimensions));
    AddMenu(PropertyControl::TextMargin, QStringLiteral("Text Margin"));
    AddMenu(PropertyControl::DiscPosition, QStringLiteral("Disc Position"));
}

void PropertiesToolbar::FillMenu(PropertyControl control, const QStringList& entries, const QString& marked,
                                 const std::function<void(const QString&)>& choose)
{
    QMenu* menu = Menu(control);
    // The entry being chosen may be the one that asked for this refresh, so entries go once it is done.
    for (QAction* action : menu->actions()) {
        menu->removeAction(action);
        action->deleteLater();
    }
    for (const QString& entry : entries) {
        QAction* action = menu->addAction(entry);
        action->setCheckable(true);
        action->setChecked(entry == marked);
        QObject::connect(action, &QAction::triggered, menu,
                         [this, choose, entry] { Run([&](const QString&) { choose(entry); }); });
    }
}

const CRichChild* PropertiesToolbar::SelectedItem() const
{
    return m_document.Selected();
}

const CRichChild* PropertiesToolbar::MarginDisc(const CRichChild& selected) const
{
    if (selected.kind == ItemKind::Cover && selected.IsDiscSurface())
        return &selected;
    return IsDiscSurfaceName(m_document.currentSurface())
               ? m_document.design().FindCover(m_document.currentSurface())
               : m_document.design().FindCover(kDisc1);
}

void PropertiesToolbar::DesignChanged(const DesignChange&)
{
    Update();
}

void PropertiesToolbar::Run(const std::function<void(const QString& name)>& command)
{
    const CRichChild* selected = SelectedItem();
    if (!selected)
        return;
    command(selected->name);
    Update();
    if (m_ports.focusView)
        m_ports.focusView();
}

void PropertiesToolbar::Update()
{
    if (m_updating)
        return;
    m_updating = true;
    const CRichChild* item = SelectedItem();
    const ItemKind kind = item ? item->kind : ItemKind::None;
    const bool textual = item && item->IsTextual();
    const bool surface = item && IsStructural(kind);
    const bool discSheet = item && item->pageCode == u"1";
    for (size_t i = 0; i < m_controls.size(); ++i) {
        const auto control = static_cast<PropertyControl>(i);
        bool visible = false;
        if (textual) {
            visible = control <= PropertyControl::Angle;
            if (control == PropertyControl::TextLinking)
                visible = !item->name.startsWith(u"Text");
            if (control == PropertyControl::TrackNumbers || control == PropertyControl::TrackLayout)
                visible = kind == ItemKind::Track;
        } else if (kind == ItemKind::Image) {
            visible = IsOneOf(control, {PropertyControl::SetAsBackground, PropertyControl::BringToFront,
                                        PropertyControl::AspectRatio});
        } else if (surface) {
            visible =
                IsOneOf(control, {PropertyControl::ChangeLabelPaper, PropertyControl::EditDimensions}) ||
                (discSheet && IsOneOf(control, {PropertyControl::TextMargin, PropertyControl::DiscPosition}));
        }
        m_controls[i]->setVisible(visible);
    }
    if (textual)
        UpdateTextControls(*item);
    else if (kind == ItemKind::Image)
        FillMenu(PropertyControl::AspectRatio, Entries({"Lock Aspect Ratio", "Unlock Aspect Ratio"}),
                 item->bAspectRatio() != 0 ? QStringLiteral("Lock Aspect Ratio")
                                           : QStringLiteral("Unlock Aspect Ratio"),
                 [this, name = item->name](const QString& entry) {
                     SetAspectLock(m_document, name, entry == u"Lock Aspect Ratio");
                 });
    else if (surface && discSheet)
        UpdateSurfaceControls(*item);
    m_updating = false;
}

void PropertiesToolbar::UpdateTextControls(const CRichChild& item)
{
    const QString name = item.name;
    const auto setter = [this, name](ItemProperty property) {
        return [this, name, property](const QString& value) {
            m_document.SetItemProperty(name, property, value);
        };
    };
    ShowFormat(item);
    for (const auto& [control, value] :
         {std::pair{PropertyControl::AlignLeft, u"Left"}, std::pair{PropertyControl::AlignCenter, u"Center"},
          std::pair{PropertyControl::AlignRight, u"Right"}})
        Control(control)->setChecked(item.alignment() == value);

    const bool table = item.textLayout() == u"Table Format";
    QStringList wraps = Entries({"Single-Line", "Multi-Line", "Word-Wrap"});
    if (item.kind == ItemKind::Track && table)
        wraps.append(QStringLiteral("Track-Wrap"));
    // "No Wrap" is what older designs stored for lines that only break where the text does.
    const QString wrap = item.wrapStyle() == u"No Wrap" ? QStringLiteral("Multi-Line") : item.wrapStyle();
    FillMenu(PropertyControl::TextWrapping, wraps, wrap, setter(ItemProperty::WrapStyle));
    FillMenu(PropertyControl::TextLinking, Entries({"Text Linking On", "Text Linking Off"}),
             item.bLinkText() != 0 ? QStringLiteral("Text Linking On") : QStringLiteral("Text Linking Off"),
             [this, name](const QString& entry) {
                 m_document.SetItemProperty(name, ItemProperty::LinkText,
                                            entry == u"Text Linking On" ? 1 : 0);
             });
    FillMenu(PropertyControl::Angle, Entries({"0 degrees", "90 degrees", "270 degrees", "180 degrees"}),
             item.angle(), setter(ItemProperty::Angle));
    if (item.kind != ItemKind::Track)
        return;
    FillMenu(PropertyControl::TrackNumbers,
             Entries({"Track Numbers && Times", "Track Numbers", "Track Times", "Text Only"}),
             item.trackNumbers(), setter(ItemProperty::TrackNumbers));
    const QStringList layouts =
        item.pageCode == u"1"
            ? Entries({"Left Side", "Right Side", "Top", "Bottom", "Top && Bottom", "2 Columns"})
            : Entries({"1 Column", "2 Columns", "Table Format"});
    FillMenu(PropertyControl::TrackLayout, layouts, item.textLayout(),
             [this, name](const QString& layout) { SetTrackLayout(m_document, name, layout); });
}

void PropertiesToolbar::UpdateSurfaceControls(const CRichChild& item)
{
    const bool millimetres = m_ports.millimetres && m_ports.millimetres();
    const CRichChild* disc = MarginDisc(item);
    QStringList margins;
    QString markedMargin;
    for (const MarginEntry& entry : kMargins) {
        margins.append(QString::fromLatin1(millimetres ? entry.millimetres : entry.inches));
        if (disc && disc->textMargin() == entry.mils)
            markedMargin = margins.constLast();
    }
    FillMenu(PropertyControl::TextMargin, margins, markedMargin,
             [this, margins, name = item.name](const QString& entry) {
                 const CRichChild* selected = m_document.design().FindItem(name);
                 const CRichChild* target = selected ? MarginDisc(*selected) : nullptr;
                 const qsizetype index = margins.indexOf(entry);
                 if (target && index >= 0)
                     m_document.SetItemProperty(target->name, ItemProperty::TextMargin,
                                                kMargins[static_cast<size_t>(index)].mils);
             });

    const QStringList positions = m_document.IsDouble()
                                      ? Entries({"Disc 1 on Top", "Disc 1 on Bottom"})
                                      : Entries({"Top Position", "Bottom Position", "Duplicate Disc"});
    const int mode = static_cast<int>(m_document.discPositionMode());
    const QString markedPosition = mode >= 1 && mode <= positions.size() ? positions[mode - 1] : QString();
    FillMenu(PropertyControl::DiscPosition, positions, markedPosition,
             [this, positions](const QString& entry) {
                 const auto chosen = static_cast<DiscPositionMode>(positions.indexOf(entry) + 1);
                 if (chosen == DiscPositionMode::DuplicateDisc && m_ports.duplicateDiscTip)
                     m_ports.duplicateDiscTip();
                 if (m_ports.applyStocks)
                     SetDiscPosition(m_document, chosen, m_ports.applyStocks);
             });
}

void PropertiesToolbar::ShowFormat()
{
    const CRichChild* item = SelectedItem();
    if (!item || !item->IsTextual() || m_updating)
        return;
    m_updating = true;
    ShowFormat(*item);
    m_updating = false;
}

void PropertiesToolbar::ShowFormat(const CRichChild& item)
{
    // The characters whose format shows: the one at the caret, or every selected one but terminators.
    const TextRange selection = TextSelection();
    const int count = static_cast<int>(item.characters.size());
    std::vector<size_t> shown;
    if (selection.start == selection.end) {
        if (count > 0)
            shown.push_back(static_cast<size_t>(std::clamp(selection.start, 0, count - 1)));
    } else {
        for (int i = std::max(selection.start, 0); i < std::min(selection.end, count); ++i) {
            if (item.characters[static_cast<size_t>(i)] != kCellEnd)
                shown.push_back(static_cast<size_t>(i));
        }
    }
    std::optional<ItemFont> face;
    std::optional<int> height;
    bool first = true;
    bool bold = !shown.empty();
    bool italic = !shown.empty();
    bool underline = !shown.empty();
    for (const size_t i : shown) {
        std::optional<ItemFont> font;
        for (size_t slot = std::min(i + 1, item.fonts.size()); slot > 0 && !font; --slot)
            font = item.fonts[slot - 1];
        const ItemFont at = font.value_or(ItemFont{});
        if (first) {
            face = at;
            height = at.height;
            first = false;
        }
        if (face && face->faceName != at.faceName)
            face.reset();
        if (height && *height != at.height)
            height.reset();
        bold = bold && at.weight >= 500;
        italic = italic && at.italic != 0;
        underline = underline && i < item.underlines.size() && item.underlines[i] != 0;
    }
    const QSignalBlocker nameBlocker(m_fontName);
    const QSignalBlocker sizeBlocker(m_fontSize);
    if (face)
        m_fontName->setCurrentFont(QFont(face->faceName));
    m_fontName->setEditText(face ? face->faceName : QString());
    QString size;
    if (height) {
        size = QString::number(*height * 0.1, 'f', 1);
        if (item.bAutoFit() != 0)
            size += QStringLiteral(" (AutoFit)");
    }
    m_fontSize->setEditText(size);
    Control(PropertyControl::Bold)->setChecked(bold);
    Control(PropertyControl::Italic)->setChecked(italic);
    Control(PropertyControl::Underline)->setChecked(underline);
    if (m_ports.formatShown)
        m_ports.formatShown();
}

void PropertiesToolbar::ApplyFontFace(const QString& face)
{
    if (face.isEmpty())
        return;
    ListRecentFace(face);
    Run([&](const QString& name) {
        const TextRange selection = TextSelection();
        ApplyFont(m_document, name, selection.start, selection.end,
                  [&](ItemFont& font) { font.faceName = face.left(ItemFont::kMaxFaceLength); });
    });
}

void PropertiesToolbar::ListRecentFace(const QString& face)
{
    constexpr int kRecentFaces = 4;
    const QSignalBlocker blocker(m_fontName);
    for (qsizetype i = 0; i < m_recentFaces.size(); ++i)
        m_fontName->removeItem(0);
    m_recentFaces.removeAll(face);
    m_recentFaces.prepend(face);
    if (m_recentFaces.size() > kRecentFaces)
        m_recentFaces.removeLast();
    m_fontName->insertItems(0, m_recentFaces);
}

void PropertiesToolbar::ApplyFontSize(const QString& text)
{
    Run([&](const QString& name) {
        if (text == kAutoFit) {
            m_document.SetItemProperty(name, ItemProperty::AutoFit, 1);
            return;
        }
        bool ok = false;
        const double points = text.toDouble(&ok);
        if (!ok)
            return;
        EditScope scope(m_document, EditKind::SetFontRun);
        m_document.SetItemProperty(name, ItemProperty::AutoFit, 0);
        const TextRange selection = TextSelection();
        ApplyFont(m_document, name, selection.start, selection.end,
                  [&](ItemFont& font) { font.height = ItemFont::HeightFromPoints(points); });
    });
}

} // namespace tvl
