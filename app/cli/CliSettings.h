#pragma once

#include "stock/CatalogueSettings.h"

#include <QSettings>

namespace tvl {

// The catalogue's settings for the command-line verbs, kept in the user's configuration folder
// (XDG_CONFIG_HOME/Tovrelline/Tovrelline.ini).
class CliSettings : public CatalogueSettings
{
public:
    CliSettings();
    QString ReadSettingString(const QString& name) const override;
    void WriteSetting(const QString& name, const QString& value) override;

private:
    QSettings m_settings;
};

} // namespace tvl
