#include "document/model/CProperty.h"

#include "document/archive/CArchive.h"

namespace tvl {

const RecordClass& CProperty::Class()
{
    static const RecordClass recordClass{"CProperty", kRecordSchema, true,
                                         [] { return std::make_unique<CProperty>(); }};
    return recordClass;
}

void CProperty::Serialize(CArchive& archive)
{
    archive.Exchange(propertyName);
    archive.Exchange(choices);
    archive.Exchange(secondText);
    archive.Exchange(value);
    archive.Exchange(orderNumber);
    archive.Exchange(itemName);
    archive.Exchange(flag);
}

} // namespace tvl
