#pragma once

#include <QImage>
#include <QString>

namespace tvl {

// The largest picture put on the clipboard, on each side.
inline constexpr int kClipboardPictureSide = 1000;

// A picture file as it goes on the clipboard: decoded through the image layer, transparency flattened over
// white, shrunk to fit 1000 × 1000 with its proportions kept. Null, with the layer's message in error, when
// the file cannot be decoded.
QImage ClipboardPicture(const QString& path, QString& error);

} // namespace tvl
