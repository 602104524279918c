#include "app/cli/CommandLine.h"

#include "app/cli/DiscInfoVerb.h"
#include "app/cli/DumpVerb.h"
#include "app/cli/ExportVerb.h"
#include "app/cli/PrintVerb.h"
#include "app/cli/SaveAsVerb.h"
#include "app/launcher/LaunchChoice.h"

#include <span>
#include <string_view>

namespace tvl {
namespace {

struct VerbRunner
{
    std::string_view name;
    int (*run)(std::span<char*> args);
};

constexpr VerbRunner runners[] = {
    {"disc-info", RunDiscInfo}, {"dump", RunDumpVerb},   {"save-as", RunSaveAsVerb},
    {"export", RunExportVerb},  {"print", RunPrintVerb},
};

} // namespace

std::optional<int> RunCommandLine(int argc, char** argv)
{
    const Launch launch = ChooseLaunch(argc, argv);
    if (launch != Launch::Verb)
        return AnswerDirectly(launch, argc > 1 ? argv[1] : nullptr);
    const std::span<char*> args(argv + 2, static_cast<size_t>(argc - 2));
    for (const VerbRunner& verb : runners) {
        if (verb.name == argv[1])
            return verb.run(args);
    }
    return AnswerDirectly(Launch::UnknownVerb, argv[1]);
}

} // namespace tvl
