#pragma once

#include "document/model/CProperty.h"

#include <memory>
#include <vector>

namespace tvl {

using PropertyRows = std::vector<std::unique_ptr<CProperty>>;

// Brings the property rows of versions 1 to 5 to the form of version 6, row by row in file order:
// below 3 the angle rows of items off the discs get the four angles as choices and 180 degrees becomes
// 270; below 4 fixed "Wrap Tracks" rows become editable with "No"; below 5 album and image positions
// become fixed, image kind rows get their picture numbers (counted on from pictureCounter) and the
// "Aspect Ratio" row becomes "Lock Aspect Ratio", "Set as Background" and "Bring to Front"; below 6
// positions, diameters, orientation and folding become fixed.
PropertyRows NormaliseEarlyRows(PropertyRows rows, int fileVersion, int& pictureCounter);

} // namespace tvl
