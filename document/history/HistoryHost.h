#pragma once

#include "document/model/DiscPlacement.h"

#include <QString>

namespace tvl {

class CRichChild;

// What the undo history needs from the view that owns the design: the selection, the text engine's
// caret, the document's modified flag, and the view state a step restores.
class HistoryHost
{
public:
    virtual ~HistoryHost() = default;

    virtual CRichChild* SelectedItem() = 0;
    virtual void ClearSelection() = 0;
    virtual void MarkModified() = 0;
    // The text engine's caret range in an item being edited.
    virtual void CaretRange(const CRichChild& item, int& start, int& end) = 0;
    virtual void SetDiscPositionMode(DiscPositionMode mode) = 0;
    // A "Double" design; in a single one a step never shows "Disc 2".
    virtual bool IsDoubleDesign() const = 0;
    // Loads the picture of an image item again from its imagePath; false leaves it without picture.
    virtual bool ReloadPicture(CRichChild& item) = 0;
    // After a step was applied: show this surface, select this item when select is set (its caret
    // already clamped), and redraw.
    virtual void ShowAfterUndo(const QString& surface, const QString& itemName, bool select) = 0;
};

} // namespace tvl
