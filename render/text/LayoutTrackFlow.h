#pragma once

#include "document/model/CRichChild.h"
#include "render/text/FontEngine.h"
#include "render/text/ItemLayout.h"
#include "render/text/LayoutFrame.h"

namespace tvl {

// Lays out a track list as flowing lines in the upright frame: one track per line, or tracks following
// each other ("Track-Wrap"), optionally in "2 Columns" or, on a disc, above and below the hub
// ("Top && Bottom"); with bAutoFit at the largest size that fits. tracks: IndexTracks of the item.
ItemLayout LayoutTrackFlow(const CRichChild& item, const LayoutFrame& frame, FontEngine& engine,
                           const std::vector<TrackCells>& tracks);

} // namespace tvl
