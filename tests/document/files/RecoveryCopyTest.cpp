#include "document/files/RecoveryCopy.h"
#include "tests/document/files/SampleDesign.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tvl {
namespace {

TEST(RecoveryCopy, WritesADesignFileAndRemovesIt)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("state/Tovrelline"));
    RecoveryCopy copy(folder, 4242);
    EXPECT_EQ(copy.path(), folder + QStringLiteral("/recovery-4242.tvl"));
    LabelDesign design = MakeSampleDesign();
    ASSERT_TRUE(copy.Write(design, SampleState(), QStringLiteral("/home/me/My Album.tvl")));
    ASSERT_TRUE(copy.Exists());
    const FileResult<DesignContent> read = ReadDesignFile(copy.path());
    ASSERT_TRUE(read);
    EXPECT_EQ(read.value().design.itemList.size(), design.itemList.size());
    // Written through temporary files that are gone once the copy is complete; the lock stays while the
    // program runs.
    EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("recovery-4242.lock"), QStringLiteral("recovery-4242.path"),
                           QStringLiteral("recovery-4242.tvl")}));
    copy.Remove();
    EXPECT_FALSE(copy.Exists());
    EXPECT_FALSE(copy.FindOrphan());
}

TEST(RecoveryCopy, OnlyCopiesOfProgramsThatEndedAreOrphans)
{
    QTemporaryDir dir;
    LabelDesign design = MakeSampleDesign();
    // A program that still runs holds the lock of its copy.
    auto running = std::make_unique<RecoveryCopy>(dir.path(), 1001);
    ASSERT_TRUE(running->Write(design, SampleState(), {}));
    RecoveryCopy mine(dir.path(), 2002);
    EXPECT_FALSE(mine.FindOrphan()) << "a running program's copy is not offered";

    // The same program ending without removing its copy leaves an orphan with the file name it had.
    ASSERT_TRUE(running->Write(design, SampleState(), QStringLiteral("/tmp/Album.tvl")));
    running.reset();
    const std::optional<RecoveryCopy::Orphan> orphan = mine.FindOrphan();
    ASSERT_TRUE(orphan);
    EXPECT_EQ(orphan->copyPath, QDir(dir.path()).filePath(QStringLiteral("recovery-1001.tvl")));
    EXPECT_EQ(orphan->originalPath, QStringLiteral("/tmp/Album.tvl"));
    mine.Discard(*orphan);
    EXPECT_FALSE(QFile::exists(orphan->copyPath));
    EXPECT_FALSE(mine.FindOrphan());

    // A copy under this program's own name can only be left over from an earlier one with the same id.
    ASSERT_TRUE(mine.Write(design, SampleState(), {}));
    const std::optional<RecoveryCopy::Orphan> own = mine.FindOrphan();
    ASSERT_TRUE(own);
    EXPECT_TRUE(own->originalPath.isEmpty());
}

} // namespace
} // namespace tvl
