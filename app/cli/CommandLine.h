#pragma once

#include <optional>

namespace tvl {

// Runs a command-line verb ("tovrelline VERB ...") when argv names one, and answers usage and version
// requests. Returns the process exit code, or nothing when the window should start (see ChooseLaunch).
std::optional<int> RunCommandLine(int argc, char** argv);

} // namespace tvl
