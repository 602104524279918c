#pragma once

#include "document/model/CRichChild.h"
#include "document/model/LabelDesign.h"
#include "render/text/FontEngine.h"
#include "render/text/ItemLayout.h"
#include "render/text/LayoutFrame.h"

#include <memory>
#include <optional>

namespace tvl {

// The upright frame of an item (its rectangle relative to its surface, turned by its angle) and, on
// the disc sheet, its disc; none when its surface or "Disc 1" is missing.
std::optional<LayoutFrame> FrameOfItem(const CRichChild& item, const LabelDesign& design);

// The layout of a "Text" or "Track" item (null for other items and for items whose surface or "Disc 1"
// is missing). Layouts are kept per thread outside the design, each for as long as the item, its
// surface and "Disc 1" keep their revisions, so the design stays untouched and drawing it again lays
// nothing out.
std::shared_ptr<const ItemLayout> LayoutTextItem(const CRichChild& item, const LabelDesign& design,
                                                 FontEngine& engine = FontEngine::ForThisThread());

// Keeps layout as the item's layout as it is now: an AutoFit layout still holds once the size AutoFit
// chose is stored in the item's runs.
void KeepLayout(const CRichChild& item, const LabelDesign& design, std::shared_ptr<const ItemLayout> layout);

} // namespace tvl
