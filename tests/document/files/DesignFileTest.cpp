#include "SampleDesign.h"
#include "images/CxImage.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tvl {
namespace {

const CRichChild& Item(const DesignContent& content, const char* name)
{
    const CRichChild* item = content.design.FindItem(QString::fromLatin1(name));
    EXPECT_NE(item, nullptr) << name;
    return *item;
}

QByteArray Word(std::uint16_t value)
{
    return QByteArray(1, static_cast<char>(value & 0xff)) + QByteArray(1, static_cast<char>(value >> 8));
}

TEST(DesignFileTest, WritesTheCurrentLayout)
{
    LabelDesign design = MakeSampleDesign();
    const QByteArray bytes = WriteToBytes(design, SampleState());
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_TRUE(bytes.startsWith(QByteArrayView("\x01\x00\xff\xff\x36\x01\x09\x00"
                                                "CProperty",
                                                17)));
    // Placeholders take the numbers 1 to 4, so every item after the first refers back to class 5.
    const QByteArray newClass = Word(0xffff) + Word(310) + Word(10) + QByteArray("CRichChild");
    const qsizetype first = bytes.indexOf(newClass);
    ASSERT_GT(first, 0);
    const QByteArray secondItem = Word(0x8005) + QByteArray("\x06Page 2");
    EXPECT_GT(bytes.indexOf(secondItem), first);
    // The header: page code, surface, disc mode, then the album fields in disc pairs, the case kind last.
    const QByteArray header = QByteArray("\x01"
                                         "2\x0b"
                                         "Front Cover\x06Single\x0bThe Artist\b\x00",
                                         34);
    EXPECT_GT(bytes.indexOf(header), 0);
    EXPECT_GT(bytes.indexOf(QByteArray("\x08"
                                       "Ambient\b\x05"
                                       "Jewel")),
              0);
    // Fonts and colours strings of the free text block.
    EXPECT_GT(bytes.indexOf(QByteArray("0\bArial\b400\b700\b1\b3\bLiberation Serif\b125\b400\b0\b")), 0);
    EXPECT_GT(bytes.indexOf(QByteArray("0\b255000000\b6\b018052086\b")), 0);
}

TEST(DesignFileTest, ReadsBackEveryItemAndWritesTheSameBytes)
{
    LabelDesign design = MakeSampleDesign();
    const QByteArray bytes = WriteToBytes(design, SampleState("Double", "DVD"));
    FileResult<DesignContent> read = ReadFromBytes(bytes);
    ASSERT_TRUE(read) << read.error().message.toStdString();
    const DesignContent& content = read.value();
    EXPECT_EQ(content.fileVersion, 310);
    EXPECT_EQ(content.design.albumHeader.discMode, u"Double");
    EXPECT_EQ(content.design.albumHeader.caseKind, u"DVD");
    EXPECT_EQ(content.design.albumHeader.currentSurface, u"Front Cover");
    ASSERT_EQ(content.design.itemList.size(), design.itemList.size());
    for (size_t i = 0; i < design.itemList.size(); ++i) {
        const CRichChild& written = *design.itemList[i];
        const CRichChild& loaded = *content.design.itemList[i];
        EXPECT_EQ(loaded.name, written.name);
        EXPECT_EQ(loaded.Rect(), written.Rect()) << written.name.toStdString();
        EXPECT_EQ(loaded.Text(), written.Text()) << written.name.toStdString();
        if (written.IsTextual()) {
            EXPECT_EQ(loaded.fonts, written.fonts) << written.name.toStdString();
            EXPECT_EQ(loaded.colors, written.colors) << written.name.toStdString();
            EXPECT_EQ(loaded.underlines, written.underlines) << written.name.toStdString();
        }
    }
    const CRichChild& freeText = Item(content, "Text 1");
    EXPECT_EQ(freeText.Text(), QStringLiteral("Caf\u00e9 \u20ac\rline\b"));
    EXPECT_EQ(freeText.top(), -20);
    EXPECT_EQ(freeText.angle(), u"90 degrees");
    EXPECT_EQ(freeText.bAutoFit(), 1);
    EXPECT_EQ(Item(content, "Back Cover").coverSpine, 250);
    EXPECT_EQ(Item(content, "Front Cover").coverFolded, 1);
    EXPECT_EQ(Item(content, "Back Cover").colors, std::vector<std::optional<ItemColor>>{0x00102030});
    EXPECT_EQ(Item(content, "Right Tab").colors, std::vector<std::optional<ItemColor>>{std::nullopt});
    EXPECT_EQ(Item(content, "Disc 2").textMargin(), 50);
    EXPECT_TRUE(Item(content, "Text 2").characters.empty());
    EXPECT_EQ(Item(content, "Genre - Disc 2(1)").Text(), u"Ambient\b");
    EXPECT_EQ(Item(content, "Track List(1)").textLayout(), u"Top && Bottom");
    EXPECT_EQ(Item(content, "Image(1)").image->Type(), CXIMAGE_FORMAT_JPG);
    EXPECT_EQ(Item(content, "Image(2)").image->Type(), CXIMAGE_FORMAT_PNG);
    EXPECT_EQ(Item(content, "Image(3)").image->Type(), CXIMAGE_FORMAT_BMP);
    EXPECT_EQ(Item(content, "Image(3)").image->Width(), 7);
    EXPECT_EQ(Item(content, "Image(4)").image, nullptr);
    EXPECT_EQ(Item(content, "Image(5)").image->Type(), CXIMAGE_FORMAT_GIF);
    EXPECT_EQ(Item(content, "Image(6)").image->Type(), CXIMAGE_FORMAT_TIF);
    EXPECT_EQ(Item(content, "Image(6)").image->Height(), 5);

    LabelDesign& again = read.value().design;
    EXPECT_EQ(WriteToBytes(again, SampleState("Double", "DVD")), bytes);
}

TEST(DesignFileTest, LinkedTextComesFromTheHeaderOfTheSameFile)
{
    LabelDesign design = MakeSampleDesign();
    QByteArray bytes = WriteToBytes(design, SampleState());
    // Linked items store no text of their own.
    EXPECT_EQ(bytes.count(QByteArray("The Artist")), 1);
    EXPECT_EQ(bytes.count(QByteArray("First")), 1);

    const qsizetype at = bytes.indexOf(QByteArray("The Artist"));
    bytes.replace(at, 10, QByteArray("Other Band"));
    FileResult<DesignContent> read = ReadFromBytes(bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(Item(read.value(), "Artist(1)").Text(), u"Other Band\b");
    EXPECT_EQ(Item(read.value(), "Artist(1)").fonts.size(), 11u);
    EXPECT_EQ(Item(read.value(), "Track List(1)").Text(), u"1. \bFirst\b 3:01\b2. \bSecond\b 4:02\b");
}

TEST(DesignFileTest, OlderTrackSettingsAreUpgraded)
{
    LabelDesign design = MakeSampleDesign();
    design.FindItem(u"Track List(1)")->trackNumbers(QStringLiteral("Track Numbers + Track Times"));
    design.FindItem(u"Track List(1)")->textLayout(QStringLiteral("Top + Bottom"));
    FileResult<DesignContent> read = ReadFromBytes(WriteToBytes(design, SampleState()));
    ASSERT_TRUE(read);
    EXPECT_EQ(Item(read.value(), "Track List(1)").trackNumbers(), u"Track Numbers && Times");
    EXPECT_EQ(Item(read.value(), "Track List(1)").textLayout(), u"Top && Bottom");
}

TEST(DesignFileTest, RefusesVersionsItCannotRead)
{
    LabelDesign design = MakeSampleDesign();
    const QByteArray bytes = WriteToBytes(design, SampleState());
    struct Case
    {
        int version;
        const char* message;
    };
    const Case cases[] = {
        {311,
         "This file cannot be opened because it was created with a newer version of Tovrelline. \r\nPlease "
         "open this file with the latest version."},
        {4000,
         "This file cannot be opened because it was created with a newer version of Tovrelline. \r\nPlease "
         "open this file with the latest version."},
        {299,
         "This file cannot be opened because it was created with a newer version of Tovrelline. \r\n Please "
         "open this file with the latest version."},
        {7,
         "This file cannot be opened because it was created with a newer version of Tovrelline. \r\n Please "
         "open this file with the latest version."},
    };
    for (const Case& c : cases) {
        QByteArray patched = bytes;
        SetFileVersion(patched, c.version);
        const FileResult<DesignContent> read = ReadFromBytes(patched);
        ASSERT_FALSE(read) << c.version;
        EXPECT_EQ(read.error().kind, FileError::Kind::Refused);
        EXPECT_EQ(read.error().message, QString::fromLatin1(c.message)) << c.version;
    }

    // A file without the placeholder text row is an early design; this one ends before its header.
    const QByteArray noTexts = QByteArray("\x00\x00\x00\x00", 4);
    EXPECT_EQ(ReadFromBytes(noTexts).error().kind, FileError::Kind::Failed);
}

TEST(DesignFileTest, ReadsVersionsFrom300)
{
    LabelDesign design = MakeSampleDesign();
    LiveDesignState live = SampleState("Single", "");
    QByteArray bytes = WriteToBytes(design, live);
    LabelDesign headerOnly;
    headerOnly.albumHeader = design.albumHeader;
    const QByteArray prefix = WriteToBytes(headerOnly, live);
    // The empty case kind is the last header byte, just before the item count.
    ASSERT_EQ(bytes.at(prefix.size() - 3), '\0');
    bytes.remove(prefix.size() - 3, 1);
    SetFileVersion(bytes, 300);
    FileResult<DesignContent> read = ReadFromBytes(bytes);
    ASSERT_TRUE(read) << read.error().message.toStdString();
    EXPECT_EQ(read.value().fileVersion, 300);
    EXPECT_EQ(read.value().design.albumHeader.caseKind, u"Jewel");
    EXPECT_EQ(read.value().design.itemList.size(), design.itemList.size());
    EXPECT_NE(Item(read.value(), "Image(2)").image, nullptr);

    QByteArray dvd = WriteToBytes(design, SampleState("Double", "DVD"));
    SetFileVersion(dvd, 305);
    read = ReadFromBytes(dvd);
    ASSERT_TRUE(read);
    EXPECT_EQ(read.value().fileVersion, 305);
    EXPECT_EQ(read.value().design.albumHeader.caseKind, u"DVD");
}

TEST(DesignFileTest, HeaderWithUnknownModeFails)
{
    for (const LiveDesignState& live : {SampleState("Triple", "Jewel"), SampleState("Single", "Box")}) {
        LabelDesign design = MakeSampleDesign();
        const FileResult<DesignContent> read = ReadFromBytes(WriteToBytes(design, live));
        ASSERT_FALSE(read);
        EXPECT_EQ(read.error().kind, FileError::Kind::Failed);
        EXPECT_EQ(read.error().message, u"Error 153 - Step: 6");
    }
}

TEST(DesignFileTest, FontOrColourEntriesOutsideTheTextAreIgnored)
{
    LabelDesign design;
    auto item = std::make_unique<CRichChild>();
    item->name = QStringLiteral("Text 1");
    item->kind = ItemKind::Text;
    item->characters = ToCharacters(u"Text\b");
    item->underlines.assign(5, 0);
    item->fonts.resize(8);
    item->fonts[0] = ItemFont{QStringLiteral("Arial"), 400, 400, 0};
    item->fonts[7] = ItemFont{QStringLiteral("Courier"), 100, 700, 0};
    item->colors.resize(12);
    item->colors[0] = 0;
    item->colors[11] = 0x00ffffff;
    design.InsertItem(std::move(item));
    const FileResult<DesignContent> read = ReadFromBytes(WriteToBytes(design, SampleState()));
    ASSERT_TRUE(read);
    const CRichChild& loaded = *read.value().design.itemList[0];
    ASSERT_EQ(loaded.fonts.size(), 5u);
    EXPECT_EQ(loaded.fonts[0]->faceName, u"Arial");
    for (size_t i = 1; i < 5; ++i) {
        EXPECT_FALSE(loaded.fonts[i]);
        EXPECT_FALSE(loaded.colors[i]);
    }
}

TEST(DesignFileTest, PicturesKeepOrChangeTheirFormat)
{
    LabelDesign design = MakeSampleDesign();
    CRichChild& jpeg = *design.FindItem(u"Image(1)");
    const QByteArray jpegBytes = jpeg.image->SourceBytes();
    ASSERT_FALSE(jpegBytes.isEmpty());
    auto wmf = std::make_shared<CxImage>();
    ASSERT_TRUE(wmf->LoadFile(QStringLiteral(TOVRELLINE_TEST_DATA "/shapes.wmf"), CXIMAGE_FORMAT_WMF));
    ASSERT_EQ(wmf->Type(), CXIMAGE_FORMAT_WMF);
    design.FindItem(u"Image(2)")->image = wmf;

    const QByteArray bytes = WriteToBytes(design, SampleState());
    EXPECT_GT(bytes.indexOf("1\n" + QByteArray::number(jpegBytes.size()) + '\n' + jpegBytes), 0);
    FileResult<DesignContent> read = ReadFromBytes(bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(Item(read.value(), "Image(1)").image->SourceBytes(), jpegBytes);
    EXPECT_EQ(Item(read.value(), "Image(2)").image->Type(), CXIMAGE_FORMAT_PNG);
    EXPECT_EQ(Item(read.value(), "Image(2)").image->Width(), wmf->Width());
    EXPECT_EQ(Item(read.value(), "Image(2)").image->PixelColor(wmf->Width() / 2, wmf->Height() / 2),
              wmf->PixelColor(wmf->Width() / 2, wmf->Height() / 2));
}

TEST(DesignFileTest, DamagedFilesFailWithoutCrashing)
{
    LabelDesign design = MakeSampleDesign();
    const QByteArray bytes = WriteToBytes(design, SampleState());
    // Every cut before the last picture's bytes fails; the stage only ever grows with the cut.
    int lastStage = 0;
    const qsizetype lastPicture = bytes.lastIndexOf("\n0\n");
    for (qsizetype size = 0; size < lastPicture; size += size < 600 ? 1 : 37) {
        const FileResult<DesignContent> read = ReadFromBytes(bytes.left(size));
        ASSERT_FALSE(read) << size;
        EXPECT_GE(read.error().stage, lastStage) << size;
        lastStage = read.error().stage;
    }
    EXPECT_EQ(lastStage, 8);

    // An item list that refers back to the placeholder property row.
    LabelDesign empty;
    QByteArray placeholderItem = WriteToBytes(empty, SampleState());
    placeholderItem.chop(2);
    placeholderItem += QByteArray("\x01\x00\x02\x00", 4);
    const FileResult<DesignContent> shared = ReadFromBytes(placeholderItem);
    ASSERT_FALSE(shared);
    EXPECT_EQ(shared.error().stage, 7);

    QByteArray absurd = bytes;
    const QByteArray count =
        "\n" + QByteArray::number(design.FindItem(u"Image(1)")->image->SourceBytes().size()) + "\n";
    absurd.replace(absurd.indexOf(count), count.size(), "\n99999999999999\n");
    const FileResult<DesignContent> read = ReadFromBytes(absurd);
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().message, u"Error 153 - Step: 8");
}

} // namespace
} // namespace tvl
