#include "app/launcher/LaunchChoice.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace tvl {
namespace {

constexpr VerbUsage verbUsages[] = {
    {"help", "tovrelline help"},
    {"disc-info",
     "tovrelline disc-info [--drive DEVICE | --toc \"OFFSET ... LEADOUT\"] [--server HOST[:PORT][PATH]] "
     "[--sources freedb,cdtext,cdplayer,mp3|none] [--cdplayer FILE]\n"
     "           exit codes: 0 found, 1 usage, 2 nothing found, 3 network or server failure, 4 drive "
     "failure"},
    {"dump", "tovrelline dump FILE.tvl [--layout]"},
    {"save-as", "tovrelline save-as IN.tvl OUT.tvl"},
    {"export",
     "tovrelline export FILE.tvl --label front|back|disc1|disc2 [--dpi 150|300|600] [--border 0|1|2|3] "
     "[--overlap 0|50|100|150] -o OUT"},
    {"print", "tovrelline print FILE.tvl [--labels front,back,disc1,disc2] [--copies N] [--calibration] "
              "[--printer NAME | -o OUT.pdf]"},
};

bool IsFile(const char* path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

Launch ChooseLaunch(int argc, char** argv)
{
    if (argc < 2)
        return Launch::Designer;
    const std::string_view first = argv[1];
    if (first == "--help" || first == "-h" || first == "help")
        return Launch::Usage;
    if (first == "--version")
        return Launch::Version;
    if (std::ranges::any_of(verbUsages, [&](const VerbUsage& verb) { return verb.name == first; }))
        return Launch::Verb;
    // A mistyped verb must not start a window that waits for a display.
    if (argc > 2 && !first.starts_with('-') && !IsFile(argv[1]))
        return Launch::UnknownVerb;
    return Launch::Designer;
}

std::span<const VerbUsage> VerbUsages()
{
    return verbUsages;
}

void WriteUsage(std::FILE* stream)
{
    std::fprintf(stream, "Usage: tovrelline [DESIGN.tvl]\n");
    for (const VerbUsage& verb : verbUsages)
        std::fprintf(stream, "       %.*s\n", static_cast<int>(verb.usage.size()), verb.usage.data());
}

int PrintUsage()
{
    WriteUsage(stdout);
    return 0;
}

std::optional<int> AnswerDirectly(Launch launch, const char* first)
{
    switch (launch) {
    case Launch::Usage:
        return PrintUsage();
    case Launch::Version:
        std::printf("Tovrelline 0.1.0\n");
        return 0;
    case Launch::UnknownVerb:
        std::fprintf(stderr, "Unknown command: %s\n\n", first);
        WriteUsage(stderr);
        return 2;
    case Launch::Designer:
    case Launch::Verb:
        break;
    }
    return std::nullopt;
}

} // namespace tvl
