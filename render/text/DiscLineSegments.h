#pragma once

#include "render/text/LayoutFrame.h"

namespace tvl {

// The horizontal room of a line from y to y + lineHeight: on a cover the frame's width; on a disc the
// chord of the ring kept the margin away from the rim and the hub, split in two where it crosses the hub.
LineSegments DiscLineSegments(const LayoutFrame& frame, int y, int lineHeight);

} // namespace tvl
