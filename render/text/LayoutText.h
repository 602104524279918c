#pragma once

#include "document/model/CRichChild.h"
#include "render/text/FontEngine.h"
#include "render/text/ItemLayout.h"
#include "render/text/LayoutFrame.h"

namespace tvl {

// Lays out the text of a "Text" item in the upright frame: lines by wrap style, on a disc within the
// ring, aligned, and with bAutoFit at the largest size that fits (written into the item's font runs).
ItemLayout LayoutText(const CRichChild& item, const LayoutFrame& frame, FontEngine& engine);

} // namespace tvl
