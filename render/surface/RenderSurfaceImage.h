#pragma once

#include <QImage>
#include <QRgb>
#include <QSize>

class QPainter;

namespace tvl {

class CRichChild;
class LabelDesign;

// Resolution codes: 0 = 150, 1 = 300, 2 = 600 dots per inch; 7 and 8 = 100 (previews). -1 otherwise.
int ResolutionDpi(int resolutionCode);
// Overlap codes: 1 = 50, 2 = 100, 3 = 150 mils; anything else 0.
int OverlapMils(int overlapCode);

// Border modes: bit 1 the label's outline (discs: outer and hub circles), bit 2 the fold line of a
// folded front cover or the two spine lines of the back cover.
enum BorderMode
{
    NoBorder = 0,
    BorderOutline = 1,
    BorderFolds = 2,
    BorderOutlineAndFolds = 3,
};

struct SurfaceImageRequest
{
    int surface = 0; // SurfaceIndex
    int resolutionCode = 1;
    int borderMode = NoBorder;
    int overlapCode = 0;
    QRgb background = 0xffffffffu;
    int margin = 0; // resolution code 8 grows the cover by this many mils instead of the overlap
};

// The pixel size of a cover grown by overlap mils on every side at dpi: trunc(dpi * length * 0.001) per
// axis; a disc is the square of its outer diameter.
QSize SurfaceImageSize(const CRichChild& cover, int dpi, int overlap);

// One cover alone at the chosen resolution, the way it prints, onto a painter whose device is
// SurfaceImageSize: the background colour, the covers' colours (grown by the overlap) and pictures,
// then text, then the border and fold lines; discs are clipped to their ring, grown outwards and into
// the hub by the overlap. False (nothing drawn) when the surface does not exist or the resolution code
// is unknown. Text items may be laid out on the way, hence the non-const design.
bool DrawSurfaceImage(QPainter& painter, LabelDesign& design, const SurfaceImageRequest& request);

// The same into a new image; null when the surface or resolution does not exist or the bitmap cannot
// be made.
QImage RenderSurfaceImage(LabelDesign& design, const SurfaceImageRequest& request);
// The pixel size DrawSurfaceImage needs; empty when the surface or resolution does not exist.
QSize SurfaceImageSize(const LabelDesign& design, const SurfaceImageRequest& request);

} // namespace tvl
