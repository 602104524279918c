#include "SampleDesign.h"
#include "images/CxImage.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace tvl {
namespace {

// A design of the given number of bare text items.
LabelDesign DesignOf(int items)
{
    LabelDesign design;
    for (int i = 0; i < items; ++i) {
        auto item = std::make_unique<CRichChild>();
        item->name = QStringLiteral("Text %1").arg(i);
        item->kind = ItemKind::Text;
        design.InsertItem(std::move(item));
    }
    return design;
}

TEST(DesignLimitsTest, ItemCountBeyondTheLimitIsRefusedBeforeItsItemsAreRead)
{
    LabelDesign largest = DesignOf(static_cast<int>(kMaxDesignItems));
    const FileResult<DesignContent> read = ReadFromBytes(WriteToBytes(largest, SampleState()));
    ASSERT_TRUE(read) << read.error().cause.toStdString();
    EXPECT_EQ(read.value().design.itemList.size(), kMaxDesignItems);

    LabelDesign tooMany = DesignOf(static_cast<int>(kMaxDesignItems) + 1);
    QByteArray bytes = WriteToBytes(tooMany, SampleState());
    // Everything after the count (the word before the first item's class record, FF FF 36 01 0A 00 and
    // the class name) is cut away: the refusal must come from the count alone.
    const qsizetype firstItem = bytes.indexOf("CRichChild") - 6;
    ASSERT_GT(firstItem, 0);
    ASSERT_EQ(bytes.mid(firstItem - 2, 2), QByteArray("\x11\x27", 2));
    const FileResult<DesignContent> refused = ReadFromBytes(bytes.left(firstItem));
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message, u"Error 153 - Step: 7");
    EXPECT_EQ(refused.error().cause, u"the design holds more than 10000 items");

    // The property rows an early design keeps its items in are bounded alike (200000 rows declared).
    QByteArray rows = WriteToBytes(largest, SampleState());
    rows.replace(0, 2, QByteArray("\xff\xff\x40\x0d\x03\x00", 6));
    const FileResult<DesignContent> tooManyRows = ReadFromBytes(rows);
    ASSERT_FALSE(tooManyRows);
    EXPECT_EQ(tooManyRows.error().message, u"Error 153 - Step: 2");
    EXPECT_EQ(tooManyRows.error().cause, u"the placeholder property list holds more than 160000 rows");
}

struct Geometry
{
    int left;
    int top;
    int width;
    int height;
    bool accepted;
};

void PrintTo(const Geometry& g, std::ostream* os)
{
    *os << g.left << ", " << g.top << ", " << g.width << " x " << g.height;
}

class DesignGeometry : public testing::TestWithParam<Geometry>
{
};

TEST_P(DesignGeometry, BeyondAMillionMilsIsRefused)
{
    const Geometry& g = GetParam();
    LabelDesign design = MakeSampleDesign();
    CRichChild& item = *design.FindItem(u"Text 1");
    item.left(g.left);
    item.top(g.top);
    item.width(g.width);
    item.height(g.height);
    const FileResult<DesignContent> read = ReadFromBytes(WriteToBytes(design, SampleState()));
    ASSERT_EQ(read.ok(), g.accepted);
    if (!g.accepted) {
        EXPECT_EQ(read.error().message, u"Error 153 - Step: 7");
        EXPECT_EQ(read.error().cause, u"the item \"Text 1\" lies beyond 1000000 mils");
    }
}

INSTANTIATE_TEST_SUITE_P(All, DesignGeometry,
                         testing::Values(Geometry{-1000000, 1000000, 1000000, -1000000, true},
                                         Geometry{1000001, 0, 100, 100, false},
                                         Geometry{0, -1000001, 100, 100, false},
                                         Geometry{0, 0, 2147483647, 100, false},
                                         Geometry{0, 0, 100, -2147483647 - 1, false}));

// The message the window shows stays; the cause says what the damaged file lacked.
TEST(DesignLimitsTest, ReadFailuresSayWhereTheFileBroke)
{
    LabelDesign design = MakeSampleDesign();
    const QByteArray bytes = WriteToBytes(design, SampleState());
    struct Cut
    {
        qsizetype at;
        const char* message;
        const char* cause;
    };
    const Cut cuts[] = {
        {3, "Error 153 - Step: 2", "the file ends inside the placeholder property list"},
        {bytes.indexOf("The Artist"), "Error 153 - Step: 5", "the file ends inside the album header"},
        {bytes.indexOf("Track List(1)"), "Error 153 - Step: 7", "the file ends inside an item record"},
        {bytes.lastIndexOf("\n0\n") - 20, "Error 153 - Step: 8", "the file ends inside a picture block"},
    };
    for (const Cut& cut : cuts) {
        ASSERT_GT(cut.at, 0) << cut.cause;
        const FileResult<DesignContent> read = ReadFromBytes(bytes.left(cut.at));
        ASSERT_FALSE(read) << cut.cause;
        EXPECT_EQ(read.error().message, QString::fromLatin1(cut.message));
        EXPECT_EQ(read.error().cause, QString::fromLatin1(cut.cause));
    }

    const FileResult<DesignContent> unknown = ReadFromBytes(WriteToBytes(design, SampleState("Triple")));
    ASSERT_FALSE(unknown);
    EXPECT_EQ(unknown.error().cause, u"the header's disc mode or case kind is unknown");

    const FileResult<DesignContent> missing = ReadDesignFile(QStringLiteral("/no/such/design.tvl"));
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().message, u"Error opening file.");
    EXPECT_FALSE(missing.error().cause.isEmpty());
}

// Reading only the headers of the pictures gives what decoding them would, and no pixels.
TEST(DesignLimitsTest, PictureHeadersMatchTheDecodedPictures)
{
    LabelDesign design = MakeSampleDesign();
    const QByteArray bytes = WriteToBytes(design, SampleState());
    const FileResult<DesignContent> decoded = ReadFromBytes(bytes);
    ASSERT_TRUE(decoded);
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    const FileResult<DesignContent> probed = ReadDesign(buffer, PictureReading::HeadersOnly);
    ASSERT_TRUE(probed);
    const auto& headers = probed.value().pictureHeaders;
    ASSERT_EQ(headers.size(), 5u);
    for (const PictureHeader& header : headers) {
        EXPECT_FALSE(header.item->image);
        const CxImage* image = decoded.value().design.FindItem(header.item->name)->image.get();
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(header.type, image->Type()) << header.item->name.toStdString();
        EXPECT_EQ(header.size, QSize(image->Width(), image->Height()));
        EXPECT_GT(header.bytes, 0);
    }
}

} // namespace
} // namespace tvl
