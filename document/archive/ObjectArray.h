#pragma once

#include "document/archive/CArchive.h"

#include <memory>
#include <vector>

namespace tvl {

// Object arrays: a count, then each element as an object reference. Record types provide a static
// Class() naming their stored class.
template <class Record>
void PutObjectArray(CArchive& archive, const std::vector<std::unique_ptr<Record>>& records)
{
    archive.PutCount(static_cast<std::uint32_t>(records.size()));
    for (const auto& record : records)
        archive.PutObject(record.get());
}

// Elements that are no object are dropped; each element takes at least two bytes of the stream. A count
// above maxCount is refused before any element is read.
template <class Record>
std::vector<std::unique_ptr<Record>> GetObjectArray(CArchive& archive, std::uint32_t maxCount = UINT32_MAX)
{
    const std::uint32_t count = archive.GetElementCount(2, maxCount);
    std::vector<std::unique_ptr<Record>> records;
    records.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        ArchiveRecord* object = archive.GetObject(&Record::Class());
        if (object)
            records.emplace_back(static_cast<Record*>(archive.TakeObject(object).release()));
    }
    return records;
}

} // namespace tvl
