#pragma once

#include "document/design/DesignChange.h"
#include "document/model/DiscPlacement.h"
#include "editing/text/TextCaret.h"
#include "render/picture/PlaceBackground.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>

class QAction;
class QComboBox;
class QFontComboBox;
class QMenu;
class QToolBar;
class QToolButton;

namespace tvl {

class CRichChild;
class DesignDocument;

// The controls of the item properties bar, in the order they sit on it.
enum class PropertyControl
{
    FontName,
    FontSize,
    Bold,
    Italic,
    Underline,
    AlignLeft,
    AlignCenter,
    AlignRight,
    TextWrapping,
    TextLinking,
    Angle,
    TrackNumbers,
    TrackLayout,
    SetAsBackground,
    BringToFront,
    AspectRatio,
    ChangeLabelPaper,
    EditDimensions,
    TextMargin,
    DiscPosition,
    Count,
};

// What the bar needs from the program around it.
struct PropertiesPorts
{
    // How far a new background runs past its label (the print options).
    std::function<BackgroundOverlaps()> overlaps;
    // Places the surfaces of the current stocks for a disc position mode (see SetDiscPosition).
    std::function<void(LabelDesign&, DiscPositionMode&)> applyStocks;
    // Shows the tip about duplicate discs, once per run and unless the user turned it off.
    std::function<void()> duplicateDiscTip;
    // Opens the dimensions of the current stock; without it the button stays disabled.
    std::function<void()> editDimensions;
    // Lengths in millimetres rather than inches.
    std::function<bool()> millimetres;
    // 0 … 999, the offset of a background brought to the front.
    std::function<int()> jitter;
    // Gives the keyboard back to the label view after a command.
    std::function<void()> focusView;
    // The caret or selection of the text being edited in place; without it formatting changes the whole
    // text.
    std::function<TextRange()> textSelection;
    // Told after the bar showed the formatting of the edited text, so the colour bar shows its colour.
    std::function<void()> formatShown;
};

// The item properties bar: it shows the controls that fit the selected item (a surface, a picture, a text
// block or a track list), with the item's values marked, and each command changes the selected item as one
// undo step.
class PropertiesToolbar final : private DesignListener
{
public:
    // Fills bar; changeLabelPaper is the main window's command of that name.
    PropertiesToolbar(QToolBar& bar, DesignDocument& document, PropertiesPorts ports,
                      QAction* changeLabelPaper);
    ~PropertiesToolbar() override;
    PropertiesToolbar(const PropertiesToolbar&) = delete;
    PropertiesToolbar& operator=(const PropertiesToolbar&) = delete;

    // Shows the controls of the selected item and marks its values.
    void Update();
    // Shows the font, size, Bold, Italic and Underline at the caret (or over the selection) of the text
    // being edited; nothing for other items.
    void ShowFormat();

    // The bar's place of a control: hidden when it does not fit the selected item.
    QAction* Control(PropertyControl control) const { return m_controls[static_cast<size_t>(control)]; }
    // The menu of a drop-down control, or null.
    QMenu* Menu(PropertyControl control) const;
    QFontComboBox* FontNameBox() const { return m_fontName; }
    QComboBox* FontSizeBox() const { return m_fontSize; }

private:
    void DesignChanged(const DesignChange& change) override;
    void SelectionChanged() override { Update(); }
    void SurfaceShown() override { Update(); }

    void CreateControls(QAction* changeLabelPaper);
    QAction* AddButton(PropertyControl control, const QString& text, const QString& tip, bool checkable,
                       std::function<void()> command);
    QAction* AddMenu(PropertyControl control, const QString& tip);
    // Fills a drop-down menu with checkable entries, the one equal to marked checked.
    void FillMenu(PropertyControl control, const QStringList& entries, const QString& marked,
                  const std::function<void(const QString&)>& choose);
    void ShowFormat(const CRichChild& item);
    void UpdateTextControls(const CRichChild& item);
    void UpdateSurfaceControls(const CRichChild& item);
    const CRichChild* SelectedItem() const;
    // The disc whose text margin the bar shows: the selected disc, else the current one.
    const CRichChild* MarginDisc(const CRichChild& selected) const;
    // Runs a command on the selected item, then refreshes the bar and gives the keyboard back to the view.
    void Run(const std::function<void(const QString& name)>& command);

    TextRange TextSelection() const { return m_ports.textSelection ? m_ports.textSelection() : TextRange{}; }
    void ApplyFontFace(const QString& face);
    void ListRecentFace(const QString& face);
    void ApplyFontSize(const QString& text);

    QToolBar& m_bar;
    DesignDocument& m_document;
    PropertiesPorts m_ports;
    std::array<QAction*, static_cast<size_t>(PropertyControl::Count)> m_controls{};
    std::array<QToolButton*, static_cast<size_t>(PropertyControl::Count)> m_menuButtons{};
    QFontComboBox* m_fontName = nullptr;
    // The faces chosen last, newest first; the font name box lists them before the installed faces.
    QStringList m_recentFaces;
    QComboBox* m_fontSize = nullptr;
    bool m_updating = false;
};

} // namespace tvl
