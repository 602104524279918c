#include "app/cli/CommandLine.h"

#include "app/cli/DiscInfoVerb.h"
#include "app/cli/DumpVerb.h"
#include "app/cli/ExportVerb.h"
#include "app/cli/PrintVerb.h"
#include "app/cli/SaveAsVerb.h"

#include <QFileInfo>
#include <cstdio>
#include <cstring>
#include <span>
#include <string_view>

namespace tvl {
namespace {

struct Verb
{
    const char* name;
    const char* usage;
    int (*run)(std::span<char*> args);
};

int PrintVerbUsage(std::span<char*>)
{
    return PrintUsage();
}

constexpr Verb verbs[] = {
    {"help", "tovrelline help", PrintVerbUsage},
    {"disc-info",
     "tovrelline disc-info [--drive DEVICE | --toc \"OFFSET ... LEADOUT\"] [--server HOST[:PORT][PATH]] "
     "[--sources freedb,cdtext,cdplayer,mp3|none] [--cdplayer FILE]\n"
     "           exit codes: 0 found, 1 usage, 2 nothing found, 3 network or server failure, 4 drive failure",
     RunDiscInfo},
    {"dump", "tovrelline dump FILE.tvl [--layout]", RunDumpVerb},
    {"save-as", "tovrelline save-as IN.tvl OUT.tvl", RunSaveAsVerb},
    {"export",
     "tovrelline export FILE.tvl --label front|back|disc1|disc2 [--dpi 150|300|600] [--border 0|1|2|3] "
     "[--overlap 0|50|100|150] -o OUT",
     RunExportVerb},
    {"print",
     "tovrelline print FILE.tvl [--labels front,back,disc1,disc2] [--copies N] [--calibration] "
     "[--printer NAME | -o OUT.pdf]",
     RunPrintVerb},
};

void WriteUsage(std::FILE* stream)
{
    std::fprintf(stream, "Usage: tovrelline [DESIGN.tvl]\n");
    for (const Verb& verb : verbs)
        std::fprintf(stream, "       %s\n", verb.usage);
}

} // namespace

int PrintUsage()
{
    WriteUsage(stdout);
    return 0;
}

std::optional<int> RunCommandLine(int argc, char** argv)
{
    if (argc < 2)
        return std::nullopt;
    const std::string_view first = argv[1];
    if (first == "--help" || first == "-h")
        return PrintUsage();
    if (first == "--version") {
        std::printf("Tovrelline 0.1.0\n");
        return 0;
    }
    for (const Verb& verb : verbs) {
        if (first == verb.name)
            return verb.run(std::span<char*>(argv + 2, static_cast<size_t>(argc - 2)));
    }
    // One word is a design to open, and the window reports why it cannot be read. Several words are a
    // command, and a mistyped verb must not start a window that waits for a display.
    if (argc > 2 && !first.starts_with('-') && !QFileInfo(QString::fromLocal8Bit(argv[1])).isFile()) {
        std::fprintf(stderr, "Unknown command: %s\n\n", argv[1]);
        WriteUsage(stderr);
        return 2;
    }
    return std::nullopt;
}

} // namespace tvl
