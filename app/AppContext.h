#pragma once

#include <QString>
#include <QUrl>

#include <functional>

namespace tvl {

struct AppSettings;
struct MessageRequest;
class SettingsStore;
class Tips;
class WindowLayout;

// What the application object owns for the whole run and hands to the main window.
struct AppContext
{
    SettingsStore& store;
    AppSettings& settings;
    WindowLayout& layout;
    MessageRequest& request;
    Tips& tips;
    QString helpFile;                         // the user guide's first page
    QString programFolder;                    // the program's own files of this user
    std::function<bool(const QUrl&)> openUrl; // the desktop's "open" action
};

} // namespace tvl
