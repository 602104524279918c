#include "document/files/SafeWrite.h"
#include "SampleDesign.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tvl {
namespace {

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(SafeWriteTest, FailedWriteLeavesTheOldFileUntouched)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("design.tvl"));
    LabelDesign design = MakeSampleDesign();
    ASSERT_TRUE(WriteDesignFile(path, design, SampleState()));
    const QByteArray before = Contents(path);
    ASSERT_FALSE(before.isEmpty());

    // A writer that fails half way through.
    const FileResult<> failed = WriteFileSafely(
        path,
        [](QIODevice& device) -> FileResult<> {
            device.write("partial");
            return FileError{FileError::Kind::Failed, ErrorText(154), 154, 0};
        },
        QStringLiteral("Error saving file."));
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().message, u"Error 154");
    EXPECT_EQ(Contents(path), before);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("design.tvl")});

    // A design that cannot be created reports it, with the path and the system's reason.
    const QString unwritable = folder.filePath(QStringLiteral("no/such.tvl"));
    const FileResult<> missing = WriteDesignFile(unwritable, design, SampleState());
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().message, u"Error saving file.");
    EXPECT_EQ(FullMessage(missing.error()), QStringLiteral("Error saving file. ") + unwritable +
                                                QStringLiteral(": No such file or directory"));

    // A successful write replaces the file, and reading the file gives the design again.
    design.FindItem(u"Text 1")->left(777);
    ASSERT_TRUE(WriteDesignFile(path, design, SampleState()));
    const FileResult<DesignContent> read = ReadDesignFile(path);
    ASSERT_TRUE(read);
    EXPECT_EQ(read.value().design.FindItem(u"Text 1")->left(), 777);
    EXPECT_EQ(ReadDesignFile(folder.filePath(QStringLiteral("none.tvl"))).error().message,
              u"Error opening file.");
}

} // namespace
} // namespace tvl
