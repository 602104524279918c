#include "document/files/DesignReadApply.h"

#include "document/commands/DefaultDesigns.h"
#include "document/model/SurfaceNames.h"

namespace tvl {

void DesignViewHooks::AlbumFieldChanged(const QString&, const QString&) {}
void DesignViewHooks::RefreshBars() {}
void DesignViewHooks::ApplyStocks(LabelDesign&, const LiveDesignState&, DiscPositionMode&) {}
void DesignViewHooks::SelectItem(const QString&) {}
void DesignViewHooks::Redraw() {}

void ApplyReadDesign(LabelDesign& design, LiveDesignState& live, DiscPositionMode& discPositionMode,
                     QString& title, DesignViewHooks& hooks)
{
    const CAlbumInfo& header = design.albumHeader;
    live.currentSurface = header.currentSurface;
    live.currentPageCode = header.currentPageCode;
    live.discMode = header.discMode;
    live.caseKind = header.caseKind;
    if (live.discMode == u"Double" && discPositionMode == DiscPositionMode::DuplicateDisc)
        discPositionMode = DiscPositionMode::DiscOnTop;

    if (IsDefaultDesignName(title)) {
        FillSampleAlbum(design);
        title = QStringLiteral("Untitled.tvl");
    } else {
        for (int field = 0; field < kAlbumFieldCount; ++field) {
            const QString name = AlbumFieldKey(static_cast<AlbumField>(field));
            const QString value = header.LinkedAlbumText(name);
            design.SetAlbumField(name, value);
            hooks.AlbumFieldChanged(name, value);
        }
    }

    design.RefreshLinkedItems();
    const QString& surface = live.currentSurface;
    if (SurfaceIndexOf(surface) < 0) {
        if (live.currentPageCode == u"1")
            live.currentSurface = kDisc1.toString();
        else if (live.currentPageCode == u"2")
            live.currentSurface = kFrontCover.toString();
        else if (live.currentPageCode == u"3")
            live.currentSurface = kBackCover.toString();
        else
            live = {kDisc1.toString(), QStringLiteral("1"), live.discMode, live.caseKind};
    }
    design.albumHeader.currentSurface = live.currentSurface;
    hooks.RefreshBars();
    hooks.ApplyStocks(design, live, discPositionMode);
    hooks.SelectItem(live.currentSurface);
    hooks.Redraw();
}

} // namespace tvl
