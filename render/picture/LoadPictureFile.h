#pragma once

#include "document/files/FileResult.h"

#include <QString>

namespace tvl {

class CRichChild;

// Gives an "Image" item the picture in a file again (after a paste, a copy or an undo): a picture with an
// alpha channel is flattened over white, and the file's bytes are kept with the picture so the design
// can store the file as it was. On failure the item has no picture and the error carries the message
// the user sees: "The image file has been moved or deleted" (no such file), "Invalid image format." (no
// decoder took it) or "Error: The image file has been moved." (it vanished while being read).
FileResult<> LoadPictureFile(CRichChild& item, const QString& path);

} // namespace tvl
