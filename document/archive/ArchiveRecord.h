#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

namespace tvl {

class CArchive;
class ArchiveRecord;

// A stored class: its exact, case-sensitive name (ASCII, under 64 characters), its schema number and
// how to make an empty instance for the loader.
struct RecordClass
{
    std::string_view name;
    std::uint16_t schema;
    bool versionable;
    std::function<std::unique_ptr<ArchiveRecord>()> factory;
};

// The schema every stored class of ours carries; its low 16 bits go into new-class records.
inline constexpr std::uint16_t kRecordSchema = 310;

// A record that takes part in the archive. Serialize writes the fields when the archive stores and
// reads them in the same order when it loads.
class ArchiveRecord
{
public:
    virtual ~ArchiveRecord() = default;
    virtual const RecordClass& recordClass() const = 0;
    virtual void Serialize(CArchive& archive) = 0;
};

// The classes a loading archive may create; document classes are always present, other libraries add
// theirs once (adding the same class again is harmless).
void RegisterRecordClass(const RecordClass& recordClass);
const RecordClass* FindRecordClass(std::string_view name);

} // namespace tvl
