#pragma once

#include "document/design/DesignChange.h"
#include "editing/text/TextCaret.h"

#include <QColor>
#include <QPoint>
#include <QString>
#include <functional>
#include <optional>

class QToolBar;

namespace tvl {

class CRichChild;
class ColorButton;
class ColourPalette;
class DesignDocument;

// What the colour bar needs from the program around it.
struct ColourPorts
{
    // The caret or selection of the text being edited in place.
    std::function<TextRange()> textSelection;
    // The custom colours as stored, and storing them when the user changes them.
    std::function<QString()> customColours;
    std::function<void(const QString&)> saveCustomColours;
    // Where the custom colour dialog was last (-1, -1: centred), and storing where it was closed.
    std::function<QPoint()> dialogPosition;
    std::function<void(QPoint)> saveDialogPosition;
    // Gives the keyboard back to the label view after a pick.
    std::function<void()> focusView;
};

// The colour tool bar: "Text color" colours the characters of the edited text (all of it with a caret
// only, else the selected ones), "Surface color" the selected surface or guide area, else the shown
// surface. Each button drops down a palette and "More Colors..." with the custom colour dialog; each
// shows the colour its target has. A pick is one undo step; while the custom dialog is open the label
// shows its colour without a step, and Cancel gives the colour back.
class ColourToolbar final : private DesignListener
{
public:
    ColourToolbar(QToolBar& bar, DesignDocument& document, ColourPorts ports);
    ~ColourToolbar() override;
    ColourToolbar(const ColourToolbar&) = delete;
    ColourToolbar& operator=(const ColourToolbar&) = delete;

    // Shows the colours of the selected item and the shown surface.
    void Update();

    ColorButton* TextButton() const { return m_textButton; }
    ColorButton* SurfaceButton() const { return m_surfaceButton; }
    ColourPalette* TextPalette() const { return m_textPalette; }
    ColourPalette* SurfacePalette() const { return m_surfacePalette; }
    // Opens the custom colour dialog for the text (or the surface) and applies what the user picks.
    void OpenCustomColours(bool surface);

private:
    struct Target
    {
        QString name;
        int start = 0;
        int end = 0;
    };

    void DesignChanged(const DesignChange&) override { Update(); }
    void SelectionChanged() override { Update(); }
    void SurfaceShown() override { Update(); }

    std::optional<Target> TextTarget() const;
    std::optional<Target> SurfaceTarget() const;
    std::optional<QColor> ShownColour(const Target& target) const;
    ColourPalette* AddButton(ColorButton*& button, const char* icon, const char* tip, bool surface);
    void Pick(bool surface, QColor colour);

    QToolBar& m_bar;
    DesignDocument& m_document;
    ColourPorts m_ports;
    ColorButton* m_textButton = nullptr;
    ColorButton* m_surfaceButton = nullptr;
    ColourPalette* m_textPalette = nullptr;
    ColourPalette* m_surfacePalette = nullptr;
};

} // namespace tvl
