#include "render/text/LayoutReport.h"

#include "render/text/LayoutTextItem.h"

#include <algorithm>

namespace tvl {

std::vector<TextItemSizes> LayOutTextItems(const LabelDesign& design)
{
    std::vector<TextItemSizes> report;
    for (const std::unique_ptr<CRichChild>& item : design.itemList) {
        if (!item->IsTextual())
            continue;
        TextItemSizes sizes;
        sizes.name = item->name;
        sizes.kind = item->kind;
        sizes.autoFit = item->bAutoFit() != 0;
        const std::shared_ptr<const ItemLayout> layout = LayoutTextItem(*item, design);
        sizes.laidOut = layout != nullptr;
        for (const std::optional<ItemFont>& font : item->fonts) {
            const int height = layout && layout->fittedHeight != 0 ? layout->fittedHeight
                               : font                              ? font->height
                                                                   : 0;
            if (font && std::find(sizes.heights.begin(), sizes.heights.end(), height) == sizes.heights.end())
                sizes.heights.push_back(height);
        }
        report.push_back(std::move(sizes));
    }
    return report;
}

} // namespace tvl
