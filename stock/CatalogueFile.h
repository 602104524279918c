#pragma once

#include "stock/CLabelDim.h"

#include <memory>
#include <vector>

class QIODevice;

namespace tvl {

// The content of a catalogue file ("labels.ini", "labels2.ini"): the stock list as an object array, then
// the current disc and case indices as the text "disc,case".
struct CatalogueContent
{
    std::vector<std::unique_ptr<CLabelDim>> stocks;
    int currentDisc = 0;
    int currentCase = 0;
    // False when the file ended early or held something else; stocks then holds what was read.
    bool complete = false;
};

// Reads as much as the file holds. With readIndices false the index text is not read.
CatalogueContent ReadCatalogueFile(QIODevice& device, bool readIndices = true);

// Writes the catalogue; a device that fails to write keeps its own error.
void WriteCatalogueFile(QIODevice& device, const std::vector<std::unique_ptr<CLabelDim>>& stocks,
                        int currentDisc, int currentCase);

} // namespace tvl
