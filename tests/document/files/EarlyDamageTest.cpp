#include "EarlyFileBuilder.h"
#include "SampleDesign.h"
#include "document/archive/CArchive.h"
#include "document/archive/ObjectArray.h"
#include "document/files/early/EarlyDesignReader.h"
#include "images/CxImage.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace tvl {
namespace {

struct EarlyRead
{
    EarlyReadResult result;
    LabelDesign design;
};

// Reads the placeholder lists as ReadDesign does and hands the rest to the early reader.
EarlyRead ReadEarly(const QByteArray& bytes)
{
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    CArchive archive(buffer, CArchive::Mode::Load);
    auto rows = GetObjectArray<CProperty>(archive);
    auto texts = GetObjectArray<CText>(archive);
    const int version = texts.empty() ? -1 : texts.front()->schemaSeen;
    EarlyRead read;
    read.result = ReadEarlyDesign(archive, version, std::move(rows), std::move(texts), read.design);
    return read;
}

EarlyFile TextDesign(int version)
{
    EarlyFile file;
    file.version = version;
    file.AddFrontCover(QStringLiteral("4.75"), QStringLiteral("4.724"), false);
    file.AddText(QStringLiteral("Text 1"), QStringLiteral("Front Cover"), QStringLiteral("Top"),
                 QStringLiteral("0 degrees"));
    file.texts = {{QStringLiteral("Text 1"), QStringLiteral("Text"), QStringLiteral("Hello")}};
    return file;
}

TEST(EarlyDamageTest, EveryTruncationFailsOrReadsWithoutHarm)
{
    for (const int version : {1, 6}) {
        EarlyFile file = TextDesign(version);
        file.AddImage(QStringLiteral("Image(1)"), QStringLiteral("1"), QStringLiteral("Front Cover"), 0);
        file.pictures = {{CXIMAGE_FORMAT_BMP, 3, EncodedPicture(CXIMAGE_FORMAT_BMP)}};
        const QByteArray whole = BuildEarlyFile(file);
        ASSERT_TRUE(ReadFromBytes(whole)) << version;
        int failures = 0;
        for (qsizetype size = 0; size < whole.size(); ++size) {
            const FileResult<DesignContent> read = ReadFromBytes(whole.left(size));
            if (!read) {
                ++failures;
                EXPECT_EQ(read.error().kind, FileError::Kind::Failed);
                EXPECT_EQ(read.error().code, 153);
            }
        }
        // The pictures are the end of the file, so every cut is noticed.
        EXPECT_EQ(failures, whole.size()) << version;
    }
}

TEST(EarlyDamageTest, PictureCountsBeyondTheFileFail)
{
    struct Case
    {
        const char* what;
        int version;
        std::uint16_t tag;
        std::optional<qint64> statedCount;
        std::optional<int> statedImageCount;
    };
    const Case cases[] = {
        {"more blocks than the file holds", 6, 0, {}, 1000},
        {"negative block count", 6, 0, {}, -3},
        {"byte count beyond the file", 6, 0, 1 << 30, {}},
        {"64-bit byte count beyond the file", 1, 6, qint64{1} << 40, {}},
        {"negative 64-bit byte count", 1, 6, -5, {}},
        {"negative 16-bit byte count", 1, 2, 0xfff0, {}},
        {"unknown type tag", 1, 9, {}, {}},
    };
    for (const Case& c : cases) {
        EarlyFile file = TextDesign(c.version);
        file.statedImageCount = c.statedImageCount;
        file.pictures = {{CXIMAGE_FORMAT_BMP, c.tag, EncodedPicture(CXIMAGE_FORMAT_BMP), c.statedCount}};
        const EarlyRead read = ReadEarly(BuildEarlyFile(file));
        EXPECT_FALSE(read.result.ok) << c.what;
        EXPECT_EQ(read.result.stage, EarlyStagePictures) << c.what;
    }
    // Through ReadDesign the stage is part of the message.
    EarlyFile file = TextDesign(6);
    file.statedImageCount = 2;
    const FileResult<DesignContent> read = ReadFromBytes(BuildEarlyFile(file));
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().message, u"Error 153 - Step: 21");
}

TEST(EarlyDamageTest, BadPictureBytesLeaveTheItemWithoutPicture)
{
    EarlyFile file = TextDesign(1);
    file.AddImage(QStringLiteral("Image(1)"), QString(), QStringLiteral("Front Cover"), 0);
    file.AddImage(QStringLiteral("Image(2)"), QString(), QStringLiteral("Front Cover"), -1);
    file.pictures = {{0, 3, QByteArray("not a picture")}};
    const EarlyRead read = ReadEarly(BuildEarlyFile(file));
    ASSERT_TRUE(read.result.ok);
    const CRichChild* image = read.design.FindItem(u"Image(1)");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->image, nullptr);
    EXPECT_EQ(read.design.FindItem(u"Image(2)"), nullptr);
}

TEST(EarlyDamageTest, GroupsCutShortAndOrderNumbers)
{
    // A text group cut short by the end of the rows: the cover before it stays, the error is reported and
    // the inside panel is still made.
    EarlyFile cut = TextDesign(6);
    cut.rows.resize(cut.rows.size() - 3);
    EarlyRead read = ReadEarly(BuildEarlyFile(cut));
    ASSERT_TRUE(read.result.ok);
    EXPECT_EQ(read.result.reportedErrors, std::vector<int>{675});
    ASSERT_EQ(read.design.itemList.size(), 2u);
    EXPECT_EQ(read.design.itemList[0]->name, u"Front Cover");
    EXPECT_EQ(read.design.itemList[1]->name, u"Front Cover (Inside)");

    // A row of no kind skips as many rows as its order number says: past the end it ends the walk, a
    // negative number skips only the row itself.
    struct Case
    {
        int order;
        size_t items;
    };
    for (const Case c : {Case{1000, 1u}, Case{-7, 2u}, Case{0, 2u}, Case{1, 1u}, Case{8, 1u}}) {
        EarlyFile file;
        file.version = 6;
        file.rows.push_back(
            EarlyRow{QStringLiteral("Old"), QStringLiteral("Note"), QStringLiteral("x"), {}, 1, c.order});
        file.AddBoundary(QStringLiteral("Right Tab"), QStringLiteral("Back Cover"));
        read = ReadEarly(BuildEarlyFile(file));
        ASSERT_TRUE(read.result.ok) << c.order;
        EXPECT_TRUE(read.result.reportedErrors.empty()) << c.order;
        // The inside panel is always added; the tab only when the walk reaches its kind row.
        EXPECT_EQ(read.design.itemList.size(), c.items) << c.order;
    }

    // A cover that is neither a case cover nor on the disc sheet makes no item.
    EarlyFile odd;
    odd.version = 6;
    odd.AddDisc(QStringLiteral("Sticker"), QStringLiteral("0"));
    odd.rows[1].value = QStringLiteral("2");
    read = ReadEarly(BuildEarlyFile(odd));
    ASSERT_TRUE(read.result.ok);
    EXPECT_EQ(read.design.FindItem(u"Sticker"), nullptr);
}

TEST(EarlyDamageTest, DamagedTrackListStopsTheAlbumTexts)
{
    EarlyFile file = TextDesign(6);
    file.texts = {
        {QStringLiteral("Artist"), QStringLiteral("Text"), QStringLiteral("Kept")},
        {QStringLiteral("Track List"), QStringLiteral("Tracks"), QStringLiteral("900000000`One`1:00`")},
        {QStringLiteral("Title"), QStringLiteral("Text"), QStringLiteral("Not reached")},
        {QStringLiteral("Text 1"), QStringLiteral("Text"), QStringLiteral("Hello\r\n")},
    };
    const EarlyRead read = ReadEarly(BuildEarlyFile(file));
    ASSERT_TRUE(read.result.ok);
    EXPECT_EQ(read.result.reportedErrors, std::vector<int>{674});
    const CAlbumInfo& album = read.design.albumHeader;
    EXPECT_EQ(album.Field(0, AlbumField::Artist), u"Kept\b");
    EXPECT_TRUE(album.Field(0, AlbumField::TrackList).isEmpty());
    EXPECT_TRUE(album.Field(0, AlbumField::Title).isEmpty());
    // The items still take their texts from the rows.
    EXPECT_EQ(read.design.FindItem(u"Text 1")->Text(), u"Hello\r\b");
}

TEST(EarlyDamageTest, FileWithoutTextRowsReadsAsEarly)
{
    EarlyFile file;
    file.version = -1;
    file.discMode = QStringLiteral("Triple");
    file.AddFrontCover(QStringLiteral("1"), QStringLiteral("2"), true);
    const FileResult<DesignContent> read = ReadFromBytes(BuildEarlyFile(file));
    ASSERT_TRUE(read) << read.error().message.toStdString();
    EXPECT_EQ(read.value().fileVersion, -1);
    EXPECT_EQ(read.value().design.albumHeader.discMode, u"Single");
    EXPECT_EQ(read.value().design.itemList.size(), 2u);
}

} // namespace
} // namespace tvl
