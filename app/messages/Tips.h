#pragma once

#include "app/messages/MessageRequest.h"

#include <QMap>
#include <QString>

#include <functional>

namespace tvl {

class SettingsStore;

// One-time hints. A tip shows at most once per run, and never again once the user ticked "Do not show
// this message again." (its key is then written as Number 1).
class Tips
{
public:
    using BoxRunner = std::function<int(MessageRequest&)>;

    // Reads which tips are pending: those whose key is absent from store. runBox shows the request.
    Tips(SettingsStore& store, MessageRequest& request, BoxRunner runBox);

    // Shows text under tipKey when that tip is still pending; returns whether it was shown.
    bool ShowTip(const QString& text, const QString& tipKey);
    bool IsPending(const QString& tipKey) const;

private:
    SettingsStore& store;
    MessageRequest& request;
    BoxRunner runBox;
    QMap<QString, bool> pending;
};

inline constexpr QStringView tipImageKey = u"bHelpImage";
inline constexpr QStringView tipDoubleDiscKey = u"bHelpDoubleDisc";
inline constexpr QStringView tipTrackKey = u"bHelpTrack";

} // namespace tvl
