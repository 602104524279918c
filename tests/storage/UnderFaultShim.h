#pragma once

#include <QString>

namespace tvl::test {

// The fault shim (tests/support/FaultShim.cpp) as this test program sees it. The program restarts itself with
// the shim preloaded when it was started without it, so the shim is there however the tests are run.
class FaultShim
{
public:
    // False only when the shim could not be preloaded; every fault test then fails saying so.
    static bool Loaded();

    // Makes the nth call of kind call ("write", "fsync", "link", "rename", "close") on a file in folder fail
    // with error; with noTmpfile, unnamed temporary files are refused in folder. Restarts the count.
    static void Arm(const QString& folder, const char* call, int nth, int error, bool noTmpfile);
    static void Disarm();
    static bool Fired();
};

} // namespace tvl::test
