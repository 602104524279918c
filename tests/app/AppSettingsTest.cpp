#include "app/settings/AppSettings.h"
#include "app/settings/SettingsStore.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tvl {
namespace {

class AppSettingsTest : public testing::Test
{
protected:
    AppSettings Load() { return LoadSettings(store, QStringLiteral("/opt/tovrelline")); }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("settings.ini"));
    SettingsStore store{path};
};

TEST_F(AppSettingsTest, EmptyStoreGivesTheDefaultsAndWritesTheServer)
{
    const AppSettings s = Load();
    EXPECT_FALSE(s.printFront || s.printBack || s.printDisc1 || s.printDisc2);
    EXPECT_EQ(s.printOptions.flags, (std::array<bool, 5>{true, true, false, true, true}));
    EXPECT_EQ(s.printOptions.mode, 1);
    EXPECT_EQ(s.printOptions.thirdNumber, 100);
    EXPECT_EQ(s.printOffset, QPoint(0, 0));
    EXPECT_EQ(s.printDialogPosition, QPoint(-1, -1));
    EXPECT_EQ(s.units, QStringLiteral("Inches"));
    EXPECT_EQ(s.gridSize, QSize(100, 100));
    EXPECT_FALSE(s.showGrid || s.snapToGrid || s.guides);
    EXPECT_TRUE(s.firstRun);
    EXPECT_EQ(s.version, QString());
    EXPECT_EQ(s.defTemplate, QStringLiteral("Default1.tvl"));
    EXPECT_TRUE(s.freedb && s.cdText && s.cdPlayer && s.mp3 && s.mp3Tag);
    EXPECT_EQ(s.browseDefaultPath, QStringLiteral("/opt/tovrelline/Backgrounds"));
    EXPECT_EQ(s.browseFilter, 0);
    EXPECT_TRUE(s.browseSubfolder);
    EXPECT_TRUE(s.showCdPrinterDialog);

    EXPECT_EQ(s.freedbFields,
              (QStringList{QStringLiteral("gnudb.gnudb.org"), QStringLiteral("80"),
                           QStringLiteral("/~cddb/cddb.cgi"), QStringLiteral("Random freedb server"),
                           QStringLiteral("0"), QString(), QString(), QString(), QString()}));
    EXPECT_EQ(SettingsStore(path).String(QStringLiteral("FreedbOptions")), defaultFreedbOptions.toString());
}

TEST_F(AppSettingsTest, ChosenServerIsKept)
{
    const QString mine = QStringLiteral("cddb.example.net`8880`/cgi`Mine`1`a`b`c`d`");
    store.WriteString(QStringLiteral("FreedbOptions"), mine);
    const AppSettings s = Load();
    EXPECT_EQ(s.freedbOptions, mine);
    EXPECT_EQ(s.freedbFields.size(), 9);
    EXPECT_EQ(s.freedbFields[1], QStringLiteral("8880"));
    EXPECT_EQ(s.freedbFields[8], QStringLiteral("d"));
}

TEST_F(AppSettingsTest, OldTemplateValueBecomesDefTemplate)
{
    const struct
    {
        int oldValue;
        const char* existing;
        const char* expected;
    } cases[] = {
        {2, nullptr, "Default2.tvl"},
        {1, nullptr, "Default1.tvl"},
        {7, "Mine.tvl", "Default1.tvl"},
    };
    for (const auto& c : cases) {
        store.Remove(QStringLiteral("defTemplate"));
        if (c.existing)
            store.WriteString(QStringLiteral("defTemplate"), QString::fromLatin1(c.existing));
        store.WriteNumber(QStringLiteral("Template"), c.oldValue);
        EXPECT_EQ(Load().defTemplate, QString::fromLatin1(c.expected)) << c.oldValue;
        const SettingsStore reopened(path);
        EXPECT_FALSE(reopened.Contains(QStringLiteral("Template")));
        EXPECT_EQ(reopened.String(QStringLiteral("defTemplate")), QString::fromLatin1(c.expected));
    }
    store.WriteString(QStringLiteral("defTemplate"), QStringLiteral("Mine.tvl"));
    EXPECT_EQ(Load().defTemplate, QStringLiteral("Mine.tvl"));
}

TEST_F(AppSettingsTest, SourceIsOnWhenAbsentOrOne)
{
    const struct
    {
        std::optional<int> stored;
        bool on;
    } cases[] = {{std::nullopt, true}, {1, true}, {0, false}, {5, false}, {-1, false}};
    for (const auto& c : cases) {
        if (c.stored)
            store.WriteNumber(QStringLiteral("bFreedb"), *c.stored);
        else
            store.Remove(QStringLiteral("bFreedb"));
        EXPECT_EQ(Load().freedb, c.on) << c.stored.value_or(-999);
    }
    store.WriteString(QStringLiteral("bMp3Tag"), QStringLiteral("1"));
    EXPECT_FALSE(Load().mp3Tag) << "a String is not the Number 1";
}

TEST_F(AppSettingsTest, PrintOptionsReadByPosition)
{
    const struct
    {
        const char* text;
        std::array<bool, 5> flags;
        int mode, first, second, third;
    } cases[] = {
        {"110110000000100", {true, true, false, true, true}, 1, 0, 0, 100},
        {"001003012345678", {false, false, true, false, false}, 3, 12, 345, 678},
        {"1x1114-05-03-01", {true, false, true, true, true}, 1, 0, 0, 100},
        {"11111", {true, true, true, true, true}, 1, 0, 0, 0},
    };
    for (const auto& c : cases) {
        store.WriteString(QStringLiteral("PrintOptions"), QString::fromLatin1(c.text));
        const PrintOptions o = Load().printOptions;
        EXPECT_EQ(o.flags, c.flags) << c.text;
        EXPECT_EQ(o.mode, c.mode) << c.text;
        EXPECT_EQ(o.firstNumber, c.first) << c.text;
        EXPECT_EQ(o.secondNumber, c.second) << c.text;
        EXPECT_EQ(o.thirdNumber, c.third) << c.text;
    }
    const PrintOptions options{{true, false, true, false, true}, 2, 7, 40, 250};
    const PrintOptions back = ReadPrintOptions(FormatPrintOptions(options));
    EXPECT_EQ(FormatPrintOptions(options), QStringLiteral("101012007040250"));
    EXPECT_EQ(back.flags, options.flags);
    EXPECT_EQ(back.mode, 2);
    EXPECT_EQ(back.thirdNumber, 250);
}

TEST_F(AppSettingsTest, PairsAndPositions)
{
    store.WriteString(QStringLiteral("GridSize"), QStringLiteral("250,50"));
    store.WriteString(QStringLiteral("PrintOffset"), QStringLiteral("-55,12"));
    store.WriteString(QStringLiteral("PrintDialog"), QStringLiteral("0012300456"));
    AppSettings s = Load();
    EXPECT_EQ(s.gridSize, QSize(250, 50));
    EXPECT_EQ(s.printOffset, QPoint(-40, 12));
    EXPECT_EQ(s.printDialogPosition, QPoint(123, 456));

    // A grid of zero would never finish drawing; a value without a comma cannot be read.
    store.WriteString(QStringLiteral("GridSize"), QStringLiteral("0,5000"));
    EXPECT_EQ(Load().gridSize, QSize(30, 1000));
    store.WriteString(QStringLiteral("GridSize"), QStringLiteral("250"));
    EXPECT_EQ(Load().gridSize, QSize(100, 100));

    EXPECT_EQ(ReadIntPair(QStringLiteral("12,34,56")), QPoint(12, 34));
    EXPECT_EQ(ReadIntPair(QStringLiteral(",7")), QPoint(0, 7));
    for (const QPoint p : {QPoint(5, 7), QPoint(0, 0), QPoint(1920, 1080)})
        EXPECT_EQ(ReadPosition(FormatPosition(p)), p);
    EXPECT_EQ(FormatPosition(QPoint(5, 7)), QStringLiteral("0000500007"));
    EXPECT_EQ(ReadPosition(FormatPosition(QPoint(-1, -1))), QPoint(-1, -1));
}

TEST_F(AppSettingsTest, SwitchesAndFirstRun)
{
    store.WriteNumber(QStringLiteral("ShowGrid"), 1);
    store.WriteNumber(QStringLiteral("SnapToGrid"), 0);
    store.WriteNumber(QStringLiteral("Guides"), 3);
    store.WriteNumber(QStringLiteral("PrintDisc2"), 1);
    store.WriteNumber(QStringLiteral("HelpScreen"), 1);
    store.WriteNumber(QStringLiteral("BrowseSubfolder"), 0);
    store.WriteNumber(QStringLiteral("bHelpCDPrinter"), 1);
    store.WriteString(QStringLiteral("Version"), QStringLiteral("4.00"));
    const AppSettings s = Load();
    EXPECT_TRUE(s.showGrid);
    EXPECT_FALSE(s.snapToGrid);
    EXPECT_TRUE(s.guides);
    EXPECT_TRUE(s.printDisc2);
    EXPECT_FALSE(s.printDisc1);
    EXPECT_FALSE(s.firstRun);
    EXPECT_FALSE(s.browseSubfolder);
    EXPECT_FALSE(s.showCdPrinterDialog);
    EXPECT_EQ(s.version, QStringLiteral("4.00"));
}

} // namespace
} // namespace tvl
