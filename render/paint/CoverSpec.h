#pragma once

#include "document/model/EdgeRect.h"

#include <QPoint>
#include <QRgb>
#include <QSize>
#include <QTransform>

namespace tvl {

class CRichChild;

// Border modes: bit 1 the label's outline (discs: outer and hub circles), bit 2 the fold line of a
// folded front cover or the two spine lines of the back cover.
enum BorderMode
{
    NoBorder = 0,
    BorderOutline = 1,
    BorderFolds = 2,
    BorderOutlineAndFolds = 3,
};

// How one cover is laid onto a device. Sheet mils map to device pixels the way every device rectangle
// is computed: a length of x mils is trunc(dpiX * x * 0.001 * zoom) pixels, and a point is its own
// scaled position plus the scaled offsetMils, each truncated alone, so that edges shared by two items
// stay shared at any resolution.
struct CoverSpec
{
    double dpiX = 300;
    double dpiY = 300;
    float zoom = 1.0f;
    QPoint offsetMils;
    // How far, in mils, the backgrounds run past the label's edge; a disc's ring grows as far outwards
    // and into the hub.
    int overlap = 0;
    int borderMode = NoBorder;
    // The colour already under the cover: covers of this colour drawn before anything else are skipped.
    QRgb background = 0xffffffffu;
    // On screen a folded front cover's colour fills only its front panel and the inside panel shows its
    // own colour.
    bool panelColoursOnly = false;
    // Pixel changes (left, top, right, bottom) of a disc's outer and hub circles, for clipping and
    // border alike: previews nudge them to look right when scaled down.
    EdgeRect outerCircleAdjust;
    EdgeRect hubCircleAdjust;
    // The hub hole shrinks by the overlap as the ring grows into it; a printed sheet keeps it.
    bool hubShrinks = true;

    // The spec that puts the cover's top-left corner, grown by overlap, at the device origin.
    static CoverSpec AtOrigin(const CRichChild& cover, double dpiX, double dpiY, float zoom, int overlap);

    // The item's rectangle on the device; a disc surface gives the square of its outer circle, or with
    // hub the square of its hub. inflate (mils) grows it on every side (shrinks a hub).
    EdgeRect DeviceRect(const CRichChild& item, bool hub = false, int inflate = 0) const;
    // A disc's outer circle or hub square grown by the overlap, with the preview adjustments.
    EdgeRect RingEdge(const CRichChild& disc, bool hub) const;
    // A rectangle of sheet mils on the device.
    EdgeRect Map(const EdgeRect& mils) const;
    // A length in mils as pixels along x.
    int ScaleX(int mils) const;
    // The area of the cover grown by overlap on the device, grown in mils before scaling so that an
    // image of GrownSize lies wholly inside it.
    EdgeRect GrownArea(const CRichChild& cover) const;
    // The pixel size of the cover grown by overlap: the size of an image that holds it.
    QSize GrownSize(const CRichChild& cover) const;
    // Sheet mils to device coordinates for text: the cover grown by overlap maps onto GrownSize.
    QTransform TextTransform(const CRichChild& cover) const;
};

} // namespace tvl
