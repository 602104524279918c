#include "TextFixture.h"
#include "render/text/FontEngine.h"
#include "render/text/LayoutReport.h"
#include "render/text/LayoutTextItem.h"
#include "render/text/TextAutoFitter.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tvl {
namespace {

using test::AddItem;
using test::IndexOf;
using test::LayOut;
using test::MakeDesign;
using test::TextSpec;

int Width(char32_t character, int height)
{
    return FontEngine::ForThisThread()
        .Face(ItemFont{QStringLiteral("Arial"), height, 400, 0})
        .Extent(character, height)
        .width;
}

// The right edge of the rightmost non-empty cell.
int RightEdge(const ItemLayout& layout)
{
    int right = 0;
    for (const EdgeRect& cell : layout.lineCells)
        right = cell.isEmpty() ? right : std::max(right, cell.right);
    return right;
}

struct WrapCase
{
    const char* wrapStyle;
    int lineOfC;       // line of "cd"
    int lineOfE;       // line of "ef"
    bool spaceBeforeE; // the second space of the run starts the line of "ef"
};

// "ab\rcd  ef" in a 300-mil block at 12 pt: "cd  ef" (407 mils) is too wide, "cd " is not.
TEST(LayoutText, WrapStylesBreakAtLineBreaksAndFirstSpaceOfARun)
{
    const WrapCase cases[] = {
        {"Single-Line", 0, 0, false},
        {"Multi-Line", 1, 1, false},
        {"No Wrap", 1, 1, false},
        {"Word-Wrap", 1, 2, true},
    };
    for (const WrapCase& wrap : cases) {
        SCOPED_TRACE(wrap.wrapStyle);
        LabelDesign design = MakeDesign();
        TextSpec spec;
        spec.left = 100;
        spec.top = 200;
        spec.width = 300;
        spec.text = QStringLiteral("ab\rcd  ef\b");
        spec.wrapStyle = QString::fromLatin1(wrap.wrapStyle);
        CRichChild& item = AddItem(design, spec);
        const ItemLayout& layout = LayOut(item, design);
        const int lineHeight = layout.lineCells[0].height();
        EXPECT_EQ(lineHeight, 186);
        const size_t c = IndexOf(item, u"cd");
        const size_t e = IndexOf(item, u"ef");
        EXPECT_EQ(layout.lineCells[0].top, 200);
        EXPECT_EQ(layout.lineCells[0].left, 100);
        EXPECT_EQ(layout.lineCells[c].top, 200 + wrap.lineOfC * lineHeight);
        EXPECT_EQ(layout.lineCells[e].top, 200 + wrap.lineOfE * lineHeight);
        if (wrap.lineOfC == 0) // the line break takes the room of a space
            EXPECT_EQ(layout.lineCells[2].width(), Width(U' ', 120));
        else
            EXPECT_EQ(layout.lineCells[c].left, 100);
        if (wrap.spaceBeforeE) {
            EXPECT_EQ(layout.lineCells[e - 2].width(), 0); // the first space is the break
            EXPECT_EQ(layout.lineCells[e].left, 100 + Width(U' ', 120));
        }
    }
}

TEST(LayoutText, AlignmentPlacesEachLineInTheBlock)
{
    for (const char* alignment : {"Left", "Center", "Right"}) {
        LabelDesign design = MakeDesign();
        TextSpec spec;
        spec.left = 0;
        spec.width = 2000;
        spec.text = QStringLiteral("Hi\b");
        spec.alignment = QString::fromLatin1(alignment);
        CRichChild& item = AddItem(design, spec);
        const ItemLayout& layout = LayOut(item, design);
        const int width = layout.lineCells[1].right - layout.lineCells[0].left;
        const int expected = alignment[0] == 'L'   ? 0
                             : alignment[0] == 'R' ? 2000 - width
                                                   : (2000 - width) / 2;
        EXPECT_EQ(layout.lineCells[0].left, expected) << alignment;
    }
}

TEST(LayoutText, LongWordOverflowsWithoutAutoFitAndShrinksWithIt)
{
    LabelDesign design = MakeDesign();
    TextSpec spec;
    spec.width = 500;
    spec.height = 400;
    spec.fontHeight = 240;
    spec.wrapStyle = QStringLiteral("Word-Wrap");
    spec.text = QStringLiteral("Supercalifragilistic\b");
    CRichChild& fixed = AddItem(design, spec);
    const ItemLayout& overflowing = LayOut(fixed, design);
    EXPECT_GT(RightEdge(overflowing), 500); // one line, past the edge (drawing clips it)
    EXPECT_EQ(overflowing.lineCells.front().top, overflowing.lineCells[19].top);

    spec.autoFit = true;
    CRichChild& fitted = AddItem(design, spec);
    const ItemLayout& shrunk = LayOut(fitted, design);
    const int size = shrunk.fittedHeight;
    EXPECT_EQ(fitted.fonts[0]->height, 240) << "layout leaves the design as it is";
    EXPECT_LT(size, 240);
    EXPECT_EQ(size % 5, 0);
    EXPECT_LE(RightEdge(shrunk), 500);
    EXPECT_EQ(shrunk.lineCells.front().top, shrunk.lineCells[19].top);

    spec.width = 60; // too narrow even at 2.5 pt
    CRichChild& tiny = AddItem(design, spec);
    const ItemLayout& smallest = LayOut(tiny, design);
    EXPECT_EQ(smallest.fittedHeight, 25);
    EXPECT_GT(RightEdge(smallest), 60);
    for (size_t i = 1; i < 20; ++i) // still one line, characters side by side
        EXPECT_EQ(smallest.lineCells[i].left, smallest.lineCells[i - 1].right);
}

TEST(LayoutText, AutoFitGrowsAndCentresOnCovers)
{
    LabelDesign design = MakeDesign();
    TextSpec spec;
    spec.left = 100;
    spec.top = 400;
    spec.width = 4500;
    spec.height = 1500;
    spec.fontHeight = 400;
    spec.autoFit = true;
    spec.alignment = QStringLiteral("Center");
    spec.text = QStringLiteral("Greatest Hits\rVolume Two\b");
    CRichChild& item = AddItem(design, spec);
    const ItemLayout& layout = LayOut(item, design);
    const int size = layout.fittedHeight;
    EXPECT_GT(size, 405);
    EXPECT_EQ(size % 5, 0);
    EXPECT_LE(RightEdge(layout), 4600);
    int top = 1 << 30;
    int bottom = 0;
    for (const EdgeRect& cell : layout.lineCells) {
        top = std::min(top, cell.top);
        bottom = std::max(bottom, cell.bottom);
    }
    EXPECT_LE(std::abs((top - 400) - (1900 - bottom)), 1);

    // The next size up would not fit: laid out there without AutoFit it passes an edge.
    CRichChild& larger = AddItem(design, spec);
    larger.bAutoFit(0);
    larger.fonts[0]->height = size + 5;
    const ItemLayout& over = LayOut(larger, design);
    EXPECT_TRUE(RightEdge(over) > 4600 || over.lineCells.back().bottom > 1900);
}

TEST(LayoutText, UnderlineSitsBelowTheBaselineByTheLineDescent)
{
    // A 12 pt underlined run beside 13.5 pt text: the line's largest descent is 40 mils.
    LabelDesign design = MakeDesign();
    TextSpec spec;
    spec.text = QStringLiteral("abC\b");
    CRichChild& item = AddItem(design, spec);
    item.underlines[0] = item.underlines[1] = 1;
    item.fonts[2] = ItemFont{QStringLiteral("Arial"), 135, 400, 0};
    const ItemLayout& layout = LayOut(item, design);
    EXPECT_EQ(layout.underlines[0], 40);
    EXPECT_EQ(layout.underlines[1], 40);
    EXPECT_EQ(layout.underlines[2], 0);
    const EdgeRect& a = layout.glyphCells[0];
    const int baseline = a.bottom - 35; // 12 pt descends 35 mils below the baseline
    EXPECT_EQ(baseline, layout.glyphCells[2].bottom - 40);
    EXPECT_EQ(a.top - baseline, 19);
    EXPECT_EQ(layout.lineCells[0].bottom - baseline, 40);
}

TEST(LayoutText, NinetyDegreeBlockStacksLinesAcrossItsWidth)
{
    LabelDesign design = MakeDesign();
    TextSpec spec;
    spec.left = 100;
    spec.top = 200;
    spec.width = 1000;
    spec.height = 3000;
    spec.fontHeight = 200;
    spec.angle = QStringLiteral("90 degrees");
    spec.wrapStyle = QStringLiteral("Word-Wrap");
    spec.text = QStringLiteral("one two three four five six seven eight nine twelve\b");
    CRichChild& item = AddItem(design, spec);
    const ItemLayout& layout = LayOut(item, design);
    const size_t two = IndexOf(item, u"two");
    // Along a line the text runs upwards; lines follow each other to the right.
    EXPECT_EQ(layout.lineCells[0].left, layout.lineCells[two].left);
    EXPECT_LT(layout.lineCells[two].bottom, layout.lineCells[0].top);
    EXPECT_EQ(layout.lineCells[0].bottom, 3200); // starts at the block's bottom edge
    const size_t twelve = IndexOf(item, u"twelve");
    EXPECT_EQ((layout.lineCells[twelve].left - layout.lineCells[0].left) % layout.lineCells[0].width(), 0);
    EXPECT_GT(layout.lineCells[twelve].left, layout.lineCells[0].left);
    int lineLength = 0;
    for (const EdgeRect& cell : layout.lineCells) {
        if (cell.isEmpty())
            continue;
        EXPECT_GE(cell.left, 100);
        EXPECT_LE(cell.right, 1100);
        EXPECT_GE(cell.top, 200);
        EXPECT_LE(cell.bottom, 3200);
        if (cell.left == layout.lineCells[0].left)
            lineLength = std::max(lineLength, 3200 - cell.top);
    }
    EXPECT_GT(lineLength, 1000); // a line is longer than the block is wide
}

// A disc text with AutoFit laid out in the disc's whole square.
struct DiscText : testing::Test
{
    LabelDesign design = MakeDesign();
    CRichChild* item = nullptr;
    const ItemLayout* layout = nullptr;

    void SetUp() override
    {
        TextSpec spec;
        spec.surface = QStringLiteral("Disc 1");
        spec.width = spec.height = 4625;
        spec.autoFit = true;
        spec.wrapStyle = QStringLiteral("Word-Wrap");
        spec.alignment = QStringLiteral("Center");
        QString text;
        for (int i = 0; i < 12; ++i)
            text += QStringLiteral("around the hub we go again ");
        spec.text = text + QStringLiteral("\b");
        item = &AddItem(design, spec);
        layout = &LayOut(*item, design);
    }
};

TEST_F(DiscText, KeepsTheMarginFromRimAndHub)
{
    const double centre = 2312;
    for (const EdgeRect& cell : layout->lineCells) {
        if (cell.isEmpty())
            continue;
        // The farthest corner stays within the rim's margin (a mil for the integer chord).
        for (const int x : {cell.left, cell.right})
            for (const int y : {cell.top, cell.bottom})
                EXPECT_LE(std::hypot(x - centre, y - centre), 2312 - 50 + 1.5);
        // The nearest point stays outside the hub's margin.
        const double nx = std::clamp(centre, double(cell.left), double(cell.right));
        const double ny = std::clamp(centre, double(cell.top), double(cell.bottom));
        EXPECT_GE(std::hypot(nx - centre, ny - centre), 800 + 50 - 1.5);
    }
}

TEST_F(DiscText, FillsLeftThenRightOfTheHubAtTheSameHeight)
{
    bool found = false;
    const std::vector<EdgeRect>& cells = layout->lineCells;
    for (size_t i = 0; i + 1 < cells.size() && !found; ++i) {
        if (cells[i].isEmpty() || cells[i].right > 2312 - 850)
            continue;
        for (size_t k = i + 1; k < cells.size(); ++k) {
            if (!cells[k].isEmpty() && cells[k].top == cells[i].top && cells[k].left >= 2312 + 850) {
                found = true;
                break;
            }
        }
    }
    EXPECT_TRUE(found);
    // Every character was placed, at a size AutoFit chose.
    for (size_t i = 0; i + 1 < cells.size(); ++i)
        EXPECT_FALSE(cells[i].isEmpty() && item->characters[i] != U' ') << i;
    EXPECT_EQ(layout->fittedHeight % 5, 0);
}

TEST(LayoutText, LayoutIsKeptUntilTheItemOrItsSurfaceChanges)
{
    LabelDesign design = MakeDesign();
    TextSpec spec;
    spec.text = QStringLiteral("Text\b");
    CRichChild& item = AddItem(design, spec);
    const auto first = LayoutTextItem(item, design);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(LayoutTextItem(item, design), first) << "kept while nothing changes";
    item.left(item.left() + 100);
    const auto moved = LayoutTextItem(item, design);
    EXPECT_NE(moved, first);
    EXPECT_EQ(moved->lineCells[0].left, 100);
    EXPECT_EQ(moved->lineCells.size(), item.characters.size());
    EXPECT_EQ(moved->glyphCells.size(), item.characters.size());

    design.FindCover(item.surface)->left(design.FindCover(item.surface)->left() - 100);
    const auto surfaceMoved = LayoutTextItem(item, design);
    EXPECT_NE(surfaceMoved, moved);
    EXPECT_EQ(surfaceMoved->lineCells[0].left, 200);
    item.fonts[0]->height += 100;
    item.MarkChanged();
    EXPECT_NE(LayoutTextItem(item, design), surfaceMoved);

    // A copy of the item is laid out for itself.
    CRichChild copy = item;
    copy.left(item.left());
    EXPECT_NE(LayoutTextItem(copy, design), LayoutTextItem(item, design));
}

TEST(LayoutText, AutoFitterFindsTheChosenSizeAndKeepsItsLayout)
{
    LabelDesign design = MakeDesign();
    TextSpec spec;
    spec.width = 4500;
    spec.height = 1500;
    spec.fontHeight = 400;
    spec.autoFit = true;
    spec.text = QStringLiteral("Greatest Hits\b");
    CRichChild& item = AddItem(design, spec);
    const auto layout = LayoutTextItem(item, design);
    ASSERT_GT(layout->fittedHeight, 405);
    TextAutoFitter fitter;
    EXPECT_EQ(fitter.FittedHeight(item, design), layout->fittedHeight);
    EXPECT_EQ(item.fonts[0]->height, 400) << "finding the size writes nothing";

    item.fonts[0]->height = layout->fittedHeight;
    item.MarkChanged();
    fitter.HeightsStored(item, design);
    EXPECT_EQ(LayoutTextItem(item, design), layout) << "the layout holds at the stored size";
    EXPECT_EQ(fitter.FittedHeight(item, design), layout->fittedHeight);

    item.bAutoFit(0);
    EXPECT_EQ(fitter.FittedHeight(item, design), 0) << "nothing to store without AutoFit";
}

TEST(LayoutText, DamagedGeometryStillEnds)
{
    LabelDesign design = MakeDesign();
    TextSpec spec;
    spec.surface = QStringLiteral("Disc 1");
    spec.autoFit = true;
    spec.text = QStringLiteral("Wide words everywhere\b");
    spec.height = 2'000'000'000;
    CRichChild& tall = AddItem(design, spec);
    EXPECT_EQ(LayOut(tall, design).lineCells.size(), tall.characters.size());
    spec.surface = QStringLiteral("Front Cover");
    spec.width = -500;
    spec.left = 2'147'000'000;
    CRichChild& inverted = AddItem(design, spec);
    EXPECT_EQ(LayOut(inverted, design).lineCells.size(), inverted.characters.size());
    EXPECT_EQ(LayOut(inverted, design).fittedHeight, 25);
}

TEST(LayOutTextItems, ReportsTheSizesAutoFitChose)
{
    LabelDesign design = MakeDesign();
    TextSpec spec;
    spec.width = 4000;
    spec.height = 1200;
    spec.autoFit = true;
    spec.text = QStringLiteral("Title\b");
    AddItem(design, spec);
    spec.autoFit = false;
    spec.text = QStringLiteral("ab\b");
    CRichChild& mixed = AddItem(design, spec);
    mixed.fonts[1] = ItemFont{QStringLiteral("Arial"), 200, 700, 0};
    spec.surface = QStringLiteral("Back Cover");
    CRichChild& orphan = AddItem(design, spec);
    orphan.surface = QStringLiteral("Nowhere");

    const std::vector<TextItemSizes> report = LayOutTextItems(design);
    ASSERT_EQ(report.size(), 3u);
    EXPECT_EQ(report[0].name, u"Text 1");
    EXPECT_TRUE(report[0].autoFit);
    ASSERT_EQ(report[0].heights.size(), 1u);
    EXPECT_GT(report[0].heights[0], 700); // one line fills the 1.2-inch block at over 70 pt
    EXPECT_EQ(report[0].heights[0] % 5, 0);
    EXPECT_EQ(report[1].heights, (std::vector<int>{120, 200}));
    EXPECT_TRUE(report[1].laidOut);
    EXPECT_FALSE(report[2].laidOut);
}

} // namespace
} // namespace tvl
