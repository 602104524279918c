#include "print/export/ExportSettings.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tvl {
namespace {

QByteArray Le32(int value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>((static_cast<unsigned>(value) >> (8 * i)) & 0xff);
    return bytes;
}

QByteArray FileOf(std::initializer_list<int> values, const QByteArray& pathBytes)
{
    QByteArray bytes;
    for (const int value : values)
        bytes += Le32(value);
    return bytes + pathBytes;
}

std::optional<ExportSettings> Read(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadExportSettings(buffer);
}

TEST(ExportSettingsTest, RoundTripKeepsEveryChoiceAndAUnicodePath)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("export.ini"));
    ExportSettings settings;
    settings.label = 3;
    settings.imageType = 1;
    settings.resolution = 2;
    settings.border = 3;
    settings.overlap = 2;
    settings.position = QPoint(120, -40);
    settings.path = QStringLiteral("/home/user/Изображения/label.jpg");
    ASSERT_TRUE(SaveExportSettings(file, settings));
    const std::optional<ExportSettings> read = LoadExportSettings(file);
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, settings);

    settings.path = QStringLiteral("C:\\Pictures\\café.png");
    ASSERT_TRUE(SaveExportSettings(file, settings));
    QFile raw(file);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    EXPECT_EQ(bytes.size(), 8 * 4 + 1 + settings.path.size()) << "a Windows-1252 path stays 8-bit";
    EXPECT_EQ(bytes.mid(20, 4), Le32(0)) << "the reserved value";
}

TEST(ExportSettingsTest, DamagedValuesFallBack)
{
    const QByteArray path = QByteArray("\x05/tmp/", 6);
    const std::optional<ExportSettings> wild = Read(FileOf({7, -1, 3, 4, 99, 12345, 10, 20}, path));
    ASSERT_TRUE(wild);
    EXPECT_EQ(wild->label, 0);
    EXPECT_EQ(wild->imageType, 2);
    EXPECT_EQ(wild->resolution, 1);
    EXPECT_EQ(wild->border, 0);
    EXPECT_EQ(wild->overlap, 0);
    EXPECT_EQ(wild->position, QPoint(10, 20));
    EXPECT_EQ(wild->path, QStringLiteral("/tmp/"));

    // A path longer than the file, a file cut short and an empty file are unreadable as a whole.
    EXPECT_FALSE(Read(FileOf({1, 1, 1, 1, 1, 0, 0, 0}, QByteArray::fromHex("fe6162"))));
    EXPECT_FALSE(Read(FileOf({1, 1, 1}, {})));
    EXPECT_FALSE(Read({}));
    EXPECT_FALSE(LoadExportSettings(QStringLiteral("/nonexistent/export.ini")));
}

TEST(ExportSettingsTest, DefaultLabelFollowsTheSelection)
{
    EXPECT_EQ(DefaultExportLabel(false, u"Disc 1", u"Disc 1"), 0);
    EXPECT_EQ(DefaultExportLabel(true, u"Back Cover", u"Disc 1"), 1);
    EXPECT_EQ(DefaultExportLabel(true, u"Disc 2", u"Front Cover"), 3);
    EXPECT_EQ(DefaultExportLabel(true, u"", u"Disc 1"), 2);
    EXPECT_EQ(DefaultExportLabel(true, u"", u"Page 1"), 0);
}

} // namespace
} // namespace tvl
