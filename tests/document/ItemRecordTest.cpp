#include "tests/document/ArchiveBytes.h"

#include "document/archive/ObjectArray.h"
#include "document/model/CAlbumInfo.h"
#include "document/model/CRichChild.h"
#include "document/model/TextEncoding.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

using test::Loaded;
using test::Stored;

const QString kEnd(QChar(0x08));

std::unique_ptr<CRichChild> TextItem(const QString& name, const QString& text)
{
    auto item = std::make_unique<CRichChild>();
    item->name = name;
    item->kind = ItemKind::Text;
    item->pageCode = QStringLiteral("2");
    item->surface = QStringLiteral("Front Cover");
    item->left(100);
    item->top(200);
    item->width(3000);
    item->height(800);
    item->angle(QStringLiteral("90 degrees"));
    item->wrapStyle(QStringLiteral("Word-Wrap"));
    item->alignment(QStringLiteral("Center"));
    item->bAutoFit(1);
    item->textMargin(50);
    item->ReplaceText(text);
    item->fonts[0] = ItemFont{QStringLiteral("Arial"), 400, 700, 1};
    item->colors[0] = 0x00336699;
    return item;
}

TEST(FontAndColorStrings, EncodeTheStoredForms)
{
    std::vector<std::optional<ItemFont>> fonts(3);
    fonts[0] = ItemFont{QStringLiteral("Arial"), 400, 400, 0};
    fonts[2] = ItemFont{QStringLiteral("Times New Roman"), 125, 700, 1};
    EXPECT_EQ(FontsToString(fonts), u"0\bArial\b400\b400\b0\b2\bTimes New Roman\b125\b700\b1\b");

    std::vector<std::optional<ItemColor>> colors(2);
    colors[0] = 0x000000;
    colors[1] = 0x00FF8001; // blue 255, green 128, red 1
    EXPECT_EQ(ColorsToString(colors), u"0\b000000000\b1\b001128255\b");
}

TEST(FontAndColorStrings, DecodingIgnoresSlotsOutsideTheTextAndSurvivesDamage)
{
    std::vector<std::optional<ItemFont>> fonts(5);
    DecodeFonts(QStringLiteral("7\bArial\b400\b400\b0\b1\bCourier\b-3\bx\b1\b3\bCut"), fonts);
    EXPECT_FALSE(fonts[0]);
    ASSERT_TRUE(fonts[1]);
    EXPECT_EQ(fonts[1]->faceName, u"Courier");
    EXPECT_EQ(fonts[1]->height, ItemFont::kMinHeight);
    EXPECT_EQ(fonts[1]->weight, 400);
    EXPECT_EQ(fonts[1]->italic, 1);
    EXPECT_FALSE(fonts[3]);

    std::vector<std::optional<ItemColor>> colors(2);
    DecodeColors(QStringLiteral("1\b255000128\b9\b000000000\b0\b12"), colors);
    EXPECT_EQ(colors[1], ItemColor{0x008000FF});
    EXPECT_FALSE(colors[0]);
}

TEST(ItemRecord, TextItemRoundTripsEveryStoredField)
{
    auto item = TextItem(QStringLiteral("Text 1"), QStringLiteral("Hello\rW\u00F6rld \u263A") + kEnd);
    item->fonts[6] = ItemFont{QStringLiteral("Liberation Serif"), 200, 400, 0};
    item->underlines[2] = 1;
    const QByteArray bytes = Stored([&](CArchive& ar) { ar.PutObject(item.get()); });

    Loaded(bytes, [&](CArchive& ar) {
        const auto* loaded = static_cast<CRichChild*>(ar.GetObject(&CRichChild::Class()));
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(loaded->name, item->name);
        EXPECT_EQ(loaded->pageCode, u"2");
        EXPECT_EQ(loaded->surface, u"Front Cover");
        EXPECT_EQ(loaded->Rect(), item->Rect());
        EXPECT_EQ(loaded->angle(), u"90 degrees");
        EXPECT_EQ(loaded->wrapStyle(), u"Word-Wrap");
        EXPECT_EQ(loaded->alignment(), u"Center");
        EXPECT_EQ(loaded->bAutoFit(), 1);
        EXPECT_EQ(loaded->textMargin(), 50);
        EXPECT_EQ(loaded->characters, item->characters);
        EXPECT_EQ(loaded->fonts, item->fonts);
        EXPECT_EQ(loaded->colors, item->colors);
        EXPECT_EQ(loaded->underlines, item->underlines);
    });
}

TEST(ItemRecord, LinkedTextComesFromTheAlbumAndOldFormsAreUpgraded)
{
    auto item = TextItem(QStringLiteral("Artist(1)"), QStringLiteral("Old") + kEnd);
    item->kind = ItemKind::Track;
    item->bLinkText(1);
    item->trackNumbers(QStringLiteral("Track Numbers + Track Times"));
    item->textLayout(QStringLiteral("Top + Bottom"));
    const QByteArray bytes = Stored([&](CArchive& ar) { ar.PutObject(item.get()); });
    EXPECT_FALSE(bytes.contains("Old"));

    CAlbumInfo album;
    album.Field(0, AlbumField::Artist) = QStringLiteral("The Band") + kEnd;
    Loaded(bytes, [&](CArchive& ar) {
        ar.SetAlbumContext(&album);
        const auto* loaded = static_cast<CRichChild*>(ar.GetObject(&CRichChild::Class()));
        EXPECT_EQ(loaded->Text(), album.Field(0, AlbumField::Artist));
        EXPECT_EQ(loaded->trackNumbers(), u"Track Numbers && Times");
        EXPECT_EQ(loaded->textLayout(), u"Top && Bottom");
        ASSERT_EQ(loaded->fonts.size(), loaded->characters.size());
        EXPECT_EQ(loaded->fonts[0]->faceName, u"Arial");
        EXPECT_EQ(loaded->underlines.size(), loaded->characters.size());
    });
}

TEST(ItemRecord, CoverKeepsOnlyItsColourAndImageItemsNoText)
{
    CRichChild cover;
    cover.name = cover.surface = QStringLiteral("Disc 1");
    cover.kind = ItemKind::Cover;
    cover.colors = {ItemColor{0x00FFFFFF}};
    CRichChild image;
    image.name = QStringLiteral("Image(1)");
    image.kind = ItemKind::Image;
    image.bBackground(1);
    image.characters = ToCharacters(u"ignored");
    const QByteArray bytes = Stored([&](CArchive& ar) {
        ar.PutObject(&cover);
        ar.PutObject(&image);
    });
    EXPECT_FALSE(bytes.contains("ignored"));
    Loaded(bytes, [](CArchive& ar) {
        const auto* loadedCover = static_cast<CRichChild*>(ar.GetObject());
        const auto* loadedImage = static_cast<CRichChild*>(ar.GetObject());
        EXPECT_EQ(loadedCover->colors, (std::vector<std::optional<ItemColor>>{0x00FFFFFF}));
        EXPECT_TRUE(loadedImage->characters.empty());
        EXPECT_EQ(loadedImage->bBackground(), 1);
    });
}

TEST(AlbumHeader, StoredOrderAndTheVersion300Form)
{
    CAlbumInfo album;
    album.currentPageCode = QStringLiteral("1");
    album.currentSurface = QStringLiteral("Disc 1");
    album.discMode = QStringLiteral("Double");
    album.caseKind = QStringLiteral("DVD");
    album.Field(0, AlbumField::Artist) = QStringLiteral("A1");
    album.Field(1, AlbumField::Artist) = QStringLiteral("A2");
    album.Field(1, AlbumField::Genre) = QStringLiteral("G2");
    const QByteArray bytes = Stored([&](CArchive& ar) { album.Serialize(ar); });
    EXPECT_TRUE(bytes.startsWith(test::Bytes({1, '1', 6}) + "Disc 1" + test::Bytes({6}) + "Double" +
                                 test::Bytes({2}) + "A1" + test::Bytes({2}) + "A2"));
    EXPECT_TRUE(bytes.endsWith(test::Bytes({2}) + "G2" + test::Bytes({3}) + "DVD"));

    CAlbumInfo old;
    old.caseKind = QStringLiteral("Jewel");
    old.headerWithoutCaseKind = true;
    Loaded(bytes.left(bytes.size() - 4), [&](CArchive& ar) { old.Serialize(ar); });
    EXPECT_EQ(old.caseKind, u"Jewel");
    EXPECT_EQ(old.Field(1, AlbumField::Genre), u"G2");
}

} // namespace
} // namespace tvl
