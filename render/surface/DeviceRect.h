#pragma once

#include "document/model/EdgeRect.h"

namespace tvl {

class CRichChild;

// The item's rectangle scaled to a device: every x becomes trunc(zoomFactor * dpiX * x * 0.001), every y
// the same with dpiY; offsets and inflate (mils) are scaled alike, then the rectangle is moved by the
// offset and grown by inflate on every side. Disc surfaces give the square of their outer diameter, or
// with innerCircle the square of their hub, which an inflation shrinks instead. With dpiX and dpiY 0 the
// result stays in mils. Computed in 64 bits; edges beyond the range of an int are held at its limits.
EdgeRect GetDeviceRect(const CRichChild& item, bool innerCircle, int inflate, double dpiX, double dpiY,
                       float zoomFactor, int offsetX, int offsetY);

// The same rule for a length: trunc(zoomFactor * dpi * value * 0.001), or value itself when dpi is 0; held
// at the limits of an int.
int ScaleToDevice(int value, double dpi, float zoomFactor);

} // namespace tvl
