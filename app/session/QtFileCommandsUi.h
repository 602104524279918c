#pragma once

#include "document/commands/FileCommandPorts.h"

class QWidget;

namespace tvl {

class MainWindow;
struct MessageRequest;

// The file commands' questions, messages and file dialogs, shown over the main window.
class QtFileCommandsUi final : public FileCommandsUi
{
public:
    QtFileCommandsUi(MainWindow& window, MessageRequest& request);

    SaveAnswer AskSaveChanges(const QString& title) override;
    void ShowError(const QString& text) override;
    std::optional<QString> ChooseOpenPath(const QString& folder) override;
    std::optional<QString> ChooseSavePath(const QString& folder, const QString& fileName) override;
    std::optional<int> ChooseNewDesign() override;
    void AddRecentFile(const QString& path) override;

private:
    int Ask(const QString& text, int iconKind, const QString& buttons, int closedResult);

    MainWindow& m_window;
    MessageRequest& m_request;
};

} // namespace tvl
