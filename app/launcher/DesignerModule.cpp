#include "app/StartUp.h"

extern "C" __attribute__((visibility("default"))) int tovrelline_run_designer(int argc, char** argv)
{
    return tvl::RunDesigner(argc, argv);
}
