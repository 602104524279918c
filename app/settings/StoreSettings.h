#pragma once

#include "app/settings/SettingsStore.h"
#include "document/commands/FileCommandPorts.h"
#include "stock/CatalogueSettings.h"

namespace tvl {

// The String settings of the label stock catalogue and the file commands, kept in the settings store.
class StoreSettings final : public CatalogueSettings, public FileSettings
{
public:
    explicit StoreSettings(SettingsStore& store)
        : m_store(store)
    {
    }

    QString ReadSettingString(const QString& name) const override { return m_store.ReadSettingString(name); }
    void WriteSetting(const QString& name, const QString& value) override
    {
        m_store.WriteString(name, value);
    }
    QString ReadString(const QString& key) override { return m_store.ReadSettingString(key); }
    void WriteString(const QString& key, const QString& value) override { m_store.WriteString(key, value); }

private:
    SettingsStore& m_store;
};

} // namespace tvl
