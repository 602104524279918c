#pragma once

#include "app/AppContext.h"
#include "app/MainWindow.h"
#include "app/WindowLayout.h"
#include "app/messages/MessageRequest.h"
#include "app/messages/Tips.h"
#include "app/settings/AppSettings.h"
#include "app/settings/SettingsStore.h"

#include <QTemporaryDir>

namespace tvl::test {

// One run of the program over the same settings and layout files.
class ProgramRun
{
public:
    ProgramRun(const QTemporaryDir& dir, QStringList* opened)
        : store(dir.filePath(QStringLiteral("settings.ini")))
        , layout(dir.filePath(QStringLiteral("layout.ini")))
        , settings(LoadSettings(store, dir.path()))
        , tips(store, request, [](MessageRequest&) { return 1; })
        , context{store,
                  settings,
                  layout,
                  request,
                  tips,
                  dir.filePath(QStringLiteral("index.html")),
                  dir.path(),
                  [opened](const QUrl& url) {
                      opened->append(url.toString());
                      return true;
                  }}
        , window(context)
    {
    }

    SettingsStore store;
    WindowLayout layout;
    AppSettings settings;
    MessageRequest request;
    Tips tips;
    AppContext context;
    MainWindow window;
};

} // namespace tvl::test
