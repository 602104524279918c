#include "document/design/FormatEdits.h"
#include "document/design/DesignDocument.h"
#include "tests/document/design/SampleDocument.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

const ItemFont kPlain{QStringLiteral("Arial"), 100, 400, 0};
const ItemFont kSerif{QStringLiteral("Liberation Serif"), 120, 400, 1};

RichText PlainText(const QString& characters)
{
    RichText text;
    text.characters = ToCharacters(characters);
    const size_t count = text.characters.size();
    text.fonts.assign(count, std::nullopt);
    text.colors.assign(count, std::nullopt);
    text.underlines.assign(count, 0);
    text.fonts[0] = kPlain;
    text.colors[0] = 0x00000000;
    return text;
}

template <class T>
std::vector<T> Effective(const std::vector<std::optional<T>>& runs)
{
    std::vector<T> result;
    T current{};
    for (const auto& slot : runs) {
        if (slot)
            current = *slot;
        result.push_back(current);
    }
    return result;
}

TEST(FormatEdits, BoldInsideAWordLeavesTheTextAfterItAsItWas)
{
    // "one two three": make "tw" bold; a second run starts at "three".
    RichText text = PlainText(QStringLiteral("one two three\b"));
    text.fonts[8] = kSerif;
    FormatFonts(text, 4, 6, [](ItemFont& font) { font.weight = 700; });
    const std::vector<ItemFont> fonts = Effective(text.fonts);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(fonts[static_cast<size_t>(i)], kPlain) << i;
    EXPECT_EQ(fonts[4].weight, 700);
    EXPECT_EQ(fonts[5].weight, 700);
    EXPECT_EQ(fonts[6], kPlain) << "the rest of the word";
    EXPECT_EQ(fonts[8], kSerif);

    // Across the serif run both runs turn bold, each keeping its face.
    FormatFonts(text, 6, 10, [](ItemFont& font) { font.weight = 700; });
    EXPECT_EQ(Effective(text.fonts)[9].faceName, kSerif.faceName);
    EXPECT_EQ(Effective(text.fonts)[9].weight, 700);
    EXPECT_EQ(Effective(text.fonts)[10].weight, 400);
}

TEST(FormatEdits, ColourAndUnderlineTakeTheCellTerminatorAfterTheRange)
{
    RichText text = PlainText(QStringLiteral("ab\bcd\b"));
    FormatColor(text, 1, 4, 0x000000ff);
    FormatUnderline(text, 1, 4, true);
    const std::vector<ItemColor> colors = Effective(text.colors);
    EXPECT_EQ(colors, (std::vector<ItemColor>{0, 0xff, 0xff, 0xff, 0, 0}));
    EXPECT_EQ(text.underlines, (std::vector<std::uint16_t>{0, 1, 1, 1, 0, 0}));
    EXPECT_TRUE(text.colors[3].has_value()) << "each range starts a run of its own";
}

class FormatDocumentTest : public SampleDocumentTest
{
};

TEST_F(FormatDocumentTest, ACaretFormatsTheWholeTextAndASelectionOnlyItsCharacters)
{
    const QString name = QStringLiteral("Text 1");
    const RichText before = RichText::Of(Item("Text 1"));
    ASSERT_TRUE(ApplyColor(document, name, 2, 2, 0x0000ff00));
    for (const ItemColor color : Effective(Item("Text 1").colors))
        EXPECT_EQ(color, 0x0000ff00u);
    ASSERT_TRUE(ApplyFont(document, name, 0, 2, [](ItemFont& font) { font.italic = 0; }));
    EXPECT_EQ(Effective(Item("Text 1").fonts)[0].italic, 0);
    EXPECT_EQ(Effective(Item("Text 1").fonts)[2].italic, 1);
    ASSERT_TRUE(ApplyUnderline(document, name, 0, 0, true));
    EXPECT_TRUE(std::all_of(Item("Text 1").underlines.begin(), Item("Text 1").underlines.end(),
                            [](std::uint16_t word) { return word == 1; }));
    EXPECT_FALSE(ApplyUnderline(document, name, 0, 0, true)) << "no change, no step";
    EXPECT_FALSE(ApplyColor(document, name, 0, 999, 0)) << "outside the text";

    document.Undo();
    document.Undo();
    document.Undo();
    EXPECT_EQ(RichText::Of(Item("Text 1")), before);
}

} // namespace
} // namespace tvl
