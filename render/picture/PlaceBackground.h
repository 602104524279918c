#pragma once

#include <QStringView>

namespace tvl {

class CRichChild;
class LabelDesign;

// How far backgrounds run past the label edge, in mils, per kind of label.
struct BackgroundOverlaps
{
    int front = 0;
    int back = 0;
    int discs = 0;
};

// Makes an "Image" item the background of the area it lies on: the whole surface, the front or inside
// panel of a folded booklet (by which half holds the picture's centre), or the left or right tab of a
// DVD wrap-around cover (by which tab the centre is nearer). The picture takes the area's rectangle,
// grown by the overlap on the sides that meet the label edge, loses its aspect lock, and moves in the
// item list to just after its surface's structural items and earlier backgrounds. False (nothing
// changed) for other items or when the picture's surface does not exist.
bool PlaceBackground(LabelDesign& design, CRichChild& picture, const BackgroundOverlaps& overlaps,
                     QStringView caseKind);

} // namespace tvl
