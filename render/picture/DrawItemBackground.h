#pragma once

#include "document/model/EdgeRect.h"

#include <QRgb>

#include <optional>

class QPainter;

namespace tvl {

class CRichChild;
class LabelDesign;
class PictureCache;

// Draws the lowest layer of one item into rect (device units of the painter): the background colour of
// a "Cover" or "Boundary" item, grown by overlap (device units) past the label edge on the sides where
// its area meets the edge, or the picture of an "Image" item stretched to fill rect. With a cache,
// opaque pictures are copied from their stretched screen copy (a photograph still being decoded for it
// is left out until it is ready); transparent ones are always drawn directly so the colours beneath show
// through. Without one, pictures are drawn from their full-size pixels. Items of a missing surface, and items
// lying wholly on the inside panel of an unfolded front cover, are not drawn. A cover or boundary without a
// colour is drawn white. Returns whether anything was drawn.
bool DrawItemBackground(const CRichChild& item, const LabelDesign& design, QPainter& painter,
                        const EdgeRect& rect, int overlap, PictureCache* cache);

// The colour a "Cover" or "Boundary" item fills its area with (white when it has none yet); none for other
// items.
std::optional<QRgb> ItemFillColor(const CRichChild& item);

// 0x00BBGGRR as stored in items.
inline unsigned ItemColorToRgb(unsigned color)
{
    return 0xff000000u | ((color & 0xffu) << 16) | (color & 0xff00u) | ((color >> 16) & 0xffu);
}

} // namespace tvl
