#include "app/launcher/LaunchChoice.h"

#include <cstdio>
#include <dlfcn.h>
#include <limits.h>
#include <string>
#include <unistd.h>

// The program itself links no Qt: it answers usage and version at once and loads the verbs or the window
// only when asked for them, so each pays only for the libraries it uses.

namespace {

using Entry = int (*)(int argc, char** argv);

std::string ProgramFolder()
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return ".";
    const std::string program(path, static_cast<size_t>(length));
    return program.substr(0, program.rfind('/'));
}

// The module beside the program in a build folder, or in the installed modules folder.
Entry LoadEntry(const char* module, const char* entry)
{
    const std::string folder = ProgramFolder();
    for (const std::string& path :
         {folder + "/" + module, folder + "/" TOVRELLINE_MODULES_FROM_PROGRAM "/" + module}) {
        if (access(path.c_str(), F_OK) != 0)
            continue;
        void* handle = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
        if (!handle) {
            std::fprintf(stderr, "Tovrelline cannot load %s: %s\n", path.c_str(), dlerror());
            return nullptr;
        }
        if (auto* found = reinterpret_cast<Entry>(dlsym(handle, entry)))
            return found;
        std::fprintf(stderr, "Tovrelline cannot start: %s has no %s.\n", path.c_str(), entry);
        return nullptr;
    }
    std::fprintf(stderr, "Tovrelline is not installed completely: %s is missing beside %s.\n", module,
                 folder.c_str());
    return nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    const tvl::Launch launch = tvl::ChooseLaunch(argc, argv);
    if (const auto answer = tvl::AnswerDirectly(launch, argc > 1 ? argv[1] : nullptr))
        return *answer;
    const bool verb = launch == tvl::Launch::Verb;
    const Entry entry = verb ? LoadEntry("tovrelline-verbs.so", "tovrelline_run_verb")
                             : LoadEntry("tovrelline-designer.so", "tovrelline_run_designer");
    return entry ? entry(argc, argv) : 1;
}
