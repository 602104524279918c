#pragma once

#include "app/Command.h"

#include <QObject>
#include <optional>

namespace tvl {

class CMervo6View;
class DesignDocument;
class MainWindow;
struct AppContext;

// The window's side of the clipboard: routes Cut, Copy and Paste Text and Cut, Copy, Paste and Delete
// Object to the desktop clipboard and the design, gives Ctrl+X, Ctrl+C and Ctrl+V to the text commands
// while a text is being edited, and names the commands after what they would act on.
class ClipboardCommands final : public QObject
{
public:
    ClipboardCommands(MainWindow& window, DesignDocument& document, CMervo6View& view, AppContext& context);

    bool CopyText();
    void CutText();
    void PasteText();
    // True when something was placed on the clipboard.
    bool CopyObject();
    void CutObject();
    void PasteObject();
    void DeleteObject();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RouteCommands();
    // The texts of the Edit menu (inEditMenu) or of the label view's menu.
    void NameCommands(bool inEditMenu);
    // The text command Ctrl+X, Ctrl+C or Ctrl+V means now, or none when the object command stands.
    std::optional<Command> TextCommandForKey(int key) const;
    void ShowError(const QString& message);

    MainWindow& m_window;
    DesignDocument& m_document;
    CMervo6View& m_view;
    AppContext& m_context;
};

} // namespace tvl
