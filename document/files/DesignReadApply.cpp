#include "document/files/DesignReadApply.h"

#include "document/commands/DefaultDesigns.h"

namespace tvl {
namespace {

constexpr int kDuplicateDisc = 3;
constexpr int kDiscOnTop = 1;

} // namespace

void DesignViewHooks::AlbumFieldChanged(const QString&, const QString&) {}
void DesignViewHooks::RefreshBars() {}
void DesignViewHooks::ApplyStocks(LabelDesign&, const LiveDesignState&, int&) {}
void DesignViewHooks::SelectItem(const QString&) {}
void DesignViewHooks::Redraw() {}

void ApplyReadDesign(LabelDesign& design, LiveDesignState& live, int& discPositionMode, QString& title,
                     DesignViewHooks& hooks)
{
    const CAlbumInfo& header = design.albumHeader;
    live.currentSurface = header.currentSurface;
    live.currentPageCode = header.currentPageCode;
    live.discMode = header.discMode;
    live.caseKind = header.caseKind;
    if (live.discMode == u"Double" && discPositionMode == kDuplicateDisc)
        discPositionMode = kDiscOnTop;

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
    if (surface != u"Disc 2" && surface != u"Disc 1" && surface != u"Front Cover" &&
        surface != u"Back Cover") {
        if (live.currentPageCode == u"1")
            live.currentSurface = QStringLiteral("Disc 1");
        else if (live.currentPageCode == u"2")
            live.currentSurface = QStringLiteral("Front Cover");
        else if (live.currentPageCode == u"3")
            live.currentSurface = QStringLiteral("Back Cover");
        else
            live = {QStringLiteral("Disc 1"), QStringLiteral("1"), live.discMode, live.caseKind};
    }
    design.albumHeader.currentSurface = live.currentSurface;
    hooks.RefreshBars();
    hooks.ApplyStocks(design, live, discPositionMode);
    hooks.SelectItem(live.currentSurface);
    hooks.Redraw();
}

} // namespace tvl
