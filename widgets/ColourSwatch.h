#pragma once

#include <QColor>
#include <QIcon>

namespace tvl {

// The side of a colour swatch, in pixels.
inline constexpr int kSwatchSize = 18;

// A square of the colour with a grey frame, as the palette and the custom colour dialog show it.
QIcon SwatchIcon(QColor colour);

} // namespace tvl
