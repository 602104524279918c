#include "app/settings/SettingsStore.h"
#include "app/settings/DecimalText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <limits>

namespace tvl {
namespace {

class SettingsStoreTest : public testing::Test
{
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Tovrelline/settings.ini"));
};

TEST_F(SettingsStoreTest, KeepsEachValueKindAcrossReopening)
{
    SettingsStore store(path);
    EXPECT_TRUE(store.WriteSetting(u"String", QStringLiteral("Units"), QStringLiteral("Millimeters")));
    EXPECT_TRUE(store.WriteSetting(u"Number", QStringLiteral("ShowGrid"), QStringLiteral("1")));
    EXPECT_TRUE(store.WriteSetting(u"String", QStringLiteral("GridSize"), QStringLiteral("250,50")));

    const SettingsStore reopened(path);
    EXPECT_EQ(reopened.String(QStringLiteral("Units")), QStringLiteral("Millimeters"));
    EXPECT_EQ(reopened.Number(QStringLiteral("ShowGrid")), 1);
    EXPECT_EQ(reopened.ReadSettingString(QStringLiteral("GridSize")), QStringLiteral("250,50"));
    // A value of the other kind cannot be read as this one.
    EXPECT_EQ(reopened.Number(QStringLiteral("Units")), std::nullopt);
    EXPECT_EQ(reopened.String(QStringLiteral("ShowGrid")), std::nullopt);
    EXPECT_EQ(reopened.ReadSettingString(QStringLiteral("ShowGrid")), QString());
    EXPECT_TRUE(reopened.Contains(QStringLiteral("ShowGrid")));
    EXPECT_EQ(reopened.ReadSettingString(QStringLiteral("Absent")), QString());
}

TEST_F(SettingsStoreTest, NumberTextIsConvertedByItsLeadingDigits)
{
    const struct
    {
        const char* text;
        qint32 value;
    } cases[] = {
        {"42", 42},
        {"  -7x", -7},
        {"+3", 3},
        {"abc", 0},
        {"", 0},
        {"12,5", 12},
        {"99999999999", std::numeric_limits<qint32>::max()},
        {"-99999999999", std::numeric_limits<qint32>::min()},
    };
    SettingsStore store(path);
    for (const auto& c : cases) {
        EXPECT_EQ(DecimalValue(QString::fromLatin1(c.text)), c.value) << c.text;
        ASSERT_TRUE(store.WriteSetting(u"Number", QStringLiteral("Value"), QString::fromLatin1(c.text)));
        EXPECT_EQ(SettingsStore(path).Number(QStringLiteral("Value")), c.value) << c.text;
    }
}

TEST_F(SettingsStoreTest, UnknownKindStoresNothing)
{
    SettingsStore store(path);
    EXPECT_FALSE(store.WriteSetting(u"Binary", QStringLiteral("Units"), QStringLiteral("Inches")));
    EXPECT_FALSE(store.Contains(QStringLiteral("Units")));
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(SettingsStoreTest, TextsWithLineBreaksAndMarkupSurvive)
{
    const QString texts[] = {
        QStringLiteral("line one\r\nline two"),
        QStringLiteral("C:\\path\\with\\backslashes\\n"),
        QStringLiteral("  leading and trailing blanks  "),
        QStringLiteral("a=b;[Number]\n[String]"),
        QStringLiteral("gnudb.gnudb.org`80`/~cddb/cddb.cgi`"),
        QStringLiteral("Ünïcödé"),
    };
    for (const QString& text : texts) {
        SettingsStore store(path);
        ASSERT_TRUE(store.WriteString(QStringLiteral("Text"), text));
        EXPECT_EQ(SettingsStore(path).String(QStringLiteral("Text")), text);
    }
}

TEST_F(SettingsStoreTest, ReadsAtMost260Characters)
{
    SettingsStore store(path);
    const QString longText(300, u'x');
    store.WriteString(QStringLiteral("OpenFile"), longText);
    EXPECT_EQ(store.ReadSettingString(QStringLiteral("OpenFile")).size(), 260);
    EXPECT_EQ(store.String(QStringLiteral("OpenFile")), longText);
}

TEST_F(SettingsStoreTest, WritingOtherKindReplacesAndRemoveDeletes)
{
    SettingsStore store(path);
    store.WriteString(QStringLiteral("Template"), QStringLiteral("2"));
    store.WriteNumber(QStringLiteral("Template"), 2);
    EXPECT_EQ(SettingsStore(path).Number(QStringLiteral("Template")), 2);
    EXPECT_EQ(SettingsStore(path).String(QStringLiteral("Template")), std::nullopt);
    EXPECT_TRUE(store.Remove(QStringLiteral("Template")));
    EXPECT_FALSE(store.Contains(QStringLiteral("Template")));
    EXPECT_FALSE(SettingsStore(path).Contains(QStringLiteral("Template")));
    EXPECT_TRUE(store.Remove(QStringLiteral("NeverThere")));
}

TEST_F(SettingsStoreTest, WriteKeepsChangesOfAnotherRunningCopy)
{
    SettingsStore first(path);
    SettingsStore second(path);
    first.WriteString(QStringLiteral("Units"), QStringLiteral("Millimeters"));
    second.WriteNumber(QStringLiteral("ShowGrid"), 1);
    const SettingsStore reopened(path);
    EXPECT_EQ(reopened.String(QStringLiteral("Units")), QStringLiteral("Millimeters"));
    EXPECT_EQ(reopened.Number(QStringLiteral("ShowGrid")), 1);
}

TEST_F(SettingsStoreTest, UnwritableStoreLosesTheChange)
{
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SettingsStore store(dir.filePath(QStringLiteral("blocker/settings.ini")));
    EXPECT_FALSE(store.WriteSetting(u"String", QStringLiteral("Units"), QStringLiteral("Millimeters")));
    EXPECT_FALSE(store.Contains(QStringLiteral("Units")));
}

TEST_F(SettingsStoreTest, ForeignLinesAreSkippedAndNoTemporaryFileStays)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("stray=1\n[String]\r\nUnits=Millimeters\r\n; comment\nnoequals\n=nameless\n[Other]\nX=1\n"
               "[Number]\nShowGrid=1\n");
    file.close();

    SettingsStore store(path);
    EXPECT_EQ(store.String(QStringLiteral("Units")), QStringLiteral("Millimeters"));
    EXPECT_EQ(store.Number(QStringLiteral("ShowGrid")), 1);
    EXPECT_FALSE(store.Contains(QStringLiteral("stray")));
    EXPECT_FALSE(store.Contains(QStringLiteral("X")));

    EXPECT_TRUE(store.WriteNumber(QStringLiteral("Guides"), 1));
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files),
              QStringList{QStringLiteral("settings.ini")});
    EXPECT_FALSE(store.WriteNumber(QStringLiteral("Bad=Name"), 1));
}

} // namespace
} // namespace tvl
