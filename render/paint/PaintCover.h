#pragma once

#include "render/paint/CoverSpec.h"

#include <QStringView>

class QPainter;

namespace tvl {

class LabelDesign;
class PictureCache;

// Paints one cover of the design the way it prints: the covers' colours (grown by the overlap on the
// sides that meet the label's edge) and pictures in item order, then text, clipped to the cover grown
// by the overlap (a disc to its ring), then the border and fold lines the spec asks for. The painter's
// state, clip included, is as before afterwards; the clip it had is intersected, never replaced. With a
// cache, opaque pictures are copied from stretched copies kept there. Returns the number of items
// drawn; 0 when the design has no such cover.
int PaintCover(QPainter& painter, const LabelDesign& design, QStringView surface, const CoverSpec& spec,
               PictureCache* cache = nullptr);

// Whether painting the cover reaches the font database: its text items do, and so do the metafile pictures
// on it, whose text is drawn only where fonts are available (they are played when they are read). Everything
// else paints without a GUI application.
bool CoverNeedsFonts(const LabelDesign& design, QStringView surface);

} // namespace tvl
