#include "document/model/CText.h"

#include "document/archive/CArchive.h"

namespace tvl {

const RecordClass& CText::Class()
{
    static const RecordClass recordClass{"CText", kRecordSchema, true,
                                         [] { return std::make_unique<CText>(); }};
    return recordClass;
}

void CText::Serialize(CArchive& archive)
{
    if (archive.IsLoading())
        schemaSeen = archive.GetObjectSchema();
    archive.Exchange(number);
    archive.Exchange(name);
    archive.Exchange(kind);
    archive.Exchange(value);
}

} // namespace tvl
