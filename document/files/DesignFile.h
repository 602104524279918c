#pragma once

#include "document/files/FileResult.h"
#include "document/files/PictureBlock.h"
#include "document/model/LabelDesign.h"

class QIODevice;

namespace tvl {

// The version this program writes; it reads 300 up to it.
inline constexpr int kDesignVersion = 310;
inline constexpr int kOldestDesignVersion = 300;
// A design holding more items than this is refused: no label holds so many, and each item costs memory
// and drawing time.
inline constexpr std::uint32_t kMaxDesignItems = 10000;
// Items whose position or size lies beyond this many mils either way are refused: no sheet is that large,
// and device coordinates computed from them would overflow.
inline constexpr int kMaxDesignMils = 1000000;

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
    // Error numbers to report while the design still opens (parts of an early design that could not be
    // converted).
    std::vector<int> reportedErrors;
    // With PictureReading::HeadersOnly, what the headers of the image items' pictures say, in item order;
    // pictures that are missing or refused have no entry.
    std::vector<PictureHeader> pictureHeaders;
};

// How a read treats the pictures of a design (version 300 and later; early designs always decode them).
enum class PictureReading
{
    Decode,      // into the items
    HeadersOnly, // only their headers, into DesignContent::pictureHeaders: a report needs no pixels
    KeepEncoded, // their stored bytes, kept in the items to be written back: a copy needs no pixels
};

// Writes the design as version 310: two placeholder lists, the header (taking live's fields), the items
// and a picture block for every "Image" item. Fails with code 154 when a picture cannot be encoded.
FileResult<> WriteDesign(QIODevice& device, LabelDesign& design, const LiveDesignState& live);
// The same into a file, through a temporary file that replaces the old one only when all was written;
// a failed write leaves the old file as it was.
FileResult<> WriteDesignFile(const QString& path, LabelDesign& design, const LiveDesignState& live);

// Reads a design of versions 300 to 310. Newer versions and versions 7 to 299 are refused with the
// message the user sees; early designs (below 7, or without the placeholder text row) are read by
// ReadEarlyDesign. Damaged files fail with code 153 and the stage reached, the error's cause saying what
// was wrong; so do designs of more than kMaxDesignItems items or with geometry beyond kMaxDesignMils. Never
// allocates more than the file can hold.
FileResult<DesignContent> ReadDesign(QIODevice& device, PictureReading pictures = PictureReading::Decode);
FileResult<DesignContent> ReadDesignFile(const QString& path,
                                         PictureReading pictures = PictureReading::Decode);

} // namespace tvl
