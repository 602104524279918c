#pragma once

#include <QStringView>

namespace tvl {

class CLabelDim;

// Keeps one edited field of a stock inside its sheet and within the disc size limits. key is the
// field's name ("left1", "top1", "left2", "top2", "width1" for the outer disc diameter, "height1" for
// the hub diameter); labelTwoOnFirstSheet says label 2 is printed on the sheet of label 1. Returns true
// when a value changed, so the editor shows the corrected value again.
bool ClampStockField(CLabelDim& stock, QStringView key, bool labelTwoOnFirstSheet);

inline constexpr int kMinDiscDiameter = 1062;
inline constexpr int kMaxDiscDiameter = 5000;
inline constexpr int kMinHubDiameter = 562;
// The hub is at least this much smaller than the disc.
inline constexpr int kMinDiscRing = 500;

} // namespace tvl
