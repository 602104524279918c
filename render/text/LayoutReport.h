#pragma once

#include "document/model/LabelDesign.h"

#include <QString>
#include <vector>

namespace tvl {

// The outcome of laying out one "Text" or "Track" item.
struct TextItemSizes
{
    QString name;
    ItemKind kind = ItemKind::None;
    bool autoFit = false;
    bool laidOut = false;     // false when its surface or "Disc 1" is missing
    std::vector<int> heights; // the distinct font sizes of its runs (tenths of a point), in text order
};

// Lays out every text and track item of a design and reports the sizes its runs are drawn at (with
// bAutoFit, the size AutoFit chose).
std::vector<TextItemSizes> LayOutTextItems(const LabelDesign& design);

} // namespace tvl
