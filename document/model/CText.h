#pragma once

#include "document/archive/ArchiveRecord.h"

#include <QString>

namespace tvl {

// Placeholder row of design files. Current designs write one empty row so that its class record
// carries the file version; the earliest designs kept their texts in these rows.
class CText : public ArchiveRecord
{
public:
    static const RecordClass& Class();
    const RecordClass& recordClass() const override { return Class(); }
    // Stored order: number, name, kind, value. While loading, schemaSeen holds the schema the stream
    // gave this class (the file version).
    void Serialize(CArchive& archive) override;

    int number = 0;
    QString name;
    QString kind;
    QString value;
    int schemaSeen = -1;
};

} // namespace tvl
