#include "app/readcd/ReadCdSession.h"

#include "app/messages/AppMessageBox.h"
#include "app/messages/MessageRequest.h"
#include "app/readcd/DiscChoiceDialog.h"
#include "app/settings/AppSettings.h"
#include "app/settings/SettingsStore.h"
#include "discinfo/RecordedDriveFile.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

namespace tvl {

ReadCdSession::ReadCdSession(SettingsStore& store, AppSettings& settings, MessageRequest& request)
    : store(store)
    , settings(settings)
    , request(request)
    , currentServer(FreedbOptions::Parse(settings.freedbOptions))
    , helloAddress(store.ReadSettingString(EmailSettingName()))
    , openTransport(OpenDriveTransport)
    , showMessage(ShowAppMessageBox)
    , chooseDisc(AskDiscChoice)
    , pickFile([](QWidget* parent, const QString& title, const QString& folder, const QString& filter) {
        return QFileDialog::getOpenFileName(parent, title, folder, filter);
    })
{
}

int ReadCdSession::Tell(int icon, const QString& text, const QString& buttons, QWidget* parent) const
{
    request.text = text;
    request.iconKind = icon;
    request.buttons = buttons;
    request.showCheckBox = false;
    return showMessage(request, parent);
}

bool ReadCdSession::CanOpen(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

} // namespace tvl
