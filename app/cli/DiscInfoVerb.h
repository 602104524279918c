#pragma once

#include <span>

namespace tvl {

// tovrelline disc-info [--drive DEVICE | --toc "OFFSET ... LEADOUT"] ...: reads a disc's table of contents
// and its album data and prints them as JSON.
int RunDiscInfo(std::span<char*> args);

} // namespace tvl
