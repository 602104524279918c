#include "EarlyFileBuilder.h"
#include "SampleDesign.h"
#include "document/files/early/EarlyRows.h"
#include "images/CxImage.h"

#include <gtest/gtest.h>

namespace tvl {
using namespace Qt::StringLiterals;
namespace {

const QString end(QChar(static_cast<char16_t>(kCellEnd)));

const CRichChild& Item(const LabelDesign& design, const char* name)
{
    static const CRichChild missing;
    const CRichChild* item = design.FindItem(QString::fromLatin1(name));
    EXPECT_NE(item, nullptr) << name;
    return item ? *item : missing;
}

std::vector<QString> Names(const LabelDesign& design)
{
    std::vector<QString> names;
    for (const auto& item : design.itemList)
        names.push_back(item->name);
    return names;
}

// A version-6 design with every kind of item, two pictures and the album texts.
EarlyFile FullDesign()
{
    EarlyFile file;
    file.version = 6;
    file.discMode = QStringLiteral("Double");
    file.imageSerial = 7;
    file.AddPage(QStringLiteral("Page 1"), QStringLiteral("1"), QStringLiteral("8.5"), QStringLiteral("11"));
    file.AddPage(QStringLiteral("Page 2"), QStringLiteral("2"), QStringLiteral("8.5"), QStringLiteral("11"));
    file.AddFrontCover(QStringLiteral("4.75"), QStringLiteral("4.724"), false);
    file.AddBackCover(QStringLiteral("0.25"));
    file.AddDisc(QStringLiteral("Disc 1"), QStringLiteral("0.1"));
    file.AddDisc(QStringLiteral("Disc 2"), QStringLiteral("0.075"));
    file.AddBoundary(QStringLiteral("Left Tab"), QStringLiteral("Back Cover"));
    file.AddText(QStringLiteral("Text 1"), QStringLiteral("Front Cover"), QStringLiteral("Top Left"),
                 QStringLiteral("90 degrees"));
    file.AddText(QStringLiteral("Artist(1)"), QStringLiteral("Front Cover"), QStringLiteral("Top Left"),
                 QStringLiteral("0 degrees"), QStringLiteral("No"));
    file.AddTrack(QStringLiteral("Track List(1)"), QStringLiteral("1"), QStringLiteral("Yes"),
                  QStringLiteral("No"), QStringLiteral("Yes"), QStringLiteral("No"));
    file.AddTrack(QStringLiteral("Track List(2)"), QStringLiteral("3"), QStringLiteral("No"),
                  QStringLiteral("Yes"), QStringLiteral("Yes"), QStringLiteral("Yes"));
    file.AddImage(QStringLiteral("Image(1)"), QStringLiteral("2"), QStringLiteral("Front Cover"), 0);
    file.AddImage(QStringLiteral("Image(2)"), QStringLiteral("1"), QStringLiteral("Front Cover"), 1,
                  QStringLiteral("No"));
    const size_t background = file.AddImage(QStringLiteral("Image(3)"), QStringLiteral("Background"),
                                            QStringLiteral("Front Cover"), 0);
    file.rows[background + 2].choices = QStringLiteral("Front Cover (Inside)");
    file.AddImage(QStringLiteral("Image(4)"), QStringLiteral("3"), QStringLiteral("Front Cover"), 2);
    file.texts = {
        {QStringLiteral("Artist"), QStringLiteral("Text"), QStringLiteral("The Band")},
        {QStringLiteral("Title"), QStringLiteral("Text"), QStringLiteral("Two\r\nLines")},
        {QStringLiteral("Track List"), QStringLiteral("Tracks"), QStringLiteral("2`Intro`1:05`Outro`12:10`")},
        {QStringLiteral("Text 1"), QStringLiteral("Text"), QStringLiteral("Line one\r\nLine two")},
    };
    file.pictures = {{CXIMAGE_FORMAT_JPG, 3, EncodedPicture(CXIMAGE_FORMAT_JPG)},
                     {CXIMAGE_FORMAT_PNG, 3, EncodedPicture(CXIMAGE_FORMAT_PNG, 3, 2)}};
    return file;
}

TEST(EarlyDesignTest, FullVersion6DesignReadsAsCurrentItems)
{
    const EarlyFile file = FullDesign();
    const QByteArray jpeg = file.pictures[0].bytes;
    FileResult<DesignContent> read = ReadFromBytes(BuildEarlyFile(file));
    ASSERT_TRUE(read) << read.error().message.toStdString();
    const DesignContent& content = read.value();
    const LabelDesign& design = content.design;
    EXPECT_EQ(content.fileVersion, 6);
    EXPECT_TRUE(content.reportedErrors.empty());

    const CAlbumInfo& header = design.albumHeader;
    EXPECT_EQ(header.currentPageCode, u"2");
    EXPECT_EQ(header.currentSurface, u"Front Cover");
    EXPECT_EQ(header.discMode, u"Double");
    EXPECT_EQ(header.caseKind, u"Jewel");
    EXPECT_EQ(header.legacyImageSerial, 7);
    EXPECT_EQ(header.Field(0, AlbumField::Artist), u"The Band"_s + end);
    EXPECT_EQ(header.Field(0, AlbumField::Title), u"Two\rLines"_s + end);
    EXPECT_EQ(header.Field(0, AlbumField::TrackList), u"1. "_s + end + u"Intro"_s + end + u" 1:05"_s + end +
                                                          u"2. "_s + end + u"Outro"_s + end + u" 12:10"_s +
                                                          end);

    // Backgrounds go in front of every picture of their surface, other pictures by their number; the
    // picture index beyond the two stored pictures drops Image(4).
    const std::vector<QString> expectedOrder = {
        u"Page 1"_s,        u"Page 2"_s,   u"Front Cover"_s, u"Back Cover"_s, u"Disc 1"_s,
        u"Disc 2"_s,        u"Left Tab"_s, u"Text 1"_s,      u"Artist(1)"_s,  u"Track List(1)"_s,
        u"Track List(2)"_s, u"Image(3)"_s, u"Image(2)"_s,    u"Image(1)"_s,   u"Front Cover (Inside)"_s,
    };
    EXPECT_EQ(Names(design), expectedOrder);

    const CRichChild& page = Item(design, "Page 2");
    EXPECT_EQ(page.kind, ItemKind::Page);
    EXPECT_EQ(page.pageCode, u"2");
    EXPECT_TRUE(page.surface.isEmpty());
    EXPECT_EQ(page.Rect(), QRect(0, 0, 8500, 11000));

    const CRichChild& front = Item(design, "Front Cover");
    EXPECT_EQ(front.surface, u"Front Cover");
    // Single precision truncates 4.724 to 4723.
    EXPECT_EQ(front.Rect(), QRect(4750, 500, 4724 - 1, 4724 - 1));
    EXPECT_EQ(front.coverFolded, 0);
    EXPECT_EQ(front.colors, (std::vector<std::optional<ItemColor>>{0x00C8FFFF}));
    EXPECT_EQ(Item(design, "Back Cover").coverSpine, 250);
    EXPECT_EQ(Item(design, "Back Cover").height(), 4625);

    const CRichChild& disc = Item(design, "Disc 1");
    EXPECT_EQ(disc.left(), 1937);
    EXPECT_EQ(disc.width(), 4625);
    EXPECT_EQ(disc.height(), 1600);
    EXPECT_EQ(disc.textMargin(), 100);
    EXPECT_EQ(disc.colors, (std::vector<std::optional<ItemColor>>{0x00FF0000}));
    EXPECT_EQ(Item(design, "Disc 2").textMargin(), 50);

    const CRichChild& tab = Item(design, "Left Tab");
    EXPECT_EQ(tab.kind, ItemKind::Boundary);
    EXPECT_EQ(tab.surface, u"Back Cover");
    EXPECT_EQ(tab.colors, (std::vector<std::optional<ItemColor>>{0x00030201}));

    // The unfolded cover gets its inside panel directly left of it.
    const CRichChild& inside = Item(design, "Front Cover (Inside)");
    EXPECT_EQ(inside.kind, ItemKind::Boundary);
    EXPECT_EQ(inside.pageCode, u"2");
    EXPECT_EQ(inside.surface, u"Front Cover");
    EXPECT_EQ(inside.Rect(), QRect(4750 - 4723, 500, 4723, 4723));
    EXPECT_EQ(inside.colors, (std::vector<std::optional<ItemColor>>{0x00FFFFFF}));

    const CRichChild& text = Item(design, "Text 1");
    EXPECT_EQ(text.Text(), u"Line one\rLine two"_s + end);
    EXPECT_EQ(text.alignment(), u"Right");
    EXPECT_EQ(text.angle(), u"90 degrees");
    EXPECT_EQ(text.wrapStyle(), u"Multi-Line");
    EXPECT_EQ(text.bLinkText(), 0);
    EXPECT_EQ(text.bAutoFit(), 1);
    EXPECT_EQ(text.Rect(), QRect(1500, 1000, 3000, 500));
    ASSERT_EQ(text.fonts.size(), text.characters.size());
    EXPECT_EQ(text.fonts[0], (ItemFont{QStringLiteral("Arial"), 180, 700, 1}));
    EXPECT_EQ(text.colors[0], 0x001E140Au);
    EXPECT_EQ(text.fonts[1], std::nullopt);
    EXPECT_EQ(text.underlines, std::vector<std::uint16_t>(text.characters.size(), 0));

    const CRichChild& artist = Item(design, "Artist(1)");
    EXPECT_EQ(artist.alignment(), u"Left");
    EXPECT_EQ(artist.wrapStyle(), u"Single-Line");
    EXPECT_EQ(artist.bLinkText(), 1);
    EXPECT_EQ(artist.Text(), u"The Band"_s + end);

    const CRichChild& discTracks = Item(design, "Track List(1)");
    EXPECT_EQ(discTracks.Text(), header.Field(0, AlbumField::TrackList));
    EXPECT_EQ(discTracks.angle(), u"0 degrees");
    EXPECT_EQ(discTracks.alignment(), u"Right");
    EXPECT_EQ(discTracks.trackNumbers(), u"Track Numbers");
    EXPECT_EQ(discTracks.textLayout(), u"Top && Bottom");
    EXPECT_EQ(discTracks.wrapStyle(), u"Multi-Line");
    EXPECT_EQ(discTracks.bLinkText(), 1);
    EXPECT_EQ(discTracks.fonts[0], (ItemFont{QStringLiteral("Verdana"), 400, 400, 0}));
    const CRichChild& caseTracks = Item(design, "Track List(2)");
    EXPECT_EQ(caseTracks.trackNumbers(), u"Track Times");
    EXPECT_EQ(caseTracks.textLayout(), u"Table Format");
    EXPECT_EQ(caseTracks.wrapStyle(), u"Track-Wrap");

    // Picture numbers stay in bAutoFit; the shared index gives the background its own copy.
    const CRichChild& first = Item(design, "Image(1)");
    const CRichChild& second = Item(design, "Image(2)");
    const CRichChild& backdrop = Item(design, "Image(3)");
    EXPECT_EQ(first.bAutoFit(), 2);
    EXPECT_EQ(first.bBackground(), 0);
    EXPECT_EQ(first.bAspectRatio(), 1);
    EXPECT_EQ(second.bAutoFit(), 1);
    EXPECT_EQ(second.bAspectRatio(), 0);
    EXPECT_EQ(backdrop.bBackground(), 2);
    EXPECT_EQ(backdrop.bAutoFit(), 0);
    EXPECT_EQ(first.Rect(), QRect(1250, 750, 2000, 1500));
    ASSERT_NE(first.image, nullptr);
    ASSERT_NE(backdrop.image, nullptr);
    ASSERT_NE(second.image, nullptr);
    EXPECT_NE(first.image, backdrop.image);
    EXPECT_EQ(first.image->Type(), CXIMAGE_FORMAT_JPG);
    EXPECT_EQ(backdrop.image->Type(), CXIMAGE_FORMAT_JPG);
    EXPECT_EQ(backdrop.image->Width(), first.image->Width());
    EXPECT_EQ(first.image->SourceBytes(), jpeg);
    EXPECT_EQ(second.image->Type(), CXIMAGE_FORMAT_PNG);
    EXPECT_EQ(second.image->Width(), 3);
}

TEST(EarlyDesignTest, SavedAsVersion310AndReadBack)
{
    FileResult<DesignContent> early = ReadFromBytes(BuildEarlyFile(FullDesign()));
    ASSERT_TRUE(early);
    LabelDesign& design = early.value().design;
    const CAlbumInfo& header = design.albumHeader;
    const LiveDesignState live{header.currentSurface, header.currentPageCode, header.discMode,
                               header.caseKind};
    const QByteArray current = WriteToBytes(design, live);

    FileResult<DesignContent> read = ReadFromBytes(current);
    ASSERT_TRUE(read) << read.error().message.toStdString();
    EXPECT_EQ(read.value().fileVersion, 310);
    const LabelDesign& again = read.value().design;
    EXPECT_EQ(again.albumHeader.discs, header.discs);
    EXPECT_EQ(again.albumHeader.discMode, u"Double");
    ASSERT_EQ(Names(again), Names(design));
    for (size_t i = 0; i < design.itemList.size(); ++i) {
        const CRichChild& before = *design.itemList[i];
        const CRichChild& after = *again.itemList[i];
        const std::string name = before.name.toStdString();
        EXPECT_EQ(after.KindName(), before.KindName()) << name;
        EXPECT_EQ(after.Rect(), before.Rect()) << name;
        EXPECT_EQ(after.Text(), before.Text()) << name;
        EXPECT_EQ(after.fonts, before.fonts) << name;
        EXPECT_EQ(after.colors, before.colors) << name;
        EXPECT_EQ(after.alignment(), before.alignment()) << name;
        EXPECT_EQ(after.wrapStyle(), before.wrapStyle()) << name;
        EXPECT_EQ(after.textLayout(), before.textLayout()) << name;
        EXPECT_EQ(after.bAutoFit(), before.bAutoFit()) << name;
        EXPECT_EQ(after.bBackground(), before.bBackground()) << name;
        EXPECT_EQ(after.image != nullptr, before.image != nullptr) << name;
    }
    EXPECT_EQ(Item(again, "Image(1)").image->SourceBytes(), Item(design, "Image(1)").image->SourceBytes());
    // Written once more, the current design gives the same bytes.
    LabelDesign& reread = read.value().design;
    EXPECT_EQ(WriteToBytes(reread, live), current);
}

TEST(EarlyDesignTest, InsidePanelOfAFoldedCoverIsItsLeftHalf)
{
    EarlyFile file;
    file.version = 5;
    file.AddFrontCover(QStringLiteral("0.5"), QStringLiteral("9.525"), true);
    FileResult<DesignContent> read = ReadFromBytes(BuildEarlyFile(file));
    ASSERT_TRUE(read);
    EXPECT_EQ(Item(read.value().design, "Front Cover").coverFolded, 1);
    EXPECT_EQ(Item(read.value().design, "Front Cover (Inside)").Rect(), QRect(500, 500, 9524 / 2, 4723));

    // A design that has its inside panel keeps it as it is.
    file.AddBoundary(QStringLiteral("Front Cover (Inside)"), QStringLiteral("Front Cover"));
    read = ReadFromBytes(BuildEarlyFile(file));
    ASSERT_TRUE(read);
    EXPECT_EQ(Names(read.value().design),
              (std::vector<QString>{u"Front Cover"_s, u"Front Cover (Inside)"_s}));
    EXPECT_EQ(Item(read.value().design, "Front Cover (Inside)").Rect(), QRect(1000, 500, 2500, 4723));
}

// A version-1 design: pictures with type tags, and rows that the later versions changed.
TEST(EarlyDesignTest, Version1PicturesAndRowsAreUpgraded)
{
    EarlyFile file;
    file.version = 1;
    file.texts = {{QStringLiteral("Title"), QStringLiteral("Text"), QStringLiteral("Old")}};
    const QByteArray jpeg = EncodedPicture(CXIMAGE_FORMAT_JPG, 5, 5);
    file.pictures = {
        {0, 2, EncodedPicture(CXIMAGE_FORMAT_BMP, 6, 4)},  // 16-bit count
        {0, 4, EncodedPicture(CXIMAGE_FORMAT_ICO, 8, 8)},  // 32-bit count
        {0, 6, jpeg},                                      // 64-bit count
        {0, 17, EncodedPicture(CXIMAGE_FORMAT_BMP, 2, 2)}, // byte count
    };
    ASSERT_LT(file.pictures[3].bytes.size(), 256);
    file.AddImage(QStringLiteral("Image(1)"), QString(), QStringLiteral("Front Cover"), 0);
    file.AddImage(QStringLiteral("Image(2)"), QStringLiteral("Background"), QStringLiteral("Back Cover"), 1,
                  QStringLiteral("No"));
    file.AddImage(QStringLiteral("Image(3)"), QString(), QStringLiteral("Front Cover"), 2,
                  QStringLiteral("No"));
    file.AddImage(QStringLiteral("Image(4)"), QString(), QStringLiteral("Back Cover"), 3);
    file.AddText(QStringLiteral("Title(1)"), QStringLiteral("Back Cover"), QStringLiteral("Top"),
                 QStringLiteral("180 degrees"));
    file.AddText(QStringLiteral("Text 1"), QStringLiteral("Disc 1"), QStringLiteral("Top"),
                 QStringLiteral("180 degrees"));
    const size_t track =
        file.AddTrack(QStringLiteral("Track List(1)"), QStringLiteral("2"), QStringLiteral("No"),
                      QStringLiteral("No"), QStringLiteral("No"), QStringLiteral("Yes"));
    file.rows[track + 14].flag = 0;

    FileResult<DesignContent> read = ReadFromBytes(BuildEarlyFile(file));
    ASSERT_TRUE(read) << read.error().message.toStdString();
    const LabelDesign& design = read.value().design;
    EXPECT_EQ(read.value().fileVersion, 1);

    const CRichChild& bmp = Item(design, "Image(1)");
    ASSERT_NE(bmp.image, nullptr);
    EXPECT_EQ(bmp.image->Type(), CXIMAGE_FORMAT_BMP);
    EXPECT_EQ(bmp.image->Width(), 6);
    const CRichChild& icon = Item(design, "Image(2)");
    ASSERT_NE(icon.image, nullptr);
    EXPECT_EQ(icon.image->Type(), CXIMAGE_FORMAT_ICO);
    const CRichChild& photo = Item(design, "Image(3)");
    ASSERT_NE(photo.image, nullptr);
    EXPECT_EQ(photo.image->Type(), CXIMAGE_FORMAT_JPG);
    EXPECT_EQ(photo.image->SourceBytes(), jpeg);
    ASSERT_NE(Item(design, "Image(4)").image, nullptr);
    EXPECT_EQ(Item(design, "Image(4)").image->Width(), 2);

    // Pictures were numbered in row order, backgrounds excepted; the counter ends at the last number.
    EXPECT_EQ(bmp.bAutoFit(), 1);
    EXPECT_EQ(photo.bAutoFit(), 2);
    EXPECT_EQ(Item(design, "Image(4)").bAutoFit(), 3);
    EXPECT_EQ(icon.bBackground(), 1);
    EXPECT_EQ(icon.bAutoFit(), 0);
    EXPECT_EQ(design.albumHeader.legacyImageSerial, 3);
    EXPECT_EQ(bmp.bAspectRatio(), 1);
    EXPECT_EQ(photo.bAspectRatio(), 0);

    // 180 degrees became 270 off the discs only.
    EXPECT_EQ(Item(design, "Title(1)").angle(), u"270 degrees");
    EXPECT_EQ(Item(design, "Title(1)").alignment(), u"Left");
    EXPECT_EQ(Item(design, "Text 1").angle(), u"180 degrees");
    EXPECT_EQ(Item(design, "Text 1").alignment(), u"Center");
    // The fixed "Wrap Tracks" row was reset to "No".
    EXPECT_EQ(Item(design, "Track List(1)").wrapStyle(), u"Multi-Line");
    EXPECT_EQ(Item(design, "Track List(1)").textLayout(), u"1 Column");
    EXPECT_EQ(Item(design, "Track List(1)").trackNumbers(), u"Text Only");
}

TEST(EarlyDesignTest, EachVersionReadsThroughItsNormalisations)
{
    struct Expected
    {
        int version;
        const char16_t* angle;
        const char16_t* alignment;
        const char16_t* wrap;
        int pictureNumber;
        int counter;
    };
    const Expected table[] = {
        {1, u"270 degrees", u"Left", u"Multi-Line", 1, 1},
        {3, u"180 degrees", u"Right", u"Multi-Line", 1, 1},
        {5, u"180 degrees", u"Right", u"Track-Wrap", 4, 9},
        {6, u"180 degrees", u"Right", u"Track-Wrap", 4, 9},
    };
    for (const Expected& expected : table) {
        EarlyFile file;
        file.version = expected.version;
        file.imageSerial = 9;
        file.texts = {{QStringLiteral("Title"), QStringLiteral("Text"), QStringLiteral("Name")}};
        file.AddText(QStringLiteral("Title(1)"), QStringLiteral("Back Cover"), QStringLiteral("Top Left"),
                     QStringLiteral("180 degrees"));
        const size_t track =
            file.AddTrack(QStringLiteral("Track List(1)"), QStringLiteral("3"), QStringLiteral("Yes"),
                          QStringLiteral("Yes"), QStringLiteral("No"), QStringLiteral("Yes"));
        file.rows[track + 14].flag = 0;
        file.AddImage(QStringLiteral("Image(1)"), expected.version < 5 ? QString() : QStringLiteral("4"),
                      QStringLiteral("Back Cover"), 0);
        file.pictures = {{CXIMAGE_FORMAT_BMP, 3, EncodedPicture(CXIMAGE_FORMAT_BMP)}};

        const FileResult<DesignContent> read = ReadFromBytes(BuildEarlyFile(file));
        const std::string version = std::to_string(expected.version);
        ASSERT_TRUE(read) << version;
        const LabelDesign& design = read.value().design;
        EXPECT_EQ(read.value().fileVersion, expected.version);
        EXPECT_EQ(Item(design, "Title(1)").angle(), QString::fromUtf16(expected.angle)) << version;
        EXPECT_EQ(Item(design, "Title(1)").alignment(), QString::fromUtf16(expected.alignment)) << version;
        EXPECT_EQ(Item(design, "Title(1)").Text(), u"Name"_s + end) << version;
        EXPECT_EQ(Item(design, "Track List(1)").wrapStyle(), QString::fromUtf16(expected.wrap)) << version;
        EXPECT_EQ(Item(design, "Track List(1)").trackNumbers(), u"Track Numbers && Times") << version;
        EXPECT_EQ(Item(design, "Image(1)").bAutoFit(), expected.pictureNumber) << version;
        EXPECT_EQ(Item(design, "Image(1)").bAspectRatio(), 1) << version;
        ASSERT_NE(Item(design, "Image(1)").image, nullptr) << version;
        EXPECT_EQ(Item(design, "Image(1)").image->Type(), CXIMAGE_FORMAT_BMP) << version;
        EXPECT_EQ(design.albumHeader.legacyImageSerial, expected.counter) << version;
    }
}

TEST(EarlyDesignTest, NormalisationsApplyByVersion)
{
    struct Expected
    {
        int version;
        const char16_t* angle;
        const char16_t* wrap;
        int wrapFlag;
        int albumWidthFlag;
        int discLeftFlag;
        size_t rowCount;
    };
    const Expected table[] = {
        {1, u"270 degrees", u"No", 1, 0, 0, 17},  {2, u"270 degrees", u"No", 1, 0, 0, 17},
        {3, u"180 degrees", u"No", 1, 0, 0, 17},  {4, u"180 degrees", u"Yes", 0, 0, 0, 17},
        {5, u"180 degrees", u"Yes", 0, 1, 0, 15}, {6, u"180 degrees", u"Yes", 0, 1, 1, 15},
    };
    for (const Expected& expected : table) {
        PropertyRows rows;
        const auto add = [&rows](const char* item, const char* property, const char* value, int flag = 1) {
            auto row = std::make_unique<CProperty>();
            row->itemName = QString::fromLatin1(item);
            row->propertyName = QString::fromLatin1(property);
            row->value = QString::fromLatin1(value);
            row->flag = flag;
            rows.push_back(std::move(row));
        };
        add("Text 1", "Surface", "Back Cover");
        for (int i = 0; i < 8; ++i)
            add("Text 1", "Other", "x");
        add("Text 1", "Angle", "180 degrees", 0);
        add("Track List(1)", "Wrap Tracks", "Yes", 0);
        add("Genre(1)", "Width", "1.5");
        add("Disc 1", "Left", "1.938");
        add("Image(1)", "Item Type", "Image");
        add("Image(1)", "Aspect Ratio", "Locked");

        int counter = 0;
        const PropertyRows out = NormaliseEarlyRows(std::move(rows), expected.version, counter);
        const std::string version = std::to_string(expected.version);
        ASSERT_EQ(out.size(), expected.rowCount) << version;
        EXPECT_EQ(out[9]->value, QString::fromUtf16(expected.angle)) << version;
        EXPECT_EQ(out[10]->value, QString::fromUtf16(expected.wrap)) << version;
        EXPECT_EQ(out[10]->flag, expected.wrapFlag) << version;
        EXPECT_EQ(out[11]->flag, expected.albumWidthFlag) << version;
        EXPECT_EQ(out[12]->flag, expected.discLeftFlag) << version;
        if (expected.version < 5) {
            EXPECT_EQ(out[13]->choices, u"1") << version;
            EXPECT_EQ(counter, 1) << version;
            EXPECT_EQ(out[14]->propertyName, u"Lock Aspect Ratio");
            EXPECT_EQ(out[14]->value, u"Yes");
            EXPECT_EQ(out[14]->choices, u"Yes|No|");
            EXPECT_EQ(out[15]->propertyName, u"Set as Background");
            EXPECT_EQ(out[15]->value, u"No");
            EXPECT_EQ(out[16]->propertyName, u"Bring to Front");
            EXPECT_EQ(out[16]->itemName, u"Image(1)");
        } else {
            EXPECT_TRUE(out[13]->choices.isEmpty()) << version;
            EXPECT_EQ(counter, 0) << version;
            EXPECT_EQ(out[14]->propertyName, u"Aspect Ratio");
        }
        EXPECT_EQ(out[9]->flag, expected.version < 3 ? 1 : 0) << version;
        if (expected.version < 3) {
            EXPECT_EQ(out[9]->choices, u"0 degrees|90 degrees|180 degrees|270 degrees|");
        }
    }
}

} // namespace
} // namespace tvl
