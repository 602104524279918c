#pragma once

#include <span>

namespace tvl {

// tovrelline save-as IN.tvl OUT.tvl: opens a design as the program does and saves it as version 310.
int RunSaveAsVerb(std::span<char*> args);

} // namespace tvl
