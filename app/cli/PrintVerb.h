#pragma once

#include <span>

namespace tvl {

// tovrelline print FILE.tvl [--labels front,back,disc1,disc2] [--copies N] [--calibration]
// [--printer NAME | -o OUT.pdf]: the job the Print dialog runs, with the stored print options and labels
// (or those given), to a CUPS queue (the default one when neither is given) or a PDF file. Returns 0 when
// the job was sent or written, 1 when it failed, 2 for wrong arguments.
int RunPrintVerb(std::span<char*> args);

} // namespace tvl
