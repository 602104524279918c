#pragma once

namespace tvl {

// Where the discs sit on the disc sheet: disc 1 at the first position, at the second, or (single-disc
// designs only) the one disc printed at both positions.
enum class DiscPositionMode
{
    DiscOnTop = 1,
    DiscOnBottom = 2,
    DuplicateDisc = 3,
};

// The square sheet of a printer that prints directly on the disc, in mils; a disc sheet of this height
// carries no guides and no second disc.
inline constexpr int kDirectToDiscSheet = 5500;

} // namespace tvl
