#pragma once

#include <optional>

namespace tvl {

// Runs a command-line verb ("tovrelline VERB ...") when argv names one.
// Returns the process exit code, or nothing when the window should start: no arguments, a single one (the
// design to open, however unreadable), or several whose first is an option or an existing file. Several
// arguments that start with anything else are a usage error: the verbs are listed and 2 is returned.
std::optional<int> RunCommandLine(int argc, char** argv);

// Prints the program's usage with every verb; returns 0.
int PrintUsage();

} // namespace tvl
