#pragma once

#include <span>

namespace tvl {

// tovrelline export FILE.tvl --label front|back|disc1|disc2 [--dpi 150|300|600] [--border 0|1|2|3]
// [--overlap 0|50|100|150] -o OUT: writes one label as an image file in the format of OUT's extension,
// exactly as the export dialog does. Needs no display. Returns the exit code (2 for bad arguments, 1 when
// the design cannot be read or the image not written).
int RunExportVerb(std::span<char*> args);

} // namespace tvl
