#include "stock/CatalogueFile.h"
#include "stock/ClampStockField.h"

#include <QBuffer>
#include <cstddef>
#include <cstdint>

// A catalogue file is read as far as it goes; every stock read must survive the geometry rules.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    tvl::CatalogueContent content = tvl::ReadCatalogueFile(buffer);
    for (const auto& stock : content.stocks) {
        for (const char16_t* key : {u"left1", u"top1", u"left2", u"top2", u"width1", u"height1"})
            tvl::ClampStockField(*stock, QStringView(key), stock->LabelTwoOnFirstSheet());
    }
    return 0;
}
