#pragma once

#include "document/files/DesignFile.h"

#include <functional>
#include <vector>

namespace tvl {

class DesignDocument;

// What a read reports beside the design, which the document then holds.
struct DesignReadNotes
{
    // Error numbers to report while the design still opens (see DesignContent).
    std::vector<int> reportedErrors;
    // With PictureReading::HeadersOnly, the headers of the image items' pictures, in item order.
    std::vector<PictureHeader> pictureHeaders;
};

// Steps run on a design just read before the document takes it over, such as the program's opening steps
// (sample album, linked texts, stocks); they may change the live state the document then takes.
using PrepareReadDesign = std::function<void(LabelDesign& design, LiveDesignState& live)>;

// Reads the design file at path and puts it in place of the document's design as one whole: the history
// starts empty, the design is not modified, the file version is the file's and the live state is what
// the file stored (after prepare, when given). A failed read leaves the document as it was.
FileResult<DesignReadNotes> ReadIntoDocument(DesignDocument& document, const QString& path,
                                             PictureReading pictures = PictureReading::Decode,
                                             const PrepareReadDesign& prepare = {});

} // namespace tvl
