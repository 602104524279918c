#pragma once

#include <QString>

namespace tvl {

class CxImage;

// The largest picture put on the clipboard, on each side.
inline constexpr int kClipboardPictureSide = 1000;

// Reads a picture file as it goes on the clipboard: decoded through the image layer, transparency flattened
// over white, shrunk to fit 1000 × 1000 with its proportions kept. False, with the layer's message in error,
// when the file cannot be decoded.
bool ClipboardPicture(const QString& path, CxImage& picture, QString& error);

} // namespace tvl
