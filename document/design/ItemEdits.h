#pragma once

#include "document/model/DiscPlacement.h"

#include <QString>
#include <functional>

namespace tvl {

class CRichChild;
class DesignDocument;
class LabelDesign;
struct ItemFont;

// The commands of the item properties bar and the Layout menu that do more than set one property. Each is
// one undo step; one that changes nothing records none.

// Makes a picture the background of its area: place gives it the area's rectangle and background code and
// moves it behind the content (see PlaceBackground); every other picture of the surface with the same
// code is deleted.
bool SetAsBackground(DesignDocument& document, const QString& name,
                     const std::function<bool(LabelDesign&, CRichChild&)>& place);

// Moves a picture to the top of the drawing order. A background becomes an ordinary 1250 × 1250 picture
// near the middle of the area it covered (a tab, the half of a folded front cover or the surface), moved
// by jitter (0 … 999, a shift of up to 100 mils each way); it stays selected.
bool BringPictureToFront(DesignDocument& document, const QString& name, const std::function<int()>& jitter);

// Locks a picture's aspect ratio after fitting its box to the picture's proportions, or unlocks it. False
// (and nothing changed) when locking a picture whose proportions are unknown.
bool SetAspectLock(DesignDocument& document, const QString& name, bool lock);

// Sets a track list's layout. "Table Format" ends a "Track-Wrap" wrap. On the disc sheet the six disc
// layouts also place the list on its disc with the angle "0 degrees", track numbers only and the layout's
// wrap style.
bool SetTrackLayout(DesignDocument& document, const QString& name, const QString& layout);

// Centres an item on its surface from left to right (horizontal) or from top to bottom. Surfaces, guide
// areas and pages stay where they are.
bool CentreOnSurface(DesignDocument& document, const QString& name, bool horizontal);

// Changes every font run of a text item through change, so that runs of different faces keep them; what a
// formatting command does while the text shows only a caret.
bool ChangeEveryFont(DesignDocument& document, const QString& name,
                     const std::function<void(ItemFont&)>& change);

// Sets the disc position mode and moves the disc surfaces through applyStocks (which reads the mode it is
// given); undo brings back the mode and the places.
void SetDiscPosition(DesignDocument& document, DiscPositionMode mode,
                     const std::function<void(LabelDesign&, DiscPositionMode&)>& applyStocks);

} // namespace tvl
