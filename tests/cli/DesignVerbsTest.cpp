#include "app/cli/DumpVerb.h"
#include "app/cli/SaveAsVerb.h"
#include "document/files/DesignFile.h"
#include "images/CxImage.h"
#include "images/codecs/ImageCodecs.h"
#include "tests/document/files/EarlyFileBuilder.h"
#include "tests/document/files/SampleDesign.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <sys/stat.h>
#include <tuple>

namespace tvl {
namespace {

struct ProgramRun
{
    int exitCode;
    QByteArray out;
    QByteArray err;
};

class DesignVerbsTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(home.isValid()); }

    QString Path(const char* name) const { return home.filePath(QString::fromLatin1(name)); }

    ProgramRun Tovrelline(const QStringList& args, const QProcessEnvironment& extra = {}) const
    {
        return Run(QStringLiteral(TOVRELLINE_PROGRAM), args, extra);
    }

    // A shell script that starts the program as "$TOVRELLINE", for arguments that are bytes rather than text.
    ProgramRun Shell(const QString& script) const
    {
        QProcessEnvironment extra;
        extra.insert(QStringLiteral("TOVRELLINE"), QStringLiteral(TOVRELLINE_PROGRAM));
        return Run(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script}, extra);
    }

    ProgramRun Run(const QString& program, const QStringList& args, const QProcessEnvironment& extra) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), Path("data"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), Path("config"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(extra);
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(home.path());
        process.start(program, args);
        process.waitForFinished(120000);
        return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    }

    static QByteArray Contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir home;
};

TEST_F(DesignVerbsTest, DumpPrintsTheStoredDesign)
{
    LabelDesign design = MakeSampleDesign();
    ASSERT_TRUE(WriteDesignFile(Path("in.tvl"), design, SampleState("Double", "DVD")));
    const ProgramRun run = Tovrelline({QStringLiteral("dump"), Path("in.tvl"), QStringLiteral("--layout")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject dump = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(dump[u"fileVersion"].toInt(), 310);
    const QJsonObject header = dump[u"header"].toObject();
    EXPECT_EQ(header[u"discMode"].toString(), u"Double");
    EXPECT_EQ(header[u"caseKind"].toString(), u"DVD");
    EXPECT_EQ(header[u"currentPageCode"].toString(), u"2");
    EXPECT_EQ(header[u"Artist"].toString(), u"The Artist\b");
    EXPECT_EQ(header[u"Genre - Disc 2"].toString(), u"Ambient\b");

    const QJsonArray items = dump[u"itemList"].toArray();
    ASSERT_EQ(items.size(), static_cast<qsizetype>(design.itemList.size()));
    EXPECT_EQ(items[0].toObject()[u"name"].toString(), u"Page 1");
    QJsonObject text;
    QJsonObject jpeg;
    for (const QJsonValue& item : items) {
        if (item[u"name"].toString() == u"Text 1")
            text = item.toObject();
        if (item[u"name"].toString() == u"Image(1)")
            jpeg = item.toObject();
    }
    EXPECT_EQ(text[u"characters"].toString(), QStringLiteral("Caf\u00e9 \u20ac\rline\b"));
    EXPECT_EQ(text[u"top"].toInt(), -20);
    EXPECT_EQ(text[u"angle"].toString(), u"90 degrees");
    const QJsonArray fonts = text[u"fonts"].toArray();
    ASSERT_EQ(fonts.size(), 2);
    EXPECT_EQ(fonts[1][u"slot"].toInt(), 3);
    EXPECT_EQ(fonts[1][u"face"].toString(), u"Liberation Serif");
    EXPECT_EQ(fonts[0][u"weight"].toInt(), 700);
    EXPECT_EQ(fonts[0][u"italic"].toInt(), 1);
    const QJsonArray colors = text[u"colors"].toArray();
    ASSERT_EQ(colors.size(), 2);
    EXPECT_EQ(colors[0][u"color"].toString(), u"#FF0000");
    EXPECT_EQ(colors[1][u"color"].toString(), u"#123456");
    EXPECT_EQ(text[u"underlines"].toArray()[2].toInt(), 1);
    EXPECT_TRUE(text[u"image"].isNull());
    EXPECT_EQ(jpeg[u"image"][u"type"].toInt(), 1);
    EXPECT_EQ(jpeg[u"image"][u"width"].toInt(), 7);
    EXPECT_GT(jpeg[u"image"][u"sourceBytes"].toInt(), 0);
}

TEST_F(DesignVerbsTest, RefusedAndBrokenFilesExitWithTheMessage)
{
    LabelDesign design = MakeSampleDesign();
    QByteArray bytes;
    {
        ASSERT_TRUE(WriteDesignFile(Path("in.tvl"), design, SampleState()));
        bytes = Contents(Path("in.tvl"));
    }
    SetFileVersion(bytes, 311);
    QFile newer(Path("newer.tvl"));
    ASSERT_TRUE(newer.open(QIODevice::WriteOnly));
    newer.write(bytes);
    newer.close();

    ProgramRun run = Tovrelline({QStringLiteral("dump"), Path("newer.tvl")});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.startsWith("This file cannot be opened because it was created with a newer version"));

    run = Tovrelline({QStringLiteral("save-as"), Path("newer.tvl"), Path("out.tvl")});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_FALSE(QFile::exists(Path("out.tvl")));

    run = Tovrelline({QStringLiteral("dump"), Path("missing.tvl")});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_EQ(run.err,
              "Error opening file: " + Path("missing.tvl").toLocal8Bit() + ": No such file or directory\n");

    // Every verb that reads a design names the file and what is wrong with it.
    QFile cut(Path("cut.tvl"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(Contents(Path("in.tvl")).left(Contents(Path("in.tvl")).indexOf("Track List(1)")));
    cut.close();
    const QByteArray expected =
        "Error 153 - Step: 7: " + Path("cut.tvl").toLocal8Bit() + ": the file ends inside an item record\n";
    for (const QStringList& args :
         {QStringList{QStringLiteral("dump"), Path("cut.tvl")},
          QStringList{QStringLiteral("save-as"), Path("cut.tvl"), Path("out.tvl")},
          QStringList{QStringLiteral("export"), Path("cut.tvl"), QStringLiteral("--label"),
                      QStringLiteral("front"), QStringLiteral("-o"), Path("out.png")}}) {
        run = Tovrelline(args);
        EXPECT_EQ(run.exitCode, 1) << args.first().toStdString();
        // The export verb's offscreen platform may warn about its runtime folder first.
        EXPECT_TRUE(run.err.endsWith(expected))
            << args.first().toStdString() << ": " << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(Path("out.tvl")));
    EXPECT_FALSE(QFile::exists(Path("out.png")));
}

TEST_F(DesignVerbsTest, ACoverWithoutAreaHasNothingToExport)
{
    LabelDesign design = MakeSampleDesign();
    ASSERT_TRUE(WriteDesignFile(Path("in.tvl"), design, SampleState()));
    const ProgramRun run = Tovrelline({QStringLiteral("export"), Path("in.tvl"), QStringLiteral("--label"),
                                       QStringLiteral("front"), QStringLiteral("-o"), Path("front.png")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.endsWith("Nothing to export: the Front Cover is 0 pixels wide or high\n"))
        << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(Path("front.png")));
}

TEST_F(DesignVerbsTest, SaveAsUpgradesAndIsStable)
{
    LabelDesign design = MakeSampleDesign();
    QByteArray bytes;
    ASSERT_TRUE(WriteDesignFile(Path("in.tvl"), design, SampleState("Single", "DVD")));
    bytes = Contents(Path("in.tvl"));
    SetFileVersion(bytes, 305);
    QFile old(Path("old.tvl"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(bytes);
    old.close();

    ProgramRun run = Tovrelline({QStringLiteral("save-as"), Path("old.tvl"), Path("first.tvl")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const FileResult<DesignContent> first = ReadDesignFile(Path("first.tvl"));
    ASSERT_TRUE(first);
    EXPECT_EQ(first.value().fileVersion, 310);
    // Opening applies the catalogue's stocks: the DVD case stock of the first start.
    EXPECT_EQ(first.value().design.FindItem(u"Back Cover")->Rect(), QRect(145, 647, 10727, 7191));
    EXPECT_EQ(first.value().design.FindItem(u"Back Cover")->coverSpine, 5079);
    EXPECT_TRUE(QFile::exists(Path("data/Tovrelline/labels.ini")));

    run = Tovrelline({QStringLiteral("save-as"), Path("first.tvl"), Path("second.tvl")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(Contents(Path("second.tvl")), Contents(Path("first.tvl")));
}

TEST_F(DesignVerbsTest, EarlyDesignsAreDumpedAndSavedAsCurrentOnes)
{
    EarlyFile early;
    early.version = 3;
    early.AddFrontCover(QStringLiteral("4.75"), QStringLiteral("4.724"), false);
    early.AddText(QStringLiteral("Artist(1)"), QStringLiteral("Front Cover"), QStringLiteral("Top Left"),
                  QStringLiteral("90 degrees"));
    early.texts = {{QStringLiteral("Artist"), QStringLiteral("Text"), QStringLiteral("Old Band")},
                   {QStringLiteral("Track List"), QStringLiteral("Tracks"), QStringLiteral("5`cut`")}};
    QFile file(Path("early.tvl"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(BuildEarlyFile(early));
    file.close();

    // The damaged track list is reported; the rest of the design is used.
    ProgramRun run = Tovrelline({QStringLiteral("dump"), Path("early.tvl")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err.trimmed(), "Error 674");
    const QJsonObject dump = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(dump[u"fileVersion"].toInt(), 3);
    EXPECT_EQ(dump[u"header"][u"Artist"].toString(), u"Old Band\b");
    EXPECT_EQ(dump[u"itemList"].toArray().size(), 3);

    run = Tovrelline({QStringLiteral("save-as"), Path("early.tvl"), Path("current.tvl")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const FileResult<DesignContent> current = ReadDesignFile(Path("current.tvl"));
    ASSERT_TRUE(current);
    EXPECT_EQ(current.value().fileVersion, 310);
    const CRichChild* artist = current.value().design.FindItem(u"Artist(1)");
    ASSERT_NE(artist, nullptr);
    EXPECT_EQ(artist->Text(), u"Old Band\b");
    EXPECT_EQ(artist->alignment(), u"Right");
    EXPECT_NE(current.value().design.FindItem(u"Front Cover (Inside)"), nullptr);
}

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// The verbs that write a file, run with one file call failing (tests/support/FaultShim.cpp preloaded): the
// old file stays byte-identical, nothing else is left in its folder, and the verb says which file and why.
TEST_F(DesignVerbsTest, AFailedSaveOrExportKeepsTheOldFileAndSaysWhy)
{
    LabelDesign design = MakeSampleDesign();
    ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("out")));
    ASSERT_TRUE(WriteDesignFile(Path("in.tvl"), design, SampleState()));
    ASSERT_TRUE(WriteDesignFile(Path("out/old.tvl"), design, SampleState("Double", "DVD")));
    ASSERT_EQ(Tovrelline({QStringLiteral("export"), Path("in.tvl"), QStringLiteral("--label"),
                          QStringLiteral("disc2"), QStringLiteral("--dpi"), QStringLiteral("150"),
                          QStringLiteral("-o"), Path("out/old.png")})
                  .exitCode,
              0);
    const QStringList before = Entries(Path("out"));
    const QByteArray oldDesign = Contents(Path("out/old.tvl"));
    const QByteArray oldImage = Contents(Path("out/old.png"));

    struct Case
    {
        const char* call;
        const char* error;
        const char* reason;
    };
    const Case cases[] = {
        {"write", "ENOSPC", "No space left on device"}, {"fsync", "EIO", "Input/output error"},
        {"link", "EDQUOT", "Disk quota exceeded"},      {"rename", "ENOSPC", "No space left on device"},
        {"close", "EIO", "Input/output error"},
    };
    const QStringList saveAs{QStringLiteral("save-as"), Path("in.tvl"), Path("out/old.tvl")};
    const QStringList exportDisc{QStringLiteral("export"), Path("in.tvl"),          QStringLiteral("--label"),
                                 QStringLiteral("disc1"),  QStringLiteral("--dpi"), QStringLiteral("150"),
                                 QStringLiteral("-o"),     Path("out/old.png")};
    for (const Case& c : cases) {
        QProcessEnvironment fault;
        fault.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(TOVRELLINE_FAULT_SHIM));
        fault.insert(QStringLiteral("ASAN_OPTIONS"),
                     qEnvironmentVariable("ASAN_OPTIONS") + QStringLiteral(":verify_asan_link_order=0"));
        fault.insert(QStringLiteral("TVL_FAULT_DIR"), Path("out"));
        fault.insert(QStringLiteral("TVL_FAULT_CALL"), QString::fromLatin1(c.call));
        fault.insert(QStringLiteral("TVL_FAULT_NTH"), QStringLiteral("1"));
        fault.insert(QStringLiteral("TVL_FAULT_ERRNO"), QString::fromLatin1(c.error));
        for (const auto& [args, target, text] :
             {std::tuple{saveAs, Path("out/old.tvl"), "Error saving file. "},
              std::tuple{exportDisc, Path("out/old.png"), "Cannot write the image file. "}}) {
            const ProgramRun run = Tovrelline(args, fault);
            EXPECT_EQ(run.exitCode, 1) << c.call << " " << args[0].toStdString();
            EXPECT_TRUE(run.err.contains("tvl-fault: ")) << run.err.toStdString();
            EXPECT_TRUE(run.err.contains(QByteArray(text) + QFile::encodeName(target) + ": " + c.reason))
                << run.err.toStdString();
        }
        EXPECT_EQ(Contents(Path("out/old.tvl")), oldDesign) << c.call;
        EXPECT_EQ(Contents(Path("out/old.png")), oldImage) << c.call;
        EXPECT_EQ(Entries(Path("out")), before) << c.call;
    }
}

TEST_F(DesignVerbsTest, DevicesPipesAndFoldersAreNeverReplaced)
{
    LabelDesign design = MakeSampleDesign();
    ASSERT_TRUE(WriteDesignFile(Path("in.tvl"), design, SampleState()));
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("pipe.tvl")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), Path("null.tvl")));
    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("folder.tvl")));
    for (const char* name : {"pipe.tvl", "null.tvl", "folder.tvl"}) {
        const ProgramRun run = Tovrelline({QStringLiteral("save-as"), Path("in.tvl"), Path(name)});
        EXPECT_EQ(run.exitCode, 1) << name;
        EXPECT_TRUE(run.err.contains("not a regular file")) << run.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo(Path("pipe.tvl")).isFile());
    EXPECT_TRUE(QFileInfo(Path("null.tvl")).isSymLink());
    EXPECT_TRUE(QFileInfo(Path("folder.tvl")).isDir());

    // A link to a regular file is written through and stays a link.
    ASSERT_TRUE(WriteDesignFile(Path("real.tvl"), design, SampleState("Double", "DVD")));
    ASSERT_TRUE(QFile::link(QStringLiteral("real.tvl"), Path("link.tvl")));
    const ProgramRun run = Tovrelline({QStringLiteral("save-as"), Path("in.tvl"), Path("link.tvl")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(QFileInfo(Path("link.tvl")).isSymLink());
    const FileResult<DesignContent> real = ReadDesignFile(Path("real.tvl"));
    ASSERT_TRUE(real);
    EXPECT_EQ(real.value().design.albumHeader.discMode, u"Single");
}

// The stored pictures of a design by item name, format code and bytes, read without decoding them.
std::map<QString, std::pair<qint64, QByteArray>> StoredPictures(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const FileResult<DesignContent> read = ReadDesign(buffer, PictureReading::KeepEncoded);
    std::map<QString, std::pair<qint64, QByteArray>> pictures;
    if (!read)
        return pictures;
    for (const auto& item : read.value().design.itemList) {
        if (!item->keptPicture.bytes.isEmpty())
            pictures[item->name] = {item->keptPicture.code, item->keptPicture.bytes};
    }
    return pictures;
}

// dump needs only the pictures' sizes and save-as only their stored bytes: neither decodes a pixel, and
// save-as writes every picture as a save of the decoded design writes it.
TEST_F(DesignVerbsTest, DumpAndSaveAsDecodeNoPicture)
{
    LabelDesign design = MakeSampleDesign();
    ASSERT_TRUE(WriteDesignFile(Path("in.tvl"), design, SampleState("Single", "DVD")));
    const QByteArray written = Contents(Path("in.tvl"));
    // The verbs run in this process, with the settings and catalogue of this test's own home.
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_DATA_HOME", Path("data").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", Path("config").toLocal8Bit());
    QByteArray in = Path("in.tvl").toLocal8Bit();
    QByteArray out = Path("out.tvl").toLocal8Bit();

    const int decodesBefore = ImageCodecs::decodeCount();
    std::vector<char*> dumpArgs{in.data()};
    testing::internal::CaptureStdout();
    const int dumped = RunDumpVerb(dumpArgs);
    const std::string json = testing::internal::GetCapturedStdout();
    std::vector<char*> saveArgs{in.data(), out.data()};
    const int saved = RunSaveAsVerb(saveArgs);
    qputenv("XDG_DATA_HOME", dataHome);
    qputenv("XDG_CONFIG_HOME", configHome);
    EXPECT_EQ(ImageCodecs::decodeCount(), decodesBefore);
    ASSERT_EQ(dumped, 0);
    ASSERT_EQ(saved, 0);
    EXPECT_NE(json.find("\"Image(6)\""), std::string::npos);

    const auto stored = StoredPictures(written);
    ASSERT_EQ(stored.size(), 5u);
    EXPECT_EQ(StoredPictures(Contents(Path("out.tvl"))), stored);
    FileResult<DesignContent> decoded = ReadDesignFile(Path("in.tvl"));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(StoredPictures(WriteToBytes(decoded.value().design, SampleState("Single", "DVD"))), stored);
}

// Picture blocks the image layer cannot decode survive a save with their bytes and format code, and the
// verbs say that a picture could not be shown.
TEST_F(DesignVerbsTest, UndecodablePicturesAreKeptAndReported)
{
    LabelDesign design = MakeSampleDesign();
    QByteArray png;
    ASSERT_TRUE(MakePicture(CXIMAGE_FORMAT_PNG)->EncodeBuffer(png, CXIMAGE_FORMAT_PNG));
    const std::tuple<const char*, qint64, QByteArray> kept[] = {
        {"Image(1)", CXIMAGE_FORMAT_BMP, MakePicture(CXIMAGE_FORMAT_JPG)->SourceBytes()}, // JPEG under BMP
        {"Image(2)", CXIMAGE_FORMAT_PNG, png.left(png.size() / 2)},                       // cut short
        {"Image(3)", 77, QByteArray("no format has this code")},
    };
    for (const auto& [name, code, bytes] : kept) {
        CRichChild* item = design.FindItem(QString::fromLatin1(name));
        item->image.reset();
        item->undecodedPicture = {code, bytes};
    }
    ASSERT_TRUE(WriteDesignFile(Path("in.tvl"), design, SampleState()));

    ProgramRun run = Tovrelline({QStringLiteral("save-as"), Path("in.tvl"), Path("out.tvl")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err.trimmed(),
              "Pictures could not be shown: Image(1), Image(2), Image(3) (their data is kept as "
              "it was)");
    const FileResult<DesignContent> saved = ReadDesignFile(Path("out.tvl"));
    ASSERT_TRUE(saved);
    for (const auto& [name, code, bytes] : kept) {
        const CRichChild* item = saved.value().design.FindItem(QString::fromLatin1(name));
        EXPECT_EQ(item->image, nullptr) << name;
        EXPECT_EQ(item->undecodedPicture.code, code) << name;
        EXPECT_EQ(item->undecodedPicture.bytes, bytes) << name;
    }
    EXPECT_NE(saved.value().design.FindItem(u"Image(5)")->image, nullptr);

    run = Tovrelline({QStringLiteral("dump"), Path("out.tvl")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.startsWith("Pictures could not be shown: "));
}

// A name that is not UTF-8 is written and read under its own bytes, never under a re-encoded name.
TEST_F(DesignVerbsTest, NamesThatAreNotUtf8KeepTheirBytes)
{
    LabelDesign design = MakeSampleDesign();
    ASSERT_TRUE(WriteDesignFile(Path("in.tvl"), design, SampleState()));
    // What a lossy decoding of the name would give: it must be neither written nor read.
    QFile decoy(home.filePath(QStringLiteral("out-\uFFFD.tvl")));
    ASSERT_TRUE(decoy.open(QIODevice::WriteOnly));
    decoy.write("decoy");
    decoy.close();

    ProgramRun run =
        Shell(QStringLiteral("exec \"$TOVRELLINE\" save-as in.tvl \"$(printf 'out-\\351.tvl')\""));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QByteArray raw = QFile::encodeName(home.path()) + "/out-\xe9.tvl";
    struct stat status = {};
    EXPECT_EQ(::stat(raw.constData(), &status), 0);
    EXPECT_EQ(Contents(home.filePath(QStringLiteral("out-\uFFFD.tvl"))), "decoy");

    run = Shell(QStringLiteral("exec \"$TOVRELLINE\" dump \"$(printf 'out-\\351.tvl')\""));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(run.out).object()[u"fileVersion"].toInt(), 310);
}

} // namespace
} // namespace tvl
