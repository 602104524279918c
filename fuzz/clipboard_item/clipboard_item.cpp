// Reads an object clipboard block as another program may have left it; every input must give an item or
// nothing, and an item read must write and read back the same.
#include "document/clipboard/ClipboardItem.h"
#include "document/clipboard/ClipboardText.h"
#include "document/model/CRichChild.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const QByteArray block(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::unique_ptr<tvl::CRichChild> item = tvl::DecodeClipboardItem(block);
    if (!item)
        return 0;
    tvl::ClipboardTextOf(*item, 0, static_cast<int>(item->characters.size()));
    const std::unique_ptr<tvl::CRichChild> again = tvl::DecodeClipboardItem(tvl::EncodeClipboardItem(*item));
    if (!again || again->characters != item->characters || again->name != item->name)
        std::abort();
    return 0;
}
