#pragma once

#include <memory>
#include <vector>

namespace tvl {

class CArchive;
class CxImage;

// The pictures stored after an early header, numbered from 0 in the order of their blocks. An entry is
// null when its block held no bytes or bytes that decode as no picture.
using EarlyPictureList = std::vector<std::shared_ptr<CxImage>>;

// Reads count blocks. Versions 2 to 6 use the picture block of current designs (format and byte count
// as text lines); version 1 and older a word type tag, the byte count in the width the tag gives and the
// bytes, tried as ICO, then BMP, then JPEG. A negative count, an unknown tag or a byte count the file
// cannot hold raises the archive's end-of-file error.
EarlyPictureList ReadEarlyPictures(CArchive& archive, int fileVersion, int count);

} // namespace tvl
