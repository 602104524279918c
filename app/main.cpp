#include "app/StartUp.h"
#include "app/cli/CommandLine.h"

int main(int argc, char** argv)
{
    if (const auto exitCode = tvl::RunCommandLine(argc, argv))
        return *exitCode;
    return tvl::RunDesigner(argc, argv);
}
