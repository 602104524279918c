#include "UnderFaultShim.h"

#include <QFile>

#include <cstdlib>
#include <dlfcn.h>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace tvl::test {
namespace {

using ArmFunction = void (*)(const char*, const char*, int, int, int);
using FiredFunction = int (*)();

template <class F>
F ShimFunction(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_DEFAULT, name));
}

// Runs before main: without the shim, starts this program again with it preloaded. Sanitized programs are
// told that their runtime need not be the first library loaded.
bool RestartUnderShim()
{
    if (ShimFunction<ArmFunction>("tvl_fault_arm"))
        return true;
    if (std::getenv("TVL_FAULT_RESTARTED"))
        return false;
    std::ifstream commandLine("/proc/self/cmdline", std::ios::binary);
    std::vector<std::string> arguments;
    for (std::string word; std::getline(commandLine, word, '\0');)
        arguments.push_back(word);
    if (arguments.empty())
        return false;
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    std::string preload = TOVRELLINE_FAULT_SHIM;
    if (const char* existing = std::getenv("LD_PRELOAD"))
        preload += std::string(":") + existing;
    std::string sanitizer = "verify_asan_link_order=0";
    if (const char* existing = std::getenv("ASAN_OPTIONS"))
        sanitizer = std::string(existing) + ":" + sanitizer;
    ::setenv("LD_PRELOAD", preload.c_str(), 1);
    ::setenv("ASAN_OPTIONS", sanitizer.c_str(), 1);
    ::setenv("TVL_FAULT_RESTARTED", "1", 1);
    ::execv("/proc/self/exe", argv.data());
    return false;
}

const bool restarted = RestartUnderShim();

} // namespace

bool FaultShim::Loaded()
{
    return restarted && ShimFunction<ArmFunction>("tvl_fault_arm") &&
           ShimFunction<FiredFunction>("tvl_fault_fired");
}

void FaultShim::Arm(const QString& folder, const char* call, int nth, int error, bool noTmpfile)
{
    ShimFunction<ArmFunction>("tvl_fault_arm")(QFile::encodeName(folder).constData(), call, nth, error,
                                               noTmpfile ? 1 : 0);
}

void FaultShim::Disarm()
{
    ShimFunction<ArmFunction>("tvl_fault_arm")(nullptr, nullptr, 0, 0, 0);
}

bool FaultShim::Fired()
{
    return ShimFunction<FiredFunction>("tvl_fault_fired")() != 0;
}

} // namespace tvl::test
