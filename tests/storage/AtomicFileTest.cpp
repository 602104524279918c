#include "storage/AtomicFile.h"
#include "storage/LocalFileName.h"

#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace tvl {
namespace {

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

AtomicWriteResult Write(const QString& path, const QByteArray& bytes)
{
    return WriteFileAtomically(path,
                               [&bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); });
}

void Put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

class AtomicFileTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    QString Path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
    QStringList Entries() const
    {
        return QDir(folder.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    QTemporaryDir folder;
};

TEST_F(AtomicFileTest, ReplacesAFileKeepingItsPermissions)
{
    const QString path = Path("old.txt");
    Put(path, "old contents");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);

    const AtomicWriteResult result = Write(path, "new");
    EXPECT_EQ(result.status, AtomicWriteResult::Status::Written) << result.cause.toStdString();
    EXPECT_EQ(Contents(path), "new");
    struct stat status = {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(Entries(), QStringList{QStringLiteral("old.txt")});

    // A new file, named relative to the current folder.
    const QString current = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    EXPECT_EQ(Write(QStringLiteral("fresh.txt"), "fresh").status, AtomicWriteResult::Status::Written);
    QDir::setCurrent(current);
    EXPECT_EQ(Contents(Path("fresh.txt")), "fresh");
}

TEST_F(AtomicFileTest, WritesThroughASymbolicLinkAndKeepsTheLink)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("real")));
    const QString target = Path("real/design.tvl");
    Put(target, "old");
    const QString link = Path("link.tvl");
    ASSERT_TRUE(QFile::link(QStringLiteral("real/design.tvl"), link));

    ASSERT_EQ(Write(link, "new").status, AtomicWriteResult::Status::Written);
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), QFileInfo(target).absoluteFilePath());
    EXPECT_EQ(Contents(target), "new");
    EXPECT_EQ(QDir(Path("real")).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("design.tvl")});
}

TEST_F(AtomicFileTest, RefusesWhatIsNotARegularFileAndLeavesItAlone)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("pipe")).constData(), 0600), 0);
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("folder")));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), Path("to-device")));
    ASSERT_TRUE(QFile::link(QStringLiteral("missing"), Path("to-nothing")));
    const QStringList before = Entries();

    struct Case
    {
        const char* name;
        const char* reason;
    };
    for (const Case& c : {Case{"pipe", "not a regular file"}, Case{"folder", "not a regular file"},
                          Case{"to-device", "not a regular file"}, Case{"to-nothing", "symbolic link"}}) {
        bool called = false;
        const AtomicWriteResult result = WriteFileAtomically(Path(c.name), [&called](QIODevice&) {
            called = true;
            return true;
        });
        EXPECT_EQ(result.status, AtomicWriteResult::Status::Failed) << c.name;
        EXPECT_TRUE(result.cause.startsWith(Path(c.name) + u':')) << result.cause.toStdString();
        EXPECT_TRUE(result.cause.contains(QLatin1StringView(c.reason))) << result.cause.toStdString();
        EXPECT_FALSE(called) << c.name;
    }
    EXPECT_EQ(Entries(), before);
    EXPECT_TRUE(QFileInfo(Path("pipe")).exists() && !QFileInfo(Path("pipe")).isFile());
    EXPECT_TRUE(QFileInfo(Path("to-device")).isSymLink());
    struct stat device = {};
    ASSERT_EQ(::stat("/dev/null", &device), 0);
    EXPECT_TRUE(S_ISCHR(device.st_mode));
}

TEST_F(AtomicFileTest, AWriterThatGivesUpOrAMissingFolderChangesNothing)
{
    const QString path = Path("kept.txt");
    Put(path, "kept");
    const AtomicWriteResult declined = WriteFileAtomically(path, [](QIODevice& device) {
        device.write("half");
        return false;
    });
    EXPECT_EQ(declined.status, AtomicWriteResult::Status::Declined);
    EXPECT_EQ(Contents(path), "kept");
    EXPECT_EQ(Entries(), QStringList{QStringLiteral("kept.txt")});

    const AtomicWriteResult missing = Write(Path("no/such/file.txt"), "x");
    EXPECT_EQ(missing.status, AtomicWriteResult::Status::Failed);
    EXPECT_EQ(missing.cause, Path("no/such/file.txt") + QStringLiteral(": No such file or directory"));
}

TEST_F(AtomicFileTest, NamesThatAreNotUtf8AreWrittenUnderTheirOwnBytes)
{
    const QByteArray name = QFile::encodeName(folder.path()) + "/out-\xe9.tvl";
    ASSERT_EQ(Write(FileNameFromBytes(name), "bytes").status, AtomicWriteResult::Status::Written);
    // Qt cannot list or remove such a name itself, so the file goes by its bytes too.
    EXPECT_EQ(::unlink(name.constData()), 0);
}

} // namespace
} // namespace tvl
