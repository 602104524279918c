#pragma once

namespace tvl {

// Starts the designer window and runs it until it closes; returns the process exit code. Without a
// display it says so on the standard error stream, lists the command-line verbs and returns 1.
int RunDesigner(int argc, char** argv);

} // namespace tvl
