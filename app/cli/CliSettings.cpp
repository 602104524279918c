#include "app/cli/CliSettings.h"

namespace tvl {

CliSettings::CliSettings()
    : m_settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tovrelline"),
                 QStringLiteral("Tovrelline"))
{
}

QString CliSettings::ReadSettingString(const QString& name) const
{
    return m_settings.value(name).toString();
}

void CliSettings::WriteSetting(const QString& name, const QString& value)
{
    m_settings.setValue(name, value);
}

} // namespace tvl
