#pragma once

#include <QFont>

namespace tvl {

// 8.5 points at 96 dots per inch; at other resolutions 8.5 × 96 / dpi, truncated to tenths, so that the
// controls keep the pixel size the dialogs' pixel layouts were made for.
double ControlFontPointSize(double dpi);

// The desktop's sans-serif font at ControlFontPointSize(dpi).
QFont InterfaceFont(double dpi);

} // namespace tvl
