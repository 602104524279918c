#pragma once

#include "document/files/early/EarlyAlbumFields.h"
#include "document/files/early/EarlyRows.h"

#include <vector>

namespace tvl {

class CArchive;
class LabelDesign;

// The highest version of the early format; designs below it keep everything in the placeholder lists.
inline constexpr int kLastEarlyVersion = 6;

// How far an early read got; a failed read reports the stage it stopped in.
enum EarlyReadStage
{
    EarlyStageHeader = 20,
    EarlyStagePictures = 21,
    EarlyStageRows = 22,
    EarlyStageAlbum = 23,
    EarlyStageItems = 24,
};

struct EarlyReadResult
{
    bool ok = true; // false: the file is damaged; stage is where the read stopped
    int stage = 0;
    // Errors to report ("Error 674" for the album texts, "Error 675" for the items) while the design
    // still opens with what was converted before them.
    std::vector<int> reportedErrors;
};

// Called by ReadDesign for file versions below 7 (and -1, a file without text rows) with the archive
// after the two placeholder lists. Reads the early header (its picture serial, for versions 5 and 6,
// is the picture counter; for older versions the counter is the last picture number given to an image
// row), then the picture blocks; turns the text rows into album fields and the property rows into items.
// The header's disc mode is "Single" unless the file says "Double"; the rest of the header is as read.
EarlyReadResult ReadEarlyDesign(CArchive& archive, int fileVersion, PropertyRows propertyRows,
                                TextRows textRows, LabelDesign& design);

} // namespace tvl
