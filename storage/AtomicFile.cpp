#include "storage/AtomicFile.h"

#include "storage/DescriptorDevice.h"
#include "storage/LocalFileName.h"

#include <QRandomGenerator>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <variant>

namespace tvl {
namespace {

struct Target
{
    QByteArray folder;
    QByteArray name;
    std::optional<struct stat> existing;
};

AtomicWriteResult Failure(const QString& path, const QString& reason)
{
    return {AtomicWriteResult::Status::Failed, path + QStringLiteral(": ") + reason};
}

AtomicWriteResult SystemFailure(const QString& path, int error)
{
    return Failure(path, qt_error_string(error));
}

// The regular file a write to path replaces, following symbolic links; a refusal when there is none.
std::variant<Target, AtomicWriteResult> ResolveTarget(const QString& path)
{
    QByteArray file = FileNameBytes(path);
    if (file.isEmpty())
        return SystemFailure(path, ENOENT);
    struct stat status = {};
    std::optional<struct stat> existing;
    if (::lstat(file.constData(), &status) == 0) {
        if (S_ISLNK(status.st_mode)) {
            char* resolved = ::realpath(file.constData(), nullptr);
            if (!resolved)
                return Failure(path, QStringLiteral("a symbolic link to no file that can be written (%1)")
                                         .arg(qt_error_string(errno)));
            file = QByteArray(resolved);
            std::free(resolved);
            if (::stat(file.constData(), &status) != 0)
                return SystemFailure(path, errno);
        }
        if (!S_ISREG(status.st_mode))
            return Failure(path,
                           QStringLiteral("not a regular file (a device, pipe or folder is never replaced)"));
        existing = status;
    } else if (errno != ENOENT) {
        return SystemFailure(path, errno);
    }
    const qsizetype slash = file.lastIndexOf('/');
    Target target;
    target.folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : file.left(slash);
    target.name = file.mid(slash + 1);
    target.existing = existing;
    if (target.name.isEmpty())
        return Failure(path,
                       QStringLiteral("not a regular file (a device, pipe or folder is never replaced)"));
    return target;
}

QByteArray TemporaryName(const QByteArray& name)
{
    return '.' + name + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
}

// Everything a failed write must undo: the open descriptors and a temporary name already in the folder.
class WriteState
{
public:
    ~WriteState()
    {
        if (file >= 0)
            ::close(file);
        if (!temporaryName.isEmpty())
            ::unlinkat(folder, temporaryName.constData(), 0);
        if (folder >= 0)
            ::close(folder);
    }

    int folder = -1;
    int file = -1;
    QByteArray temporaryName;
};

// Opens the temporary file: unnamed where the file system can, so a crash never leaves it behind.
int OpenTemporary(WriteState& state, const QByteArray& name)
{
    const int unnamed = ::openat(state.folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (unnamed >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
        return unnamed;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray candidate = TemporaryName(name);
        const int named =
            ::openat(state.folder, candidate.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (named >= 0)
            state.temporaryName = candidate;
        if (named >= 0 || errno != EEXIST)
            return named;
    }
    return -1;
}

// Gives the unnamed file a temporary name in the folder.
bool LinkTemporary(WriteState& state, const QByteArray& name)
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(state.file);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray candidate = TemporaryName(name);
        if (::linkat(AT_FDCWD, self.constData(), state.folder, candidate.constData(), AT_SYMLINK_FOLLOW) ==
            0) {
            state.temporaryName = candidate;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

} // namespace

AtomicWriteResult WriteFileAtomically(const QString& path, const std::function<bool(QIODevice&)>& write)
{
    auto resolved = ResolveTarget(path);
    if (auto* refused = std::get_if<AtomicWriteResult>(&resolved))
        return *refused;
    const Target& target = std::get<Target>(resolved);

    WriteState state;
    state.folder = ::open(target.folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (state.folder < 0)
        return SystemFailure(path, errno);
    state.file = OpenTemporary(state, target.name);
    if (state.file < 0)
        return SystemFailure(path, errno);
    if (target.existing) {
        if (::fchmod(state.file, target.existing->st_mode & 07777) != 0)
            return SystemFailure(path, errno);
        // Only the superuser can hand the file back to its owner; anyone else becomes the new owner.
        if (::geteuid() == 0 && ::fchown(state.file, target.existing->st_uid, target.existing->st_gid) != 0)
            return SystemFailure(path, errno);
    }

    DescriptorDevice device(state.file);
    const bool complete = write(device);
    if (device.SystemError() != 0)
        return SystemFailure(path, device.SystemError());
    if (!complete)
        return {AtomicWriteResult::Status::Declined, {}};

    if (::fsync(state.file) != 0)
        return SystemFailure(path, errno);
    if (state.temporaryName.isEmpty() && !LinkTemporary(state, target.name))
        return SystemFailure(path, errno);
    const int file = std::exchange(state.file, -1);
    if (::close(file) != 0)
        return SystemFailure(path, errno);
    if (::renameat(state.folder, state.temporaryName.constData(), state.folder, target.name.constData()) != 0)
        return SystemFailure(path, errno);
    state.temporaryName.clear();
    if (::fsync(state.folder) != 0)
        return Failure(
            path,
            QStringLiteral("written, but its folder could not be synced (%1)").arg(qt_error_string(errno)));
    return {};
}

} // namespace tvl
