#include "document/design/AlbumBarText.h"
#include "document/design/DesignDocument.h"
#include "tests/document/design/SampleDocument.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

TEST(AlbumBarText, BoxesShowLinesAndStoreOneTerminator)
{
    EXPECT_EQ(BoxTextFromValue(u"Two\rLines\b"), QStringLiteral("Two\nLines"));
    // A pasted terminator would split the field into cells; every kind of line break becomes "\r".
    EXPECT_EQ(ValueFromBoxText(u"A\bB\r\nC\nD"), QStringLiteral("AB\rC\rD\b"));
    EXPECT_EQ(ValueFromBoxText(BoxTextFromValue(u"Two\rLines\b")), QStringLiteral("Two\rLines\b"));
    EXPECT_EQ(ValueFromBoxText(u""), QStringLiteral("\b"));
}

TEST(AlbumBarText, TheDiscSuffixFollowsLinkedNamesOfADoubleDesign)
{
    struct Case
    {
        const char16_t* name;
        bool isDouble;
        const char* current;
        const char* expected;
    };
    const Case cases[] = {
        {u"Genre - Disc 2(1)", true, " - Disc 1", " - Disc 2"},
        {u"Text 1", true, " - Disc 2", " - Disc 2"},
        {u"Text 1", true, "", " - Disc 1"},
        {u"Front Cover (Inside)", true, " - Disc 2", " - Disc 2"},
        {u"Track List - Disc 1", true, " - Disc 2", " - Disc 1"},
        {u"Genre - Disc 2(1)", false, "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DiscSuffixFor(c.name, c.isDouble, QString::fromLatin1(c.current)),
                  QString::fromLatin1(c.expected))
            << QString::fromUtf16(c.name).toStdString();
}

TEST(AlbumBarText, ATrackTakesTheRowsOfItsTallestCell)
{
    const auto rows = TrackGridRows(QStringLiteral("1. \bFirst\rpart two\b 3:01\b2. \bSecond\b 4:02\b"));
    const std::vector<TrackGridRow> expected = {
        {1, {QStringLiteral("1. "), QStringLiteral("First"), QStringLiteral(" 3:01")}},
        {1, {QString(), QStringLiteral("part two"), QString()}},
        {2, {QStringLiteral("2. "), QStringLiteral("Second"), QStringLiteral(" 4:02")}},
    };
    EXPECT_EQ(rows, expected);
}

TEST(AlbumBarText, EachBoxKeystrokeIsOneAlbumEditThatUndoGivesBack)
{
    DesignDocument document;
    LoadSampleDesign(document);
    const QString key = QStringLiteral("Title");
    ASSERT_TRUE(document.SetAlbumField(key, QStringLiteral("Old\rtitle\b")));
    const QString before = document.design().LinkedAlbumText(key);

    EXPECT_FALSE(SetFieldFromBox(document, key, BoxTextFromValue(before))) << "an unchanged box";
    EXPECT_TRUE(SetFieldFromBox(document, key, u"Two\nlines"));
    EXPECT_EQ(document.design().LinkedAlbumText(key), QStringLiteral("Two\rlines\b"));
    EXPECT_EQ(document.history().stepCount(), 2);
    document.Undo();
    EXPECT_EQ(document.design().LinkedAlbumText(key), before);
}

} // namespace
} // namespace tvl
