#include "document/files/DesignFile.h"
#include "images/CxImage.h"
#include "tests/document/files/SampleDesign.h"
#include "tests/images/PictureBombs.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace tvl {
namespace {

// What one run of the program cost.
struct Usage
{
    int exitCode = -1;
    qint64 peakBytes = 0;
    double seconds = 0;
};

// The files these tests make are read by the real program; its peak resident memory comes from the
// kernel's accounting of the child (wait4). The sanitizers of the test build add their own share (shadow
// memory, the allocator's quarantine), so each bound is taken against a reference run of the same verb on
// an ordinary design of the same cover size: what a bomb may add on top is the 20 bytes per byte of file
// the target allows, plus a little for the allocator's noise.
constexpr qint64 kNoise = 16 * 1024 * 1024;
constexpr qint64 kBytesPerFileByte = 20;
constexpr double kSecondsAllowed = 10;
// Far beyond any run here: a run still going then is a hang.
constexpr auto kHangGuard = std::chrono::seconds(120);

class ResourceBoundsTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(home.isValid()); }

    QString Path(const QString& name) const { return home.filePath(name); }

    QString Write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return Path(name);
    }

    Usage Run(const QStringList& args) const
    {
        std::vector<QByteArray> words{QByteArray(TOVRELLINE_PROGRAM)};
        for (const QString& arg : args)
            words.push_back(arg.toLocal8Bit());
        std::vector<char*> argv;
        for (QByteArray& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);

        std::vector<QByteArray> settings{"XDG_DATA_HOME=" + Path(QStringLiteral("data")).toLocal8Bit(),
                                         "XDG_CONFIG_HOME=" + Path(QStringLiteral("config")).toLocal8Bit()};
        std::vector<char*> env;
        for (QByteArray& setting : settings)
            env.push_back(setting.data());
        for (char** entry = environ; *entry; ++entry) {
            const std::string_view text(*entry);
            if (!text.starts_with("DISPLAY=") && !text.starts_with("WAYLAND_DISPLAY=") &&
                !text.starts_with("XDG_DATA_HOME=") && !text.starts_with("XDG_CONFIG_HOME="))
                env.push_back(*entry);
        }
        env.push_back(nullptr);
        const QByteArray output = Path(QStringLiteral("output.txt")).toLocal8Bit();

        const auto start = std::chrono::steady_clock::now();
        const pid_t child = fork();
        if (child == 0) {
            const int sink = open(output.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(sink, STDOUT_FILENO);
            dup2(sink, STDERR_FILENO);
            execve(argv[0], argv.data(), env.data());
            _exit(127);
        }
        Usage usage;
        int status = 0;
        rusage resources{};
        while (wait4(child, &status, WNOHANG, &resources) == 0) {
            if (std::chrono::steady_clock::now() - start > kHangGuard) {
                kill(child, SIGKILL);
                wait4(child, &status, 0, &resources);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        usage.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        usage.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        usage.peakBytes = qint64(resources.ru_maxrss) * 1024;
        return usage;
    }

    QTemporaryDir home;
};

// A DVD-sized front cover carrying the sample pictures, the first of them drawn large.
LabelDesign CoverDesign()
{
    LabelDesign design = MakeSampleDesign();
    CRichChild& front = *design.FindItem(u"Front Cover");
    front.width(10750);
    front.height(7250);
    CRichChild& picture = *design.FindItem(u"Image(1)");
    picture.left(500);
    picture.top(500);
    picture.width(4000);
    picture.height(4000);
    return design;
}

// The design's bytes with the first picture block (the JPEG of "Image(1)") replaced by another one.
QByteArray WithFirstPicture(const QByteArray& design, const QByteArray& jpeg, int code,
                            const QByteArray& picture)
{
    QByteArray bytes = design;
    const QByteArray block = "1\n" + QByteArray::number(jpeg.size()) + '\n' + jpeg;
    const qsizetype at = bytes.indexOf(block);
    EXPECT_GT(at, 0);
    return bytes.replace(at, block.size(),
                         QByteArray::number(code) + '\n' + QByteArray::number(picture.size()) + '\n' +
                             picture);
}

std::string Megabytes(qint64 bytes)
{
    return std::to_string(bytes / (1024 * 1024)) + " MiB";
}

// The figures go to the log, so that a run shows what each verb cost and not only that it passed.
void Report(const std::string& what, const Usage& usage)
{
    std::printf("[ measured ] %s: peak %s, %.2f s\n", what.c_str(), Megabytes(usage.peakBytes).c_str(),
                usage.seconds);
}

// The named picture bombs, in a design of their own, cost no more to dump or to export at 600 dpi than an
// ordinary design does, and are done within the time allowed.
TEST_F(ResourceBoundsTest, PictureBombsStayWithinTheMemoryOfAnOrdinaryDesign)
{
    LabelDesign design = CoverDesign();
    const QByteArray jpeg = design.FindItem(u"Image(1)")->image->SourceBytes();
    const QByteArray ordinary = WriteToBytes(design, SampleState("Single", "DVD"));
    ASSERT_FALSE(ordinary.isEmpty());
    const QString reference = Write(QStringLiteral("ordinary.tvl"), ordinary);
    const QStringList exportArgs{QStringLiteral("--label"), QStringLiteral("front"),
                                 QStringLiteral("--dpi"),   QStringLiteral("600"),
                                 QStringLiteral("-o"),      Path(QStringLiteral("out.png"))};

    const Usage dumpReference = Run({QStringLiteral("dump"), reference});
    ASSERT_EQ(dumpReference.exitCode, 0);
    Report("dump of an ordinary design", dumpReference);
    const Usage exportReference = Run(QStringList{QStringLiteral("export"), reference} + exportArgs);
    ASSERT_EQ(exportReference.exitCode, 0);
    Report("export of an ordinary DVD cover at 600 dpi", exportReference);

    struct Bomb
    {
        const char* name;
        int code;
        QByteArray picture;
    };
    const Bomb bombs[] = {
        {"png-14142-rgba", CXIMAGE_FORMAT_PNG, test::PngBomb(14142, 14142, 6, 16)},
        {"png-refused-after-header", CXIMAGE_FORMAT_PNG,
         test::PngWithData(14142, 14142, 2, QByteArray(9, 'x'))},
        {"jpeg-20000x10000", CXIMAGE_FORMAT_JPG, test::JpegBomb(20000, 10000)},
    };
    for (const Bomb& bomb : bombs) {
        const QByteArray bytes = WithFirstPicture(ordinary, jpeg, bomb.code, bomb.picture);
        const QString path = Write(QString::fromLatin1(bomb.name) + QStringLiteral(".tvl"), bytes);
        const qint64 allowance = kBytesPerFileByte * bytes.size() + kNoise;

        const Usage dump = Run({QStringLiteral("dump"), path});
        Report(std::string("dump of ") + bomb.name, dump);
        EXPECT_EQ(dump.exitCode, 0) << bomb.name;
        EXPECT_LE(dump.peakBytes, dumpReference.peakBytes + allowance)
            << bomb.name << ": dump peaked at " << Megabytes(dump.peakBytes) << ", an ordinary design at "
            << Megabytes(dumpReference.peakBytes);
        EXPECT_LT(dump.seconds, kSecondsAllowed) << bomb.name;

        const Usage exported = Run(QStringList{QStringLiteral("export"), path} + exportArgs);
        Report(std::string("export of ") + bomb.name, exported);
        EXPECT_EQ(exported.exitCode, 0) << bomb.name;
        EXPECT_LE(exported.peakBytes, exportReference.peakBytes + allowance)
            << bomb.name << ": export peaked at " << Megabytes(exported.peakBytes)
            << ", an ordinary design at " << Megabytes(exportReference.peakBytes);
        // Drawing the cover itself takes seconds in the sanitized build; the bomb must not add more.
        EXPECT_LT(exported.seconds, exportReference.seconds + kSecondsAllowed) << bomb.name;
    }
}

// A design of 50,000 items is refused from its item count, quickly and without reading the items.
TEST_F(ResourceBoundsTest, DesignOfFiftyThousandItemsIsRefusedQuickly)
{
    LabelDesign small = MakeSampleDesign();
    const Usage reference =
        Run({QStringLiteral("dump"), Write(QStringLiteral("small.tvl"), WriteToBytes(small, SampleState()))});
    ASSERT_EQ(reference.exitCode, 0);

    LabelDesign large;
    for (int i = 0; i < 50000; ++i) {
        auto item = std::make_unique<CRichChild>();
        item->name = QStringLiteral("Text %1").arg(i);
        item->kind = ItemKind::Text;
        large.InsertItem(std::move(item));
    }
    const QByteArray bytes = WriteToBytes(large, SampleState());
    const QString path = Write(QStringLiteral("large.tvl"), bytes);
    for (const QStringList& args :
         {QStringList{QStringLiteral("dump"), path},
          QStringList{QStringLiteral("export"), path, QStringLiteral("--label"), QStringLiteral("front"),
                      QStringLiteral("-o"), Path(QStringLiteral("large.png"))}}) {
        const Usage usage = Run(args);
        Report(args.first().toStdString() + " of 50,000 items", usage);
        EXPECT_EQ(usage.exitCode, 1) << args.first().toStdString();
        EXPECT_LE(usage.peakBytes, reference.peakBytes + kBytesPerFileByte * bytes.size() + kNoise)
            << args.first().toStdString() << " peaked at " << Megabytes(usage.peakBytes);
        EXPECT_LT(usage.seconds, kSecondsAllowed) << args.first().toStdString();
    }
    QFile output(Path(QStringLiteral("output.txt")));
    ASSERT_TRUE(output.open(QIODevice::ReadOnly));
    EXPECT_TRUE(output.readAll().endsWith(": the design holds more than 10000 items\n"));
}

} // namespace
} // namespace tvl
