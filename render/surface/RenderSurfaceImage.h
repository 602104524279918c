#pragma once

#include "render/paint/CoverSpec.h"

#include <QImage>
#include <QRgb>
#include <QSize>
#include <optional>

class QPainter;

namespace tvl {

class CRichChild;
class LabelDesign;

// Resolution codes: 0 = 150, 1 = 300, 2 = 600 dots per inch; 7 and 8 = 100 (previews). -1 otherwise.
int ResolutionDpi(int resolutionCode);
// Overlap codes: 1 = 50, 2 = 100, 3 = 150 mils; anything else 0.
int OverlapMils(int overlapCode);

// One cover alone as an image: the cover grown by the overlap on every side, at any resolution.
struct SurfaceImageRequest
{
    int surface = 0; // SurfaceIndex
    double dpiX = 300;
    double dpiY = 300;
    int overlap = 0; // mils
    int borderMode = NoBorder;
    QRgb background = 0xffffffffu;
    // Previews grow a disc's outer circle by one pixel at its right and bottom edges.
    int ringGrowth = 0;
};

// The request of the dialogs' codes: a resolution code, a border mode and an overlap code; code 7 is the
// export preview (no borders, the disc's ring one pixel wider), code 8 the print dialog's preview (no
// borders, grown by margin mils instead of the overlap). None for an unknown resolution code.
std::optional<SurfaceImageRequest> RequestForCodes(int surface, int resolutionCode, int borderMode,
                                                   int overlapCode, int margin = 0);

// The pixel size of a cover grown by overlap mils on every side: trunc(dpi * length * 0.001) per axis; a
// disc is the square of its outer diameter.
QSize SurfaceImageSize(const CRichChild& cover, double dpiX, double dpiY, int overlap);
// The same for a request; empty when the surface does not exist or the resolution is not positive.
QSize SurfaceImageSize(const LabelDesign& design, const SurfaceImageRequest& request);

// Paints the cover through PaintCover onto a painter whose device is SurfaceImageSize and already shows
// the request's background. False (nothing drawn) when the surface or resolution does not exist.
bool DrawSurfaceImage(QPainter& painter, const LabelDesign& design, const SurfaceImageRequest& request);

// The same into a new image filled with the background; null when the surface or resolution does not
// exist or the bitmap cannot be made.
QImage RenderSurfaceImage(const LabelDesign& design, const SurfaceImageRequest& request);

} // namespace tvl
