#include "app/cli/VerbApplication.h"

namespace tvl {

std::unique_ptr<QGuiApplication> EnsureGuiApplication()
{
    if (QGuiApplication::instance())
        return nullptr;
    static int argc = 3;
    static char name[] = "tovrelline";
    static char platformOption[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, platformOption, platform, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace tvl
