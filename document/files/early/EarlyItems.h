#pragma once

#include "document/files/early/EarlyAlbumFields.h"
#include "document/files/early/EarlyPictures.h"
#include "document/files/early/EarlyRows.h"

namespace tvl {

class LabelDesign;

// Turns normalised property rows into items of the design, in row order. A row whose value is an item
// kind starts a group of a fixed number of rows that makes one item; any other row is skipped together
// with as many following rows as its order number says. "Text" items take their text from the text row
// of the same name, "Track" items from the album; picture indexes select from pictures (an index
// beyond it drops the item, an index used twice gives the later item a copy). Pictures are placed in
// front of the pictures of their surface with a larger picture number (backgrounds in front of them
// all). Last, a missing "Front Cover (Inside)" boundary is made from the front cover.
//
// Returns false when a group is cut short by the end of the rows: the items made before it stay, and
// the inside boundary is still made.
bool EarlyRowsToItems(const PropertyRows& rows, const TextRows& textRows, const EarlyPictureList& pictures,
                      LabelDesign& design);

} // namespace tvl
