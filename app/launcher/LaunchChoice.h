#pragma once

#include <cstdio>
#include <optional>
#include <span>
#include <string_view>

namespace tvl {

// What a command line asks for. Deciding it needs no Qt, so that the program can answer the cheap requests
// before it loads the libraries the window and the verbs need.
enum class Launch
{
    Designer,    // the window: no arguments, a single one (the design to open, however unreadable), or
                 // several whose first is an option or an existing file
    Verb,        // a command-line verb, argv[1]
    Usage,       // "help", "--help", "-h"
    Version,     // "--version"
    UnknownVerb, // several arguments starting with a word that is neither a verb nor a file
};

Launch ChooseLaunch(int argc, char** argv);

struct VerbUsage
{
    std::string_view name;
    std::string_view usage;
};

// Every verb with its usage line; "help" among them.
std::span<const VerbUsage> VerbUsages();

// Prints the program's usage with every verb; returns 0.
int PrintUsage();
void WriteUsage(std::FILE* stream);

// Answers the requests that need nothing loaded (usage, version, an unknown verb named by first) with
// their exit code; nothing for the window and the verbs.
std::optional<int> AnswerDirectly(Launch launch, const char* first);

} // namespace tvl
