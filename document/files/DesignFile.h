#pragma once

#include "document/files/FileResult.h"
#include "document/model/LabelDesign.h"

class QIODevice;

namespace tvl {

// The version this program writes; it reads 300 up to it.
inline constexpr int kDesignVersion = 310;
inline constexpr int kOldestDesignVersion = 300;

// The state of the open design that is not an item: the surface shown, its page code, the disc mode
// ("Single", "Double") and the case kind ("Jewel", "DVD"). The header carries them in the file.
struct LiveDesignState
{
    QString currentSurface;
    QString currentPageCode;
    QString discMode;
    QString caseKind;
};

// A design as read from a file, before it replaces the open one.
struct DesignContent
{
    LabelDesign design;
    int fileVersion = -1;
};

// Writes the design as version 310: two placeholder lists, the header (taking live's fields), the items
// and a picture block for every "Image" item. Fails with code 154 when a picture cannot be encoded.
FileResult<> WriteDesign(QIODevice& device, LabelDesign& design, const LiveDesignState& live);
// The same into a file, through a temporary file that replaces the old one only when all was written;
// a failed write leaves the old file as it was.
FileResult<> WriteDesignFile(const QString& path, LabelDesign& design, const LiveDesignState& live);

// Reads a design of versions 300 to 310. Newer versions and versions 7 to 299 are refused with the
// message the user sees; early designs (below 7) are refused until their reader exists. Damaged files
// fail with code 153 and the stage reached. Never allocates more than the file can hold.
FileResult<DesignContent> ReadDesign(QIODevice& device);
FileResult<DesignContent> ReadDesignFile(const QString& path);

} // namespace tvl
