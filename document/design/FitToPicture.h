#pragma once

namespace tvl {

class CRichChild;

// Shrinks one side of a box (mils) so that it has the proportions of the item's picture; the other side
// stays. False, and the box unchanged, when the item has no valid picture, the picture has no pixels, or
// one side is more than 500 times the other.
bool FitToPicture(const CRichChild& item, int& width, int& height);

} // namespace tvl
