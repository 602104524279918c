// A preloaded library (LD_PRELOAD) that makes one file-system call fail, so tests can prove that a failed
// write, sync, link, rename or close never costs the user the old file.
//
// Only calls on files inside one folder count. The fault is chosen by environment variables read at start-up,
// or later by the process itself through tvl_fault_arm (found with dlsym):
//   TVL_FAULT_DIR     the folder
//   TVL_FAULT_CALL    write, fsync, link, rename or close: the kind of call that fails
//   TVL_FAULT_NTH     which call of that kind fails, counting from 1
//   TVL_FAULT_ERRNO   ENOSPC, EIO or EDQUOT
//   TVL_FAULT_NO_TMPFILE  when 1, unnamed temporary files (O_TMPFILE) are "not supported" in the folder
// A fault that fires is announced on standard error as "tvl-fault: ...".

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class Call
{
    None,
    Write,
    Fsync,
    Link,
    Rename,
    Close,
};

// Plain data, so it is ready before any constructor of this library runs.
struct Fault
{
    char folder[PATH_MAX];
    Call call;
    int nth;
    int error;
    bool noTmpfile;
};

std::mutex faultLock;
Fault fault;

void SetFolder(const char* folder)
{
    std::snprintf(fault.folder, sizeof fault.folder, "%s", folder ? folder : "");
}
std::atomic<int> seen{0};
std::atomic<int> fired{0};

template <class F>
F Real(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

Call CallNamed(const char* name)
{
    const std::string text = name ? name : "";
    if (text == "write")
        return Call::Write;
    if (text == "fsync")
        return Call::Fsync;
    if (text == "link")
        return Call::Link;
    if (text == "rename")
        return Call::Rename;
    if (text == "close")
        return Call::Close;
    return Call::None;
}

int ErrorNamed(const char* name)
{
    const std::string text = name ? name : "";
    if (text == "ENOSPC")
        return ENOSPC;
    if (text == "EIO")
        return EIO;
    if (text == "EDQUOT")
        return EDQUOT;
    return text.empty() ? 0 : std::atoi(text.c_str());
}

bool Inside(const std::string& path, const char* folder)
{
    const size_t length = std::strlen(folder);
    return length > 0 && path.compare(0, length, folder) == 0 &&
           (path.size() == length || path[length] == '/');
}

std::string DescriptorPath(int descriptor)
{
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", descriptor);
    char target[PATH_MAX];
    const ssize_t length = readlink(link, target, sizeof target - 1);
    return length > 0 ? std::string(target, static_cast<size_t>(length)) : std::string();
}

std::string PathAt(int folder, const char* path)
{
    if (!path)
        return {};
    if (path[0] == '/')
        return path;
    if (folder == AT_FDCWD) {
        char current[PATH_MAX];
        return getcwd(current, sizeof current) ? std::string(current) + '/' + path : std::string(path);
    }
    return DescriptorPath(folder) + '/' + path;
}

Fault Current()
{
    std::lock_guard<std::mutex> lock(faultLock);
    return fault;
}

// Counts a call of kind call on path; true (with errno set) when this is the one that fails.
bool Fails(Call call, const std::string& path)
{
    const Fault armed = Current();
    if (armed.call != call || !Inside(path, armed.folder))
        return false;
    if (seen.fetch_add(1) + 1 != armed.nth)
        return false;
    fired.store(1);
    char line[PATH_MAX + 128];
    const int length = std::snprintf(line, sizeof line, "tvl-fault: call %d fails on %s with %s\n", armed.nth,
                                     path.c_str(), std::strerror(armed.error));
    Real<ssize_t (*)(int, const void*, size_t)>("write")(2, line, static_cast<size_t>(length));
    errno = armed.error;
    return true;
}

bool DescriptorFails(Call call, int descriptor)
{
    if (Current().call != call)
        return false;
    return Fails(call, DescriptorPath(descriptor));
}

bool RefusesTmpfile(int folder, const char* path, int flags)
{
    if ((flags & O_TMPFILE) != O_TMPFILE)
        return false;
    const Fault armed = Current();
    return armed.noTmpfile && Inside(PathAt(folder, path), armed.folder);
}

mode_t ModeArgument(int flags, va_list arguments)
{
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? static_cast<mode_t>(va_arg(arguments, int))
                                                                 : 0;
}

__attribute__((constructor)) void ArmFromEnvironment()
{
    std::lock_guard<std::mutex> lock(faultLock);
    const char* folder = std::getenv("TVL_FAULT_DIR");
    const char* nth = std::getenv("TVL_FAULT_NTH");
    const char* noTmpfile = std::getenv("TVL_FAULT_NO_TMPFILE");
    SetFolder(folder);
    fault.call = CallNamed(std::getenv("TVL_FAULT_CALL"));
    fault.nth = nth ? std::atoi(nth) : 0;
    fault.error = ErrorNamed(std::getenv("TVL_FAULT_ERRNO"));
    fault.noTmpfile = noTmpfile && std::strcmp(noTmpfile, "1") == 0;
}

} // namespace

extern "C" {

// Arms a new fault (call nullptr or "" for none) and restarts the count.
__attribute__((visibility("default"))) void tvl_fault_arm(const char* folder, const char* call, int nth,
                                                          int error, int noTmpfile)
{
    std::lock_guard<std::mutex> lock(faultLock);
    SetFolder(folder);
    fault.call = CallNamed(call);
    fault.nth = nth;
    fault.error = error;
    fault.noTmpfile = noTmpfile != 0;
    seen.store(0);
    fired.store(0);
}

// Whether the armed fault has fired.
__attribute__((visibility("default"))) int tvl_fault_fired()
{
    return fired.load();
}

ssize_t write(int descriptor, const void* data, size_t size)
{
    if (DescriptorFails(Call::Write, descriptor))
        return -1;
    return Real<ssize_t (*)(int, const void*, size_t)>("write")(descriptor, data, size);
}

int fsync(int descriptor)
{
    if (DescriptorFails(Call::Fsync, descriptor))
        return -1;
    return Real<int (*)(int)>("fsync")(descriptor);
}

int fdatasync(int descriptor)
{
    if (DescriptorFails(Call::Fsync, descriptor))
        return -1;
    return Real<int (*)(int)>("fdatasync")(descriptor);
}

int close(int descriptor)
{
    // Like a real close that fails, the descriptor is gone afterwards. Folders are not counted.
    bool failing = false;
    if (Current().call == Call::Close) {
        struct stat status = {};
        if (fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode))
            failing = Fails(Call::Close, DescriptorPath(descriptor));
    }
    const int result = Real<int (*)(int)>("close")(descriptor);
    if (failing) {
        errno = Current().error;
        return -1;
    }
    return result;
}

int link(const char* from, const char* to) noexcept
{
    if (Fails(Call::Link, PathAt(AT_FDCWD, to)))
        return -1;
    return Real<int (*)(const char*, const char*)>("link")(from, to);
}

int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags) noexcept
{
    if (Fails(Call::Link, PathAt(toFolder, to)))
        return -1;
    return Real<int (*)(int, const char*, int, const char*, int)>("linkat")(fromFolder, from, toFolder, to,
                                                                            flags);
}

int rename(const char* from, const char* to) noexcept
{
    if (Fails(Call::Rename, PathAt(AT_FDCWD, to)))
        return -1;
    return Real<int (*)(const char*, const char*)>("rename")(from, to);
}

int renameat(int fromFolder, const char* from, int toFolder, const char* to) noexcept
{
    if (Fails(Call::Rename, PathAt(toFolder, to)))
        return -1;
    return Real<int (*)(int, const char*, int, const char*)>("renameat")(fromFolder, from, toFolder, to);
}

int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) noexcept
{
    if (Fails(Call::Rename, PathAt(toFolder, to)))
        return -1;
    return Real<int (*)(int, const char*, int, const char*, unsigned)>("renameat2")(fromFolder, from,
                                                                                    toFolder, to, flags);
}

int open(const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeArgument(flags, arguments);
    va_end(arguments);
    if (RefusesTmpfile(AT_FDCWD, path, flags)) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return Real<int (*)(const char*, int, ...)>("open")(path, flags, mode);
}

int open64(const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeArgument(flags, arguments);
    va_end(arguments);
    if (RefusesTmpfile(AT_FDCWD, path, flags)) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return Real<int (*)(const char*, int, ...)>("open64")(path, flags, mode);
}

int openat(int folder, const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeArgument(flags, arguments);
    va_end(arguments);
    if (RefusesTmpfile(folder, path, flags)) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return Real<int (*)(int, const char*, int, ...)>("openat")(folder, path, flags, mode);
}

int openat64(int folder, const char* path, int flags, ...)
{
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeArgument(flags, arguments);
    va_end(arguments);
    if (RefusesTmpfile(folder, path, flags)) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return Real<int (*)(int, const char*, int, ...)>("openat64")(folder, path, flags, mode);
}

} // extern "C"
