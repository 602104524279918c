#include "app/cli/CommandLine.h"

extern "C" __attribute__((visibility("default"))) int tovrelline_run_verb(int argc, char** argv)
{
    return tvl::RunCommandLine(argc, argv).value_or(2);
}
