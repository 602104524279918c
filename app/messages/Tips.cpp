#include "app/messages/Tips.h"

#include "app/settings/SettingsStore.h"

namespace tvl {

Tips::Tips(SettingsStore& store, MessageRequest& request, BoxRunner runBox)
    : store(store)
    , request(request)
    , runBox(std::move(runBox))
{
    for (const QStringView key : {tipImageKey, tipDoubleDiscKey, tipTrackKey})
        pending.insert(key.toString(), !store.Contains(key.toString()));
}

bool Tips::IsPending(const QString& tipKey) const
{
    return pending.value(tipKey, !store.Contains(tipKey));
}

bool Tips::ShowTip(const QString& text, const QString& tipKey)
{
    if (!IsPending(tipKey))
        return false;
    pending.insert(tipKey, false);
    request.text = text;
    request.iconKind = 4;
    request.buttons = QStringLiteral("OK`");
    request.showCheckBox = true;
    request.caption = QStringLiteral(" Tovrelline Tip:");
    if (runBox(request) == 4)
        store.WriteSetting(u"Number", tipKey, QStringLiteral("1"));
    return true;
}

} // namespace tvl
