#pragma once

#include "document/model/CRichChild.h"
#include "document/model/LabelDesign.h"
#include "render/text/FontEngine.h"
#include "render/text/ItemLayout.h"
#include "render/text/LayoutFrame.h"

#include <optional>

namespace tvl {

// The upright frame of an item (its rectangle relative to its surface, turned by its angle) and, on
// the disc sheet, its disc; none when its surface or "Disc 1" is missing.
std::optional<LayoutFrame> FrameOfItem(const CRichChild& item, const LabelDesign& design);

// Lays out a "Text" or "Track" item unless it already has a layout, and returns it (null for other
// items and for items whose surface or "Disc 1" is missing). With bAutoFit the chosen size is written
// into the item's font runs.
const ItemLayout* LayoutTextItem(CRichChild& item, const LabelDesign& design,
                                 FontEngine& engine = FontEngine::ForThisThread());

// Drops the layout; the next drawing lays the item out again.
void ClearLayout(const CRichChild& item);

} // namespace tvl
