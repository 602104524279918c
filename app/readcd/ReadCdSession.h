#pragma once

#include "discinfo/BackgroundWorkers.h"
#include "discinfo/DiscDbServer.h"
#include "discinfo/DriveTransport.h"
#include "discinfo/FreedbOptions.h"
#include "discinfo/ServerListFetch.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace tvl {

struct AppSettings;
struct MessageRequest;
class SettingsStore;

// What the Read CD command keeps for the whole run: the current disc-database server, the fetched
// server list, the drive and disc chosen last, and the worker threads, which are stopped and waited for
// before anything else here goes. The functions reach the platform; tests replace them.
struct ReadCdSession
{
    ReadCdSession(SettingsStore& store, AppSettings& settings, MessageRequest& request);
    ReadCdSession(const ReadCdSession&) = delete;
    ReadCdSession& operator=(const ReadCdSession&) = delete;

    // The setting that holds the e-mail address sent in the disc database's hello.
    static QString EmailSettingName() { return QStringLiteral("FreedbEmail"); }

    // Shows an AppMessageBox: icon 1 stop, 2 exclamation, 3 information; returns the button number.
    int Tell(int icon, const QString& text, const QString& buttons, QWidget* parent) const;
    // True when the file at path can be opened for reading.
    static bool CanOpen(const QString& path);

    SettingsStore& store;
    AppSettings& settings;
    MessageRequest& request;
    FreedbOptions currentServer;
    QString helloAddress;
    int driveIndex = 0;
    int importDisc = 1;

    // Where "Get Server List" asks, where a query goes when the current server cannot be reached, and how
    // long a silent server is waited for.
    DiscDbServer listServer = DiscDbServer::DefaultPublic();
    std::optional<DiscDbServer> fallbackServer = DiscDbServer::DefaultPublic();
    int timeoutMs = 20000;

    std::function<std::shared_ptr<DriveTransport>()> openTransport;
    std::function<int(MessageRequest&, QWidget*)> showMessage;
    // "Which disc …" in a double design: 1, 2, or -1 for Cancel.
    std::function<int(const QString& question, int& importDisc, QWidget*)> chooseDisc;
    std::function<QString(QWidget*, const QString& title, const QString& folder, const QString& filter)>
        pickFile;
    std::function<void()> openHelp;

    ServerListFetch serverList;
    // Last, so that it is destroyed first: every worker has ended before the state they write goes.
    BackgroundWorkers workers;
};

} // namespace tvl
