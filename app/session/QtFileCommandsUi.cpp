#include "app/session/QtFileCommandsUi.h"

#include "app/MainWindow.h"
#include "app/dialogs/NewDocumentDialog.h"
#include "app/messages/AppMessageBox.h"
#include "app/messages/MessageRequest.h"

#include <QFileDialog>

namespace tvl {
namespace {

const QString kDesignFilter = QStringLiteral("Tovrelline (*.tvl)");
constexpr int kStopIcon = 1;
constexpr int kExclamationIcon = 2;
constexpr int kCancelResult = 3;

} // namespace

QtFileCommandsUi::QtFileCommandsUi(MainWindow& window, MessageRequest& request)
    : m_window(window)
    , m_request(request)
{
}

int QtFileCommandsUi::Ask(const QString& text, int iconKind, const QString& buttons, int closedResult)
{
    m_request.text = text;
    m_request.iconKind = iconKind;
    m_request.buttons = buttons;
    m_request.showCheckBox = false;
    m_request.closedResult = closedResult;
    return ShowAppMessageBox(m_request, &m_window);
}

FileCommandsUi::SaveAnswer QtFileCommandsUi::AskSaveChanges(const QString& title)
{
    // Closing the question keeps the changes, like Cancel: only an explicit No discards them.
    switch (Ask(QStringLiteral("Save changes to ") + title + u'?', kExclamationIcon,
                QStringLiteral("Yes`No`Cancel`"), kCancelResult)) {
    case 1:
        return SaveAnswer::Yes;
    case 2:
        return SaveAnswer::No;
    default:
        return SaveAnswer::Cancel;
    }
}

void QtFileCommandsUi::ShowError(const QString& text)
{
    Ask(text, kStopIcon, QStringLiteral("OK`"), messageBoxClosedResult);
}

std::optional<QString> QtFileCommandsUi::ChooseOpenPath(const QString& folder)
{
    const QString path =
        QFileDialog::getOpenFileName(&m_window, QStringLiteral("Open"), folder, kDesignFilter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> QtFileCommandsUi::ChooseSavePath(const QString& folder, const QString& fileName)
{
    const QString path =
        QFileDialog::getSaveFileName(&m_window, QStringLiteral("Save As"), folder + fileName, kDesignFilter);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<int> QtFileCommandsUi::ChooseNewDesign()
{
    const int code = NewDocumentDialog::Ask(&m_window);
    if (code < 0)
        return std::nullopt;
    return code;
}

void QtFileCommandsUi::AddRecentFile(const QString& path)
{
    m_window.AddRecentFile(path);
}

} // namespace tvl
