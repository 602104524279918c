#include "editing/text/TextCaret.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

// Indexes: track 1 number 0 … 3, title 4 … 7, time 8 … 13; track 2 number 14 … 17, title 18 … 21,
// time 22 … 27.
const QString kTracks = QStringLiteral("1. \bOne\b 1:00\b2. \bTwo\b 2:00\b");

CRichChild TrackList(const QString& mode)
{
    CRichChild item;
    item.kind = ItemKind::Track;
    item.trackNumbers(mode);
    item.characters = ToCharacters(kTracks);
    return item;
}

TEST(TextCaret, ASelectionAcrossCellsWidensToWholeCells)
{
    const CRichChild tracks = TrackList(QStringLiteral("Track Numbers && Times"));
    EXPECT_EQ(WidenSelection(tracks, 5, 6), (TextRange{5, 6})) << "inside one cell it stays";
    EXPECT_EQ(WidenSelection(tracks, 20, 5), (TextRange{4, 21})) << "middle of one title to the next's";
    EXPECT_EQ(WidenSelection(tracks, 7, 9), (TextRange{4, 13})) << "a terminator belongs to its cell";

    CRichChild text;
    text.kind = ItemKind::Text;
    text.characters = ToCharacters(kTracks);
    EXPECT_EQ(WidenSelection(text, 20, 5), (TextRange{5, 20})) << "a text block does not widen";
}

TEST(TextCaret, LeftAndRightStepOverHiddenCells)
{
    struct Case
    {
        const char* mode;
        TextRange from;
        CaretKey key;
        int expected;
    };
    const Case cases[] = {
        {"Track Times", {18, 18}, CaretKey::Left, 13},    // before track 1's time terminator
        {"Track Times", {4, 4}, CaretKey::Left, 4},       // the first track stays
        {"Track Numbers", {14, 14}, CaretKey::Left, 7},   // hidden time of track 1
        {"Track Numbers", {7, 7}, CaretKey::Right, 14},   // over the hidden time
        {"Track Numbers", {21, 21}, CaretKey::Right, 21}, // the last track stays
        {"Track Times", {13, 13}, CaretKey::Right, 18},   // over the hidden number
        {"Track Numbers && Times", {18, 18}, CaretKey::Left, 17},
        {"Track Numbers && Times", {27, 27}, CaretKey::Right, 27}, // the final terminator is the end
        {"Track Numbers && Times", {4, 21}, CaretKey::Left, 4},    // a selection collapses
        {"Track Numbers && Times", {4, 21}, CaretKey::Right, 21},
        {"Track Numbers && Times", {9, 9}, CaretKey::Home, 0},
        {"Track Numbers && Times", {9, 9}, CaretKey::End, 27},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mode << " from " << c.from.start);
        EXPECT_EQ(MoveCaret(TrackList(QString::fromLatin1(c.mode)), c.from, c.key), c.expected);
    }
}

} // namespace
} // namespace tvl

#include "editing/text/TextHitTest.h"

namespace tvl {
namespace {

// "ab\b" laid out upright: a 0 … 10, b 10 … 20, the terminator an empty cell at 20; a second line "c\b"
// below. The same cells turned to 90 degrees read from bottom to top.
TEST(TextHitTest, FindsTheCharacterOrThePositionAfterItAtEveryAngle)
{
    const std::vector<char32_t> characters = ToCharacters(u"ab\rc\b");
    const std::vector<EdgeRect> upright = {
        {0, 0, 10, 20}, {10, 0, 20, 20}, {20, 0, 20, 20}, {0, 20, 10, 40}, {10, 20, 10, 40}};
    std::vector<EdgeRect> turned;
    for (const EdgeRect& c : upright)
        turned.push_back({c.top, 100 - c.right, c.bottom, 100 - c.left});
    struct Case
    {
        const char* title;
        bool turn;
        QPoint point;
        int expected;
    };
    const Case cases[] = {
        {"left half of a", false, {3, 10}, 0},
        {"right half of a", false, {7, 10}, 1},
        {"beyond the first line's end", false, {60, 10}, 2},
        {"just below the last line", false, {2, 45}, 3},
        {"turned: lower half of a", true, {10, 97}, 0},
        {"turned: upper half of a", true, {10, 93}, 1},
        {"turned: second line", true, {30, 95}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(CharIndexAt(c.turn ? turned : upright, characters,
                              c.turn ? QStringLiteral("90 degrees") : QStringLiteral("0 degrees"), c.point),
                  c.expected);
    }
}

// A "Table Format" list whose first title has two lines: under the first track's number and time there is
// empty table. A point there finds a character of its own column, not the second title line beside it.
TEST(TextHitTest, TableFormatKeepsToThePointsColumn)
{
    const std::vector<char32_t> characters = ToCharacters(u"1. \bOne\rMore\b 0:01\b2. \bTwo\b 0:02\b");
    std::vector<EdgeRect> cells;
    // Characters from x on, five pixels wide, on the row from top; a terminator or line break is empty.
    const auto row = [&](const char* text, int x, int top) {
        for (const char* c = text; *c; ++c) {
            const int width = *c == '|' ? 0 : 5;
            cells.push_back({x, top, x + width, top + 20});
            x += width;
        }
    };
    row("1. |", 0, 0);
    row("One|", 30, 0);
    row("More|", 30, 20);
    row(" 0:01|", 90, 0);
    row("2. |", 0, 40);
    row("Two|", 30, 40);
    row(" 0:02|", 90, 40);
    ASSERT_EQ(cells.size(), characters.size());

    const std::optional<TitleColumn> title = TableTitleColumn(cells, characters, QStringLiteral("0 degrees"));
    ASSERT_TRUE(title);
    EXPECT_EQ(title->from, 15);
    EXPECT_EQ(title->to, 90);

    struct Case
    {
        const char* where;
        QPoint point;
        int table;
        int lines;
    };
    const Case cases[] = {
        {"under the first number", {12, 28}, 2, 8},
        {"under the first time", {102, 28}, 16, 12},
        {"on the second title line", {41, 30}, 10, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        EXPECT_EQ(CharIndexAt(cells, characters, QStringLiteral("0 degrees"), c.point, title), c.table);
        EXPECT_EQ(CharIndexAt(cells, characters, QStringLiteral("0 degrees"), c.point), c.lines)
            << "other layouts take the line beside the point";
    }
}

} // namespace
} // namespace tvl
