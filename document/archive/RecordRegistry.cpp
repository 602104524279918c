#include "document/archive/ArchiveRecord.h"
#include "document/model/CAlbumInfo.h"
#include "document/model/CProperty.h"
#include "document/model/CRichChild.h"
#include "document/model/CText.h"

#include <mutex>
#include <vector>

namespace tvl {
namespace {

struct Registry
{
    std::mutex mutex;
    std::vector<const RecordClass*> classes{&CAlbumInfo::Class(), &CRichChild::Class(), &CText::Class(),
                                            &CProperty::Class()};
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

} // namespace

void RegisterRecordClass(const RecordClass& recordClass)
{
    Registry& registry = TheRegistry();
    const std::lock_guard lock(registry.mutex);
    for (const RecordClass* known : registry.classes) {
        if (known == &recordClass)
            return;
    }
    registry.classes.push_back(&recordClass);
}

const RecordClass* FindRecordClass(std::string_view name)
{
    Registry& registry = TheRegistry();
    const std::lock_guard lock(registry.mutex);
    for (const RecordClass* known : registry.classes) {
        if (known->name == name)
            return known;
    }
    return nullptr;
}

} // namespace tvl
