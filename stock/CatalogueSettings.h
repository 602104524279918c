#pragma once

#include <QString>

namespace tvl {

// The settings the catalogue remembers between runs (IndexJewel, IndexDVD); the application's settings
// store provides them.
class CatalogueSettings
{
public:
    virtual ~CatalogueSettings() = default;
    // The stored text, empty when the setting is absent.
    virtual QString ReadSettingString(const QString& name) const = 0;
    virtual void WriteSetting(const QString& name, const QString& value) = 0;
};

} // namespace tvl
