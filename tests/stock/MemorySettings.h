#pragma once

#include "stock/CatalogueSettings.h"

#include <QMap>

namespace tvl {

class MemorySettings : public CatalogueSettings
{
public:
    QString ReadSettingString(const QString& name) const override { return values.value(name); }
    void WriteSetting(const QString& name, const QString& value) override { values[name] = value; }

    QMap<QString, QString> values;
};

} // namespace tvl
