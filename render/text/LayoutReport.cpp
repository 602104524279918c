#include "render/text/LayoutReport.h"

#include "render/text/LayoutTextItem.h"

#include <algorithm>

namespace tvl {

std::vector<TextItemSizes> LayOutTextItems(LabelDesign& design)
{
    std::vector<TextItemSizes> report;
    for (const std::unique_ptr<CRichChild>& item : design.itemList) {
        if (!item->IsTextual())
            continue;
        ClearLayout(*item);
        TextItemSizes sizes;
        sizes.name = item->name;
        sizes.kind = item->kind;
        sizes.autoFit = item->bAutoFit() != 0;
        sizes.laidOut = LayoutTextItem(*item, design) != nullptr;
        for (const std::optional<ItemFont>& font : item->fonts) {
            if (font &&
                std::find(sizes.heights.begin(), sizes.heights.end(), font->height) == sizes.heights.end())
                sizes.heights.push_back(font->height);
        }
        report.push_back(std::move(sizes));
    }
    return report;
}

} // namespace tvl
