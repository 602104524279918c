#pragma once

#include "document/model/EdgeRect.h"

#include <QStringView>

namespace tvl {

// The escapement (tenths of a degree, counter-clockwise) of an item's angle: "0 degrees" 0,
// "90 degrees" 900, "180 degrees" 1800, "270 degrees" -900; anything else 0.
int EscapementOfAngle(QStringView angle);

// Turns a rectangle of a surface into the upright frame of text at that escapement (forward) or back
// (backward), about the square of side `side`. Backward undoes forward exactly.
EdgeRect RotateRect(const EdgeRect& rect, int escapement, int side, bool forward);

} // namespace tvl
