#pragma once

#include "document/model/CRichChild.h"
#include "render/text/FontEngine.h"
#include "render/text/ItemLayout.h"
#include "render/text/LayoutFrame.h"

namespace tvl {

// Lays out a track list as a table in the upright frame: numbers from the left edge, titles after the
// widest number, times ending at the right edge, one row per track ("Word-Wrap" titles may take more
// lines); with bAutoFit at the largest size that fits. tracks: IndexTracks of the item.
ItemLayout LayoutTrackTable(const CRichChild& item, const LayoutFrame& frame, FontEngine& engine,
                            const std::vector<TrackCells>& tracks);

} // namespace tvl
