#include "document/files/DesignFile.h"
#include "tests/document/files/EarlyFileBuilder.h"
#include "tests/document/files/SampleDesign.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

    ProgramRun Tovrelline(const QStringList& args) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), Path("data"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), Path("config"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(TOVRELLINE_PROGRAM), args);
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

} // namespace
} // namespace tvl
