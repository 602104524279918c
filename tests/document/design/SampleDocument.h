#pragma once

#include "document/design/DesignDocument.h"

namespace tvl {

// Puts the items and album header of the sample design into document, as a file read would.
void LoadSampleDesign(DesignDocument& document);

} // namespace tvl
