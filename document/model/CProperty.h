#pragma once

#include "document/archive/ArchiveRecord.h"

#include <QString>

namespace tvl {

// Placeholder row of design files; the earliest designs stored every item as a set of these rows.
class CProperty : public ArchiveRecord
{
public:
    static const RecordClass& Class();
    const RecordClass& recordClass() const override { return Class(); }
    // Stored order: property name, choices, second text, value, order number, item name, flag.
    void Serialize(CArchive& archive) override;

    QString itemName;
    QString propertyName;
    QString value;
    int flag = 0;
    QString secondText;
    QString choices;
    int orderNumber = 0;
};

} // namespace tvl
