#pragma once

#include "document/model/CRichChild.h"

#include <QString>
#include <optional>
#include <vector>

namespace tvl {

class DesignDocument;
class LabelDesign;

using ColourSlots = std::vector<std::optional<ItemColor>>;

// The colour an item shows at a character index: for a text the colour run in effect there, for a cover
// or boundary the colour of its area. Nothing for items without colours.
std::optional<ItemColor> ColourAt(const CRichChild& item, int index);

// The background code a picture needs to cover an area: 2 for the inside panel of a folded booklet, 3
// and 4 for the tabs of a DVD wrap-around cover, 1 otherwise.
int AreaBackgroundCode(const CRichChild& area, QStringView caseKind);

// Whether the first background picture on the area's surface that fits the area (code 1 fits any area,
// codes 2, 3 and 4 only their own) reaches within 2 mils of every edge of it. The back cover's area
// leaves out its spines; a folded front cover's starts at its middle.
bool IsAreaCovered(const LabelDesign& design, const CRichChild& area);

// Colours a text or an area as one undo step. A text with a caret only (start == end) takes the colour
// as a whole; a selection [start, end) takes it as one run per selected range, the text after keeping
// its colour. A cover or boundary takes it as its area colour; when its background picture hides it,
// the area comes in front of the picture, and the picture goes (on the back cover: every background
// of the surface, once one stands before all its areas). False when nothing changed.
bool ApplyTextColour(DesignDocument& document, const QString& name, int start, int end, ItemColor colour,
                     QStringView caseKind);

// What a colour being chosen looks like: only the colour slots change, as ApplyTextColour would set
// them, with no undo step, no reordering and no picture deleted.
bool PreviewTextColour(DesignDocument& document, const QString& name, int start, int end, ItemColor colour);
// Gives an item back the colour slots it had (after previews), with no undo step.
bool RestoreColourSlots(DesignDocument& document, const QString& name, const ColourSlots& colours);

} // namespace tvl
