#include "document/clipboard/ClipboardEdits.h"
#include "document/clipboard/ClipboardItem.h"
#include "document/clipboard/ClipboardText.h"
#include "document/design/DesignDocument.h"
#include "images/CxImage.h"
#include "tests/document/files/SampleDesign.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

CRichChild MakeTextual(ItemKind kind, const QString& text)
{
    CRichChild item;
    item.kind = kind;
    item.characters = ToCharacters(text);
    return item;
}

const QString kThreeTracks = QStringLiteral("1. \bOne\b 0:01\b2. \bTwo\b 0:02\b3. \bThree\b 0:03\b");

int IndexOf(const QString& text, const QString& part, int from = 0)
{
    return static_cast<int>(text.indexOf(part, from));
}

TEST(ClipboardTextTest, TrackListsCopyTheSelectedColumnsOfEachTrackOneTrackPerLine)
{
    const CRichChild tracks = MakeTextual(ItemKind::Track, kThreeTracks);
    const int secondTimeEnd = IndexOf(kThreeTracks, QStringLiteral("\b3."));
    const int lastEnd = static_cast<int>(kThreeTracks.size()) - 1;
    struct Case
    {
        int start;
        int end;
        const char* expected;
    };
    const Case cases[] = {
        // Whole first two tracks: the walk goes on to a third track, so the second line ends too.
        {0, secondTimeEnd, "1. One 0:01\r\n2. Two 0:02\r\n"},
        // Titles of all three: numbers and times are left out, the last track ends the walk.
        {IndexOf(kThreeTracks, QStringLiteral("One")), lastEnd - 6, "One\r\nTwo\r\nThree"},
        // Part of one cell: a track that gave characters ends its line while more tracks follow.
        {IndexOf(kThreeTracks, QStringLiteral("ne")), IndexOf(kThreeTracks, QStringLiteral("ne")) + 2,
         "ne\r\n"},
        {IndexOf(kThreeTracks, QStringLiteral("hr")), IndexOf(kThreeTracks, QStringLiteral("hr")) + 2, "hr"},
        // From a title to the last time: titles and times, not the numbers in between.
        {IndexOf(kThreeTracks, QStringLiteral("Two")), lastEnd, "Two 0:02\r\nThree 0:03"},
        {3, 3, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClipboardTextOf(tracks, c.start, c.end), QString::fromUtf8(c.expected)) << c.expected;
}

TEST(ClipboardTextTest, TextsLoseTheirTerminatorsAndBreakLinesWithCrLf)
{
    const QString text = QStringLiteral("東京 \u20ac\rline\b");
    const CRichChild item = MakeTextual(ItemKind::Text, text);
    EXPECT_EQ(ClipboardTextOf(item, 0, static_cast<int>(text.size())), QStringLiteral("東京 \u20ac\r\nline"));
    EXPECT_EQ(ClipboardTextOf(item, 1, 4), QStringLiteral("京 \u20ac"));
    const CRichChild title = MakeTextual(ItemKind::Track, QStringLiteral("1. \bA\rB\b 0:01\b"));
    EXPECT_EQ(ClipboardTextOf(title, 0, 13), QStringLiteral("1. A\r\nB 0:01"));
}

TEST(ClipboardTextTest, PastedTextTurnsTabsAndTerminatorsIntoBlanksAndCrLfIntoBreaks)
{
    EXPECT_EQ(TextFromClipboard(QStringLiteral("a\tb\r\nc\bd\r\n")), QStringLiteral("a b\rc d\r"));
}

class ClipboardEditsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        document.BeginReplace();
        LabelDesign& design = document.MutableDesign();
        design = MakeSampleDesign();
        CRichChild& front = *design.FindItem(u"Front Cover");
        front.left(500);
        front.top(500);
        front.width(4750);
        front.height(4750);
        document.EndReplace(SampleState());
    }

    const CRichChild& Item(const char* name) const
    {
        return *document.design().FindItem(QString::fromLatin1(name));
    }

    std::unique_ptr<CRichChild> RoundTrip(const char* name) const
    {
        return DecodeClipboardItem(EncodeClipboardItem(Item(name)));
    }

    static int NoJitter() { return 500; }

    DesignDocument document;
};

TEST_F(ClipboardEditsTest, ALinkedItemTravelsWithItsTextAndPastesAsAFreeItemInOneUndoStep)
{
    const QByteArray block = EncodeClipboardItem(Item("Artist(1)"));
    EXPECT_EQ(Item("Artist(1)").bLinkText(), 1);
    std::unique_ptr<CRichChild> copy = DecodeClipboardItem(block + QByteArray("trailing bytes"));
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->bLinkText(), 0);
    EXPECT_EQ(copy->Text(), QStringLiteral("The Artist\b"));

    const int steps = document.history().stepCount();
    const CRichChild* pasted = PasteItem(document, std::move(copy), std::nullopt, NoJitter);
    ASSERT_TRUE(pasted);
    EXPECT_EQ(pasted->name, QStringLiteral("Artist(2)"));
    EXPECT_EQ(pasted->bLinkText(), 0);
    EXPECT_EQ(document.selectedName(), QStringLiteral("Artist(2)"));
    EXPECT_EQ(document.design().itemList.back()->name, QStringLiteral("Artist(2)"));
    EXPECT_EQ(document.history().stepCount(), steps + 1);
    EXPECT_TRUE(document.file().modified);

    // A later change of the album field leaves the free copy alone.
    document.SetAlbumField(QStringLiteral("Artist"), QStringLiteral("Other\b"));
    EXPECT_EQ(Item("Artist(2)").Text(), QStringLiteral("The Artist\b"));

    document.Undo();
    document.Undo();
    EXPECT_FALSE(document.design().FindItem(u"Artist(2)"));
}

TEST_F(ClipboardEditsTest, NamesAreMadeUniqueInTheParenthesisedFormAlsoForFreeText)
{
    const CRichChild* first = PasteItem(document, RoundTrip("Text 1"), std::nullopt, NoJitter);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->name, QStringLiteral("Text 1(1)"));
    const CRichChild* second = PasteItem(document, RoundTrip("Text 1(1)"), std::nullopt, NoJitter);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->name, QStringLiteral("Text 1(2)"));
    EXPECT_EQ(second->Text(), Item("Text 1").Text());
    EXPECT_EQ(second->surface, QStringLiteral("Front Cover"));
    EXPECT_EQ(second->pageCode, QStringLiteral("2"));
}

TEST_F(ClipboardEditsTest, NonLatinTextSurvivesTheBlock)
{
    document.ReplaceCharacters(QStringLiteral("Text 1"), 0, 4, QStringLiteral("東京"));
    const std::unique_ptr<CRichChild> copy = RoundTrip("Text 1");
    ASSERT_TRUE(copy);
    EXPECT_TRUE(copy->Text().startsWith(QStringLiteral("東京")));
}

TEST_F(ClipboardEditsTest, TrackListsGetALayoutTheirSheetHas)
{
    struct Case
    {
        const char* surface;
        const char* layout;
        const char* expected;
    };
    const Case cases[] = {
        {"Back Cover", "Top && Bottom", "1 Column"},    {"Back Cover", "2 Columns", "2 Columns"},
        {"Back Cover", "Table Format", "Table Format"}, {"Disc 1", "1 Column", "Bottom"},
        {"Disc 1", "Table Format", "Bottom"},           {"Disc 1", "2 Columns", "2 Columns"},
        {"Disc 1", "Top && Bottom", "Top && Bottom"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<CRichChild> copy = RoundTrip("Track List(1)");
        ASSERT_TRUE(copy);
        copy->textLayout(QString::fromLatin1(c.layout));
        document.ShowSurface(QString::fromLatin1(c.surface));
        const CRichChild* pasted = PasteItem(document, std::move(copy), std::nullopt, NoJitter);
        ASSERT_TRUE(pasted);
        EXPECT_EQ(pasted->textLayout(), QString::fromLatin1(c.expected)) << c.surface << " " << c.layout;
        EXPECT_EQ(pasted->surface, QString::fromLatin1(c.surface));
    }
}

TEST_F(ClipboardEditsTest, APastedItemIsCentredOnTheContextPointOnlyWhenThatLiesOnTheSurface)
{
    const QRect cover = Item("Front Cover").Rect();
    const QPoint inside = cover.center();
    const CRichChild* centred = PasteItem(document, RoundTrip("Text 1"), inside, NoJitter);
    ASSERT_TRUE(centred);
    EXPECT_EQ(centred->Rect(), QRect(inside.x() - 1500, inside.y() - 200, 3000, 400));

    const QPoint outside(cover.left() + cover.width(), cover.top());
    const CRichChild* placed = PasteItem(document, RoundTrip("Text 1"), outside, NoJitter);
    ASSERT_TRUE(placed);
    EXPECT_NE(placed->Rect().center(), outside);
    EXPECT_TRUE(cover.intersects(placed->Rect()));
}

TEST_F(ClipboardEditsTest, TruncatedOrHostileBlocksAreRefused)
{
    const QByteArray block = EncodeClipboardItem(Item("Track List(1)"));
    ASSERT_TRUE(DecodeClipboardItem(block));
    for (qsizetype size = 0; size < block.size(); ++size)
        EXPECT_FALSE(DecodeClipboardItem(block.left(size))) << size;

    // Pictures, surfaces and linked items are never written, so a block that holds one is refused.
    EXPECT_TRUE(EncodeClipboardItem(Item("Image(2)")).isEmpty());
    CRichChild cover = Item("Front Cover");
    EXPECT_FALSE(DecodeClipboardItem(EncodeClipboardItem(cover)));
    CRichChild huge = Item("Text 1");
    huge.width(2'000'000'000);
    EXPECT_FALSE(DecodeClipboardItem(EncodeClipboardItem(huge)));
}

TEST_F(ClipboardEditsTest, APictureIsFlattenedOverWhiteAndFittedTo1000By1000)
{
    auto picture = std::make_shared<CxImage>();
    QImage pixels(200, 100, QImage::Format_ARGB32);
    pixels.fill(qRgba(0, 0, 0, 0));
    ASSERT_TRUE(picture->FromBitmap(pixels));
    ASSERT_TRUE(picture->HasAlpha());
    const int steps = document.history().stepCount();
    const CRichChild* pasted = PastePicture(document, picture, std::nullopt, NoJitter);
    ASSERT_TRUE(pasted);
    EXPECT_EQ(pasted->name, QStringLiteral("Image(7)"));
    EXPECT_EQ(pasted->kind, ItemKind::Image);
    EXPECT_EQ(QSize(pasted->width(), pasted->height()), QSize(1000, 500));
    EXPECT_EQ(pasted->bAspectRatio(), 1);
    EXPECT_EQ(pasted->bBackground(), 0);
    EXPECT_TRUE(pasted->imagePath.isEmpty());
    EXPECT_FALSE(pasted->image->HasAlpha());
    EXPECT_EQ(pasted->image->PixelColor(5, 5), qRgb(255, 255, 255));
    EXPECT_EQ(document.selectedName(), QStringLiteral("Image(7)"));
    EXPECT_EQ(document.history().stepCount(), steps + 1);
    EXPECT_TRUE(document.file().modified);

    document.Undo();
    EXPECT_FALSE(document.design().FindItem(u"Image(7)"));
    document.Redo();
    ASSERT_TRUE(document.design().FindItem(u"Image(7)"));
    EXPECT_TRUE(Item("Image(7)").image);
}

TEST_F(ClipboardEditsTest, DeleteObjectDeletesTheSelectedItemSelectsTheSurfaceAndUndoes)
{
    const int index = document.design().IndexOf(u"Image(2)");
    document.Select(QStringLiteral("Image(2)"));
    ASSERT_TRUE(DeleteSelected(document));
    EXPECT_FALSE(document.design().FindItem(u"Image(2)"));
    EXPECT_TRUE(document.design().FindItem(u"Image(1)"));
    EXPECT_EQ(document.selectedName(), QStringLiteral("Front Cover"));
    EXPECT_TRUE(document.file().modified);

    document.Undo();
    EXPECT_EQ(document.design().IndexOf(u"Image(2)"), index);
    EXPECT_TRUE(Item("Image(2)").image);

    for (const char* structural : {"Front Cover", "Front Cover (Inside)", "Page 1"}) {
        document.Select(QString::fromLatin1(structural));
        EXPECT_FALSE(DeleteSelected(document)) << structural;
        EXPECT_TRUE(document.design().FindItem(QString::fromLatin1(structural)));
    }
}

} // namespace
} // namespace tvl
