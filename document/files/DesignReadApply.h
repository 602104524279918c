#pragma once

#include "document/files/DesignFile.h"
#include "document/model/DiscPlacement.h"

namespace tvl {

// What the view does for a design that has just been read; the default of each is to do nothing.
class DesignViewHooks
{
public:
    virtual ~DesignViewHooks() = default;
    // The text editor bar shows the new value of an album field.
    virtual void AlbumFieldChanged(const QString& key, const QString& value);
    // The main frame refreshes its bars for the new design.
    virtual void RefreshBars();
    // The current label stocks are applied to the surface items (may change discPositionMode).
    virtual void ApplyStocks(LabelDesign& design, const LiveDesignState& live,
                             DiscPositionMode& discPositionMode);
    virtual void SelectItem(const QString& name);
    virtual void Redraw();
};

// Makes a design just read the open one: the header becomes the live state (a double design leaves the
// duplicate disc position), the sample album is filled when title is a default name (title then becomes
// "Untitled.tvl"), linked texts are refreshed, a missing current surface is chosen from the page code,
// then the hooks refresh the bars, apply the stocks, select the current surface and redraw. The caller
// then clears the modified flag and turns undo recording on.
void ApplyReadDesign(LabelDesign& design, LiveDesignState& live, DiscPositionMode& discPositionMode,
                     QString& title, DesignViewHooks& hooks);

} // namespace tvl
