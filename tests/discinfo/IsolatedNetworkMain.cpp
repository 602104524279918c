// Runs tests that could reach other machines (an unresolvable name, an unroutable address, the public
// server) only inside a network namespace of their own, where nothing but loopback exists: CTest
// starts this program under "unshare -n". It refuses to run anywhere else, and brings loopback up so
// that local servers still work.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include <ifaddrs.h>
#include <net/if.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

bool OnlyLoopbackExists()
{
    ifaddrs* interfaces = nullptr;
    if (::getifaddrs(&interfaces) != 0)
        return false;
    bool onlyLoopback = true;
    for (const ifaddrs* i = interfaces; i; i = i->ifa_next)
        onlyLoopback = onlyLoopback && std::strcmp(i->ifa_name, "lo") == 0;
    ::freeifaddrs(interfaces);
    return onlyLoopback;
}

bool BringLoopbackUp()
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    bool up = ::ioctl(fd, SIOCGIFFLAGS, &request) == 0;
    request.ifr_flags = static_cast<short>(request.ifr_flags | IFF_UP);
    up = up && ::ioctl(fd, SIOCSIFFLAGS, &request) == 0;
    ::close(fd);
    return up;
}

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (!OnlyLoopbackExists()) {
        std::fprintf(stderr, "These tests run only in a network namespace of their own (unshare -n).\n");
        return 1;
    }
    if (!BringLoopbackUp()) {
        std::fprintf(stderr, "Loopback could not be brought up in the test's network namespace.\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
