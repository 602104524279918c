#include "UnderFaultShim.h"

#include "app/settings/SettingsStore.h"
#include "document/files/DesignFile.h"
#include "images/CxImage.h"
#include "print/export/LabelExport.h"
#include "stock/StockCatalogue.h"
#include "tests/document/files/SampleDesign.h"
#include "tests/stock/MemorySettings.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <ostream>
#include <string_view>
#include <unistd.h>

namespace tvl {
namespace {

using test::FaultShim;

struct Outcome
{
    bool ok = false;
    // What the user is told; settings report a failed write by their result alone.
    QString message;
};

// One kind of file the program writes: its name in the folder and how the program writes generation g of it.
// Consecutive generations differ, so a replaced file can be told from the old one.
struct FileKind
{
    const char* name;
    const char* fileName;
    std::function<Outcome(const QString& folder, int generation)> write;
    bool tellsWhy = true;
};

// Test names and failures show the kind by its name.
void PrintTo(const FileKind& kind, std::ostream* out)
{
    *out << kind.name;
}

Outcome FromResult(const FileResult<>& result)
{
    return {result.ok(), result.ok() ? QString() : FullMessage(result.error())};
}

Outcome WriteDesignKind(const QString& folder, int generation)
{
    LabelDesign design = MakeSampleDesign();
    design.FindItem(u"Text 1")->left(1000 + generation);
    return FromResult(WriteDesignFile(folder + QStringLiteral("/design.tvl"), design, SampleState()));
}

Outcome WriteCatalogueKind(const QString& folder, int generation)
{
    MemorySettings settings;
    StockCatalogue catalogue(folder + u'/', settings);
    catalogue.LoadCatalogue();
    catalogue.stock(catalogue.currentDisc()).left1 = 100 + generation % 50;
    return FromResult(catalogue.SaveCatalogue());
}

Outcome WriteSettingsKind(const QString& folder, int generation)
{
    SettingsStore store(folder + QStringLiteral("/settings.ini"));
    return {store.WriteNumber(QStringLiteral("Generation"), generation), QString()};
}

Outcome WriteExportKind(const QString& folder, int generation)
{
    LabelDesign design = MakeSampleDesign();
    design.FindItem(u"Disc 1")->colors = {static_cast<ItemColor>(0x00ffffff - generation % 200)};
    return FromResult(ExportLabel(design, {2, 150, 0, 0}, folder + QStringLiteral("/disc.png")));
}

Outcome WritePictureKind(const QString& folder, int generation)
{
    QImage pixels(8, 8, QImage::Format_RGB32);
    pixels.fill(qRgb(generation % 256, 40, 200));
    CxImage image;
    if (!image.FromBitmap(pixels))
        return {false, QStringLiteral("no picture to save")};
    const bool saved = image.SaveFile(folder + QStringLiteral("/picture.png"), CXIMAGE_FORMAT_PNG);
    return {saved, saved ? QString() : image.lastError()};
}

const FileKind kKinds[] = {
    {"Design", "design.tvl", WriteDesignKind},
    {"Catalogue", "labels.ini", WriteCatalogueKind},
    {"Settings", "settings.ini", WriteSettingsKind, false},
    {"Export", "disc.png", WriteExportKind},
    {"Picture", "picture.png", WritePictureKind},
};

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

bool SupportsUnnamedFiles(const QString& folder)
{
    const int descriptor = ::open(QFile::encodeName(folder).constData(), O_TMPFILE | O_WRONLY, 0600);
    if (descriptor < 0)
        return false;
    ::close(descriptor);
    return true;
}

class FaultInjectionTest : public ::testing::TestWithParam<FileKind>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FaultShim::Loaded()) << "the fault shim " TOVRELLINE_FAULT_SHIM " could not be preloaded";
        ASSERT_TRUE(folder.isValid() && reference.isValid());
    }

    void TearDown() override { FaultShim::Disarm(); }

    // Makes every write, sync, link, close and rename of the write fail in turn with each error, and checks
    // that the old file survives byte for byte, no temporary file stays behind and the failure is reported.
    void ProveEveryFailureKeepsTheOldFile(bool unnamedFiles)
    {
        const FileKind& kind = GetParam();
        const QString target = folder.filePath(QString::fromLatin1(kind.fileName));
        const QStringList onlyTarget{QString::fromLatin1(kind.fileName)};
        int generation = 0;
        const Outcome first = kind.write(folder.path(), generation);
        ASSERT_TRUE(first.ok) << first.message.toStdString();

        for (const char* call : {"write", "fsync", "link", "rename", "close"}) {
            for (const int error : {ENOSPC, EIO, EDQUOT}) {
                const std::string where = std::string(call) + " failing with " + std::strerror(error) +
                                          (unnamedFiles ? "" : " (named temporary file)");
                int failures = 0;
                for (int nth = 1;; ++nth) {
                    ASSERT_LT(nth, 20) << where << ": the writer never got past the fault";
                    const QByteArray before = Contents(target);
                    ++generation;
                    FaultShim::Arm(folder.path(), call, nth, error, !unnamedFiles);
                    const Outcome outcome = kind.write(folder.path(), generation);
                    const bool fired = FaultShim::Fired();
                    FaultShim::Disarm();
                    const QByteArray after = Contents(target);

                    EXPECT_EQ(Entries(folder.path()), onlyTarget) << where << " #" << nth;
                    if (outcome.ok) {
                        // Nothing failed, or only the closing of a file that was read first.
                        EXPECT_NE(after, before) << where << " #" << nth;
                        if (!fired)
                            break;
                        EXPECT_STREQ(call, "close") << where << " #" << nth << " was ignored";
                        continue;
                    }
                    ASSERT_TRUE(fired)
                        << where << ": failed without a fault: " << outcome.message.toStdString();
                    ++failures;
                    if (kind.tellsWhy) {
                        EXPECT_TRUE(outcome.message.contains(target)) << outcome.message.toStdString();
                        EXPECT_TRUE(outcome.message.contains(qt_error_string(error)))
                            << outcome.message.toStdString();
                    }
                    if (after == before)
                        continue;
                    // Only the folder sync comes after the rename: the new file is then complete.
                    EXPECT_STREQ(call, "fsync") << where << " #" << nth << " changed the old file";
                    if (kind.tellsWhy) {
                        EXPECT_TRUE(outcome.message.contains(QStringLiteral("could not be synced")));
                    }
                    ASSERT_TRUE(kind.write(reference.path(), generation).ok);
                    EXPECT_EQ(after, Contents(reference.filePath(QString::fromLatin1(kind.fileName))))
                        << where << " left an incomplete file";
                }
                const bool linked = unnamedFiles || std::string_view(call) != "link";
                if (linked) {
                    EXPECT_GT(failures, 0) << where << ": the writer never made this call";
                }
            }
        }
    }

    QTemporaryDir folder;
    QTemporaryDir reference;
};

TEST_P(FaultInjectionTest, EveryFailedCallKeepsTheOldFile)
{
    ASSERT_TRUE(SupportsUnnamedFiles(folder.path())) << "the test folder's file system has no O_TMPFILE";
    ProveEveryFailureKeepsTheOldFile(true);
}

TEST_P(FaultInjectionTest, EveryFailedCallKeepsTheOldFileWithoutUnnamedFiles)
{
    ProveEveryFailureKeepsTheOldFile(false);
}

INSTANTIATE_TEST_SUITE_P(AllFiles, FaultInjectionTest, ::testing::ValuesIn(kKinds),
                         [](const ::testing::TestParamInfo<FileKind>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace tvl
