#pragma once

#include "document/model/CRichChild.h"
#include "document/model/EdgeRect.h"
#include "document/model/LabelDesign.h"

#include <QLine>
#include <QPoint>
#include <QSize>
#include <QTransform>

class QPainter;

namespace tvl {

// The mapping of the drawing routines from sheet mils to a device: a point is moved by the offset (mils)
// and then scaled from the window extent (mils) to the viewport extent (device units).
QTransform MilsToDevice(int offsetX, int offsetY, QSize windowExtent, QSize viewportExtent);

// Draws a "Text" or "Track" item, laying it out first when needed (an AutoFit item at the size AutoFit
// chose). milsToDevice maps the item's sheet
// coordinates (mils) to the painter's coordinates and is applied on top of the painter's transform and
// clip; drawing is clipped to the item's rectangle. Items with a missing surface, items on the unfolded
// inside panel of the front cover and items whose per-character arrays disagree are not drawn.
void DrawTextItem(QPainter& painter, const CRichChild& item, const LabelDesign& design,
                  const QTransform& milsToDevice);

// The bottom-left point of a character's drawing box at an escapement: (left, bottom) upright,
// (right, bottom) at 90 degrees, (right, top) at 180, (left, top) at 270.
QPoint GlyphAnchor(const EdgeRect& glyphCell, int escapement);
// The underline of a character: along its top edge upright, its bottom edge at 180 degrees, its left
// edge at 90 and its right edge at 270.
QLine UnderlineLine(const EdgeRect& glyphCell, int escapement);
// The pen width (mils) of an underline whose line has the largest descent `lineDescent`.
int UnderlinePenWidth(int lineDescent);

} // namespace tvl
