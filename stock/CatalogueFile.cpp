#include "stock/CatalogueFile.h"

#include "document/archive/CArchive.h"
#include "document/archive/ObjectArray.h"

namespace tvl {
namespace {

// The decimal value of the leading digits of text (with an optional sign); 0 when there are none or
// they do not fit.
int LeadingIndex(QStringView text)
{
    qsizetype end = 0;
    if (end < text.size() && (text[end] == u'-' || text[end] == u'+'))
        ++end;
    while (end < text.size() && text[end].isDigit())
        ++end;
    bool ok = false;
    const int value = text.left(end).toInt(&ok);
    return ok ? value : 0;
}

} // namespace

CatalogueContent ReadCatalogueFile(QIODevice& device, bool readIndices)
{
    CatalogueContent content;
    try {
        CArchive archive(device, CArchive::Mode::Load);
        const std::uint32_t count = archive.GetElementCount(2);
        for (std::uint32_t i = 0; i < count; ++i) {
            ArchiveRecord* object = archive.GetObject(&CLabelDim::Class());
            if (object)
                content.stocks.emplace_back(static_cast<CLabelDim*>(archive.TakeObject(object).release()));
        }
        if (readIndices) {
            const QString indices = archive.GetString();
            const qsizetype comma = indices.indexOf(u',');
            content.currentDisc = LeadingIndex(QStringView(indices).left(comma < 0 ? indices.size() : comma));
            content.currentCase = comma < 0 ? 0 : LeadingIndex(QStringView(indices).mid(comma + 1));
        }
        content.complete = true;
    } catch (const ArchiveError&) {
    } catch (const std::bad_alloc&) {
    }
    return content;
}

void WriteCatalogueFile(QIODevice& device, const std::vector<std::unique_ptr<CLabelDim>>& stocks,
                        int currentDisc, int currentCase)
{
    CArchive archive(device, CArchive::Mode::Store);
    PutObjectArray(archive, stocks);
    archive.PutString(QString::number(currentDisc) + u',' + QString::number(currentCase));
    archive.Flush();
}

} // namespace tvl
