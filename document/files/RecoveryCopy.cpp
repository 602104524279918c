#include "document/files/RecoveryCopy.h"

#include "document/files/SafeWrite.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QRegularExpression>

namespace tvl {
namespace {

QString CopyName(qint64 processId)
{
    return QStringLiteral("recovery-%1.tvl").arg(processId);
}

QString LockPath(const QString& copyPath)
{
    return copyPath.chopped(4) + QStringLiteral(".lock");
}

QString OriginalPathFile(const QString& copyPath)
{
    return copyPath.chopped(4) + QStringLiteral(".path");
}

} // namespace

QString RecoveryCopy::DefaultFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/Tovrelline");
}

RecoveryCopy::RecoveryCopy(QString folder, qint64 processId)
    : m_folder(std::move(folder))
    , m_processId(processId)
{
    QDir().mkpath(m_folder);
    m_lock = std::make_unique<QLockFile>(LockPath(path()));
    m_lock->setStaleLockTime(0);
    m_lock->tryLock(0);
}

RecoveryCopy::~RecoveryCopy() = default;

QString RecoveryCopy::path() const
{
    return QDir(m_folder).filePath(CopyName(m_processId));
}

bool RecoveryCopy::Exists() const
{
    return QFile::exists(path());
}

FileResult<> RecoveryCopy::Write(LabelDesign& design, const LiveDesignState& live,
                                 const QString& originalPath)
{
    QDir().mkpath(m_folder);
    const FileResult<> original = WriteFileSafely(
        OriginalPathFile(path()),
        [&](QIODevice& device) -> FileResult<> {
            if (device.write(originalPath.toUtf8()) < 0)
                return FileError{FileError::Kind::Failed, QStringLiteral("Error saving file."), 0, 0};
            return std::monostate{};
        },
        QStringLiteral("Error saving file."));
    if (!original)
        return original;
    return WriteDesignFile(path(), design, live);
}

void RecoveryCopy::Remove()
{
    QFile::remove(path());
    QFile::remove(OriginalPathFile(path()));
}

std::optional<RecoveryCopy::Orphan> RecoveryCopy::FindOrphan() const
{
    static const QRegularExpression name(QStringLiteral("^recovery-\\d+\\.tvl$"));
    const QDir folder(m_folder);
    for (const QString& entry :
         folder.entryList({QStringLiteral("recovery-*.tvl")}, QDir::Files, QDir::Name)) {
        if (!name.match(entry).hasMatch())
            continue;
        const QString copy = folder.filePath(entry);
        if (copy != path()) {
            // A program that still runs holds its lock; a lock left by one that ended is stale.
            QLockFile owner(LockPath(copy));
            owner.setStaleLockTime(0);
            if (!owner.tryLock(0))
                continue;
        }
        QFile original(OriginalPathFile(copy));
        Orphan orphan{copy, {}};
        if (original.open(QIODevice::ReadOnly))
            orphan.originalPath = QString::fromUtf8(original.readAll());
        return orphan;
    }
    return std::nullopt;
}

void RecoveryCopy::Discard(const Orphan& orphan)
{
    QFile::remove(orphan.copyPath);
    QFile::remove(OriginalPathFile(orphan.copyPath));
    if (orphan.copyPath != path())
        QFile::remove(LockPath(orphan.copyPath));
}

} // namespace tvl
