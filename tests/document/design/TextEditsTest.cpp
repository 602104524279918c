#include "document/design/TextEdits.h"
#include "document/design/DesignDocument.h"
#include "tests/document/design/SampleDocument.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

const ItemFont kPlain{QStringLiteral("Arial"), 100, 400, 0};
const ItemFont kBold{QStringLiteral("Arial"), 100, 700, 0};

// A text whose first character starts a plain run; runs gives further run starts.
RichText MakeText(const QString& characters, std::initializer_list<std::pair<int, ItemFont>> runs = {})
{
    RichText text;
    text.characters = ToCharacters(characters);
    const size_t count = text.characters.size();
    text.fonts.assign(count, std::nullopt);
    text.colors.assign(count, std::nullopt);
    text.underlines.assign(count, 0);
    text.fonts[0] = kPlain;
    text.colors[0] = 0;
    for (const auto& [at, font] : runs)
        text.fonts[static_cast<size_t>(at)] = font;
    return text;
}

QString Characters(const RichText& text)
{
    return FromCharacters(text.characters);
}

// The effective font of every character, as the drawing sees it.
std::vector<ItemFont> Effective(const RichText& text)
{
    std::vector<ItemFont> result;
    ItemFont current;
    for (const auto& slot : text.fonts) {
        if (slot)
            current = *slot;
        result.push_back(current);
    }
    return result;
}

const QString kTracks = QStringLiteral("1. \bOne\b 1:00\b2. \bTwo\b 2:00\b3. \bThree\b 3:00\b");

TEST(TextEdits, TypingAtAStartTakesThePushedRunAndElsewhereContinuesTheRunBefore)
{
    // "ab\bcd\b" with the second cell bold from its first character.
    RichText text = MakeText(QStringLiteral("ab\bcd\b"), {{3, kBold}});
    EXPECT_EQ(InsertCharacters(text, 3, u"X"), 4);
    EXPECT_EQ(Characters(text), QStringLiteral("ab\bXcd\b"));
    EXPECT_EQ(text.fonts[3], kBold) << "the new character starts the title's run";
    EXPECT_FALSE(text.fonts[4].has_value()) << "the pushed character continues it";
    EXPECT_EQ(Effective(text)[4], kBold);

    EXPECT_EQ(InsertCharacters(text, 2, u"yz"), 4);
    EXPECT_EQ(Characters(text), QStringLiteral("abyz\bXcd\b"));
    EXPECT_EQ(Effective(text)[2], kPlain);
    EXPECT_EQ(Effective(text)[3], kPlain);
    EXPECT_EQ(Effective(text)[5], kBold) << "the text after keeps its run";
}

TEST(TextEdits, TypedTextDropsTerminatorsAndMakesLineFeedsLineBreaks)
{
    RichText text = MakeText(QStringLiteral("a\b"));
    EXPECT_EQ(InsertCharacters(text, 1, u"b\bc\r\nd\ne"), 7);
    EXPECT_EQ(Characters(text), QStringLiteral("abc\rd\re\b"));
}

TEST(TextEdits, BackspaceNeverRemovesATerminator)
{
    RichText text = MakeText(kTracks);
    const DeletionResult result = DeleteCharacters(text, 4, 4, true, nullptr); // before "One"
    EXPECT_EQ(result.caret, 4);
    EXPECT_EQ(Characters(text), kTracks);
}

TEST(TextEdits, RemovedRunStartPassesItsLookOn)
{
    RichText text = MakeText(QStringLiteral("abcd\b"), {{1, kBold}});
    const DeletionResult result = DeleteCharacters(text, 2, 2, false, nullptr);
    EXPECT_EQ(result.caret, 1);
    EXPECT_EQ(Characters(text), QStringLiteral("acd\b"));
    EXPECT_EQ(Effective(text)[1], kBold);
    EXPECT_EQ(Effective(text)[0], kPlain);
}

TEST(TextEdits, SelectionAcrossCellsKeepsTheTerminators)
{
    RichText text = MakeText(QStringLiteral("abc\bdef\bghi\b"));
    const DeletionResult result = DeleteCharacters(text, 1, 6, true, nullptr);
    EXPECT_EQ(result.caret, 1);
    EXPECT_EQ(Characters(text), QStringLiteral("a\bf\bghi\b"));
}

TEST(TextEdits, WholeTracksGoAndTheRestIsNumberedAgain)
{
    const TrackVisibility all;
    struct Case
    {
        const char* title;
        int start;
        int end;
        TrackVisibility shown;
        QString expected;
    };
    const Case cases[] = {
        {"track 2 from its number to its time terminator", 14, 27, all,
         QStringLiteral("1. \bOne\b 1:00\b2. \bThree\b 3:00\b")},
        {"tracks 1 and 2 when numbers are hidden start at the title",
         4,
         27,
         {false, true},
         QStringLiteral("1. \bThree\b 3:00\b")},
        {"tracks 2 and 3 when times are hidden end at the title",
         14,
         37,
         {true, false},
         QStringLiteral("1. \bOne\b 1:00\b")},
        {"a selection not ending a track removes only characters", 14, 20, all,
         QStringLiteral("1. \bOne\b 1:00\b\bo\b 2:00\b3. \bThree\b 3:00\b")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        RichText text = MakeText(kTracks);
        const DeletionResult result = DeleteCharacters(text, c.start, c.end, true, &c.shown);
        EXPECT_EQ(Characters(text), c.expected);
        EXPECT_FALSE(result.lostLastTrack);
        EXPECT_LT(result.caret, static_cast<int>(text.characters.size()));
    }
}

TEST(TextEdits, NumbersGrowToTwoDigitsAndUnnumberedListsStay)
{
    QString ten;
    for (int t = 1; t <= 11; ++t)
        ten += QStringLiteral("%1. \bT\b 0:00\b").arg(t == 2 ? 2 : t);
    RichText text = MakeText(ten);
    const std::vector<TrackCells> cells = IndexTracks(text.characters);
    const TrackVisibility all;
    // Removing track 1 numbers 2 … 11 as 1 … 10.
    DeleteCharacters(text, cells[0].numberStart, cells[0].timeEnd, true, &all);
    const std::vector<TrackCells> after = IndexTracks(text.characters);
    ASSERT_EQ(after.size(), 10u);
    EXPECT_EQ(FromCharacters({text.characters.begin() + after[9].numberStart,
                              text.characters.begin() + after[9].numberEnd}),
              QStringLiteral("10. "));
    EXPECT_EQ(FromCharacters({text.characters.begin() + after[0].numberStart,
                              text.characters.begin() + after[0].numberEnd}),
              QStringLiteral("1. "));

    RichText unnumbered = MakeText(QStringLiteral("A \bOne\b 1:00\b5. \bTwo\b 2:00\b"));
    DeleteCharacters(unnumbered, 5, 5, false, &all);
    EXPECT_EQ(Characters(unnumbered), QStringLiteral("A \bOe\b 1:00\b5. \bTwo\b 2:00\b"));
}

TEST(TextEdits, DeletingEveryTrackLeavesTheDefaultTrackInTheOldLook)
{
    RichText text = MakeText(kTracks, {{4, kBold}});
    const TrackVisibility all;
    const DeletionResult result =
        DeleteCharacters(text, 0, static_cast<int>(text.characters.size()) - 1, true, &all);
    EXPECT_TRUE(result.lostLastTrack);
    EXPECT_EQ(result.caret, 0);
    EXPECT_EQ(Characters(text), QString::fromUtf16(kDefaultTrack));
    EXPECT_EQ(Effective(text)[0], kPlain);
    EXPECT_EQ(Effective(text)[4], kBold) << "the title keeps the title's font";
}

class TextEditDocumentTest : public SampleDocumentTest
{
};

TEST_F(TextEditDocumentTest, TypingIntoALinkedTrackListIsOneStepThatTheFieldFollows)
{
    const QString before = Item("Track List(1)").Text();
    const int steps = document.history().stepCount();
    // Replace "First" (title of track 1, indexes 4 … 8) by "Ærø 東京".
    const TextEditOutcome typed =
        InsertText(document, QStringLiteral("Track List(1)"), 4, 9, QStringLiteral("Ærø 東京"));
    ASSERT_TRUE(typed.changed);
    EXPECT_EQ(typed.caret, 10);
    EXPECT_EQ(document.history().stepCount(), steps + 1);
    EXPECT_EQ(document.design().LinkedAlbumText(u"Track List"),
              QStringLiteral("1. \bÆrø 東京\b 3:01\b2. \bSecond\b 4:02\b"));
    document.Undo();
    EXPECT_EQ(Item("Track List(1)").Text(), before);
    EXPECT_EQ(document.design().LinkedAlbumText(u"Track List"), before);
}

TEST_F(TextEditDocumentTest, RemovingEveryTrackIsOneStepThatUndoGivesBack)
{
    const QString before = Item("Track List(1)").Text();
    const int last = static_cast<int>(Item("Track List(1)").characters.size()) - 1;
    const TextEditOutcome removed = DeleteText(document, QStringLiteral("Track List(1)"), 0, last, true);
    ASSERT_TRUE(removed.changed);
    EXPECT_TRUE(removed.lostLastTrack);
    EXPECT_EQ(document.design().LinkedAlbumText(u"Track List"), QString::fromUtf16(kDefaultTrack));
    document.Undo();
    EXPECT_EQ(Item("Track List(1)").Text(), before);
}

TEST_F(TextEditDocumentTest, NothingToDeleteRecordsNoStep)
{
    const int steps = document.history().stepCount();
    EXPECT_FALSE(DeleteText(document, QStringLiteral("Track List(1)"), 4, 4, true).changed);
    EXPECT_FALSE(DeleteForward(document, QStringLiteral("Track List(1)"), 3, 3).changed)
        << "before a terminator";
    EXPECT_FALSE(InsertText(document, QStringLiteral("Track List(1)"), 0, 999, QStringLiteral("x")).changed);
    EXPECT_FALSE(InsertText(document, QStringLiteral("Back Cover"), 0, 0, QStringLiteral("x")).changed);
    EXPECT_EQ(document.history().stepCount(), steps);

    const TextEditOutcome forward = DeleteForward(document, QStringLiteral("Track List(1)"), 4, 4);
    EXPECT_TRUE(forward.changed);
    EXPECT_EQ(forward.caret, 4);
    EXPECT_EQ(document.design().LinkedAlbumText(u"Track List"),
              QStringLiteral("1. \birst\b 3:01\b2. \bSecond\b 4:02\b"));
}

} // namespace
} // namespace tvl
