#pragma once

#include <span>

namespace tvl {

// tovrelline dump FILE.tvl [--layout]: prints the design as JSON on standard output.
int RunDumpVerb(std::span<char*> args);

} // namespace tvl
