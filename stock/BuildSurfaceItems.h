#pragma once

#include "document/model/CRichChild.h"
#include "document/model/DiscPlacement.h"

#include <QStringView>
#include <memory>
#include <vector>

namespace tvl {

class CLabelDim;

// The structural items of a new design, in drawing order: the front cover with its inside panel, the
// back cover with its two tabs, the three sheets and the two discs, placed by the disc and case stocks.
// Disc 1 takes the first disc position with DiscOnTop, or DuplicateDisc in a "Single" design, else the
// second; disc 2 takes the other. Covers and panels start white; disc covers keep text 50 mils from
// their edges.
std::vector<std::unique_ptr<CRichChild>> BuildSurfaceItems(const CLabelDim& disc, const CLabelDim& caseStock,
                                                           QStringView discMode,
                                                           DiscPositionMode discPositionMode);

} // namespace tvl
