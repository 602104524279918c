#pragma once

#include <optional>

namespace tvl {

// Runs a command-line verb ("tovrelline VERB ...") when argv names one.
// Returns the process exit code, or nothing when argv names no verb and the window should start.
std::optional<int> RunCommandLine(int argc, char** argv);

// Prints the program's usage with every verb; returns 0.
int PrintUsage();

} // namespace tvl
