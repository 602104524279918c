#include "document/design/ColourEdits.h"
#include "document/design/DesignDocument.h"
#include "tests/document/design/SampleDocument.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

constexpr ItemColor kRed = 0x000000ff;
constexpr ItemColor kWhite = 0x00ffffff;

CRichChild& Add(LabelDesign& design, const char* name, const char* kind, const char* surface,
                const char* page, QRect rect)
{
    auto item = std::make_unique<CRichChild>();
    item->name = QString::fromLatin1(name);
    item->SetKindName(QString::fromLatin1(kind));
    item->surface = QString::fromLatin1(surface);
    item->pageCode = QString::fromLatin1(page);
    item->left(rect.x());
    item->top(rect.y());
    item->width(rect.width());
    item->height(rect.height());
    return design.InsertItem(std::move(item));
}

CRichChild& AddBackground(LabelDesign& design, const char* name, const char* surface, const char* page,
                          int code, QRect rect)
{
    CRichChild& picture = Add(design, name, "Image", surface, page, rect);
    picture.bBackground(code);
    return picture;
}

void SetText(CRichChild& item, const QString& text)
{
    item.characters = ToCharacters(text);
    const size_t count = item.characters.size();
    item.fonts.assign(count, std::nullopt);
    item.colors.assign(count, std::nullopt);
    item.underlines.assign(count, 0);
    item.fonts[0] = ItemFont{QStringLiteral("Arial"), 100, 400, 0};
    item.colors[0] = 0x00000000;
}

// A back cover of 6000 × 4650 mils with spines of 250 and two backgrounds over all of it; a folded front
// cover with a background on its front panel and one on its inside panel.
LabelDesign CoveredDesign()
{
    LabelDesign design;
    Add(design, "Page 2", "Page", "", "2", QRect(0, 0, 8500, 11000));
    Add(design, "Page 3", "Page", "", "3", QRect(0, 0, 8500, 11000));
    CRichChild& front = Add(design, "Front Cover", "Cover", "Front Cover", "2", QRect(0, 0, 9500, 4750));
    front.coverFolded = 1;
    front.colors = {kWhite};
    Add(design, "Front Cover (Inside)", "Boundary", "Front Cover", "2", QRect(0, 0, 4750, 4750)).colors = {
        kWhite};
    CRichChild& back = Add(design, "Back Cover", "Cover", "Back Cover", "3", QRect(100, 200, 6000, 4650));
    back.coverSpine = 250;
    back.colors = {kWhite};
    Add(design, "Left Tab", "Boundary", "Back Cover", "3", QRect(100, 200, 250, 4650)).colors = {kWhite};
    Add(design, "Right Tab", "Boundary", "Back Cover", "3", QRect(5850, 200, 250, 4650)).colors = {kWhite};
    AddBackground(design, "Image(1)", "Front Cover", "2", 1, QRect(4750, 0, 4750, 4750));
    AddBackground(design, "Image(2)", "Front Cover", "2", 2, QRect(0, 0, 4750, 4750));
    AddBackground(design, "Image(3)", "Back Cover", "3", 1, QRect(98, 198, 6004, 4654));
    AddBackground(design, "Image(4)", "Back Cover", "3", 1, QRect(1000, 1000, 500, 500));
    SetText(Add(design, "Text 1", "Text", "Back Cover", "3", QRect(500, 500, 2000, 400)),
            QStringLiteral("one two three\b"));
    return design;
}

QStringList Order(const DesignDocument& document)
{
    QStringList names;
    for (const auto& item : document.design().itemList)
        names.append(item->name);
    return names;
}

class ColourEditsTest : public DocumentTest
{
protected:
    ColourEditsTest()
    {
        LabelDesign design = CoveredDesign();
        document.BeginReplace();
        document.MutableDesign().ReplaceItems(std::move(design.itemList));
        document.EndReplace({QStringLiteral("Back Cover"), QStringLiteral("3"), QStringLiteral("Single"),
                             QStringLiteral("Jewel")});
    }
    bool Colour(const char* name, int start = 0, int end = 0, ItemColor colour = kRed)
    {
        return ApplyTextColour(document, QString::fromLatin1(name), start, end, colour, u"Jewel");
    }
    std::vector<ItemColor> Shown(const char* name) const
    {
        std::vector<ItemColor> colours;
        for (int i = 0; i < static_cast<int>(Item(name).characters.size()); ++i)
            colours.push_back(ColourAt(Item(name), i).value_or(0xdeadbeef));
        return colours;
    }
};

TEST_F(ColourEditsTest, ACaretColoursTheWholeTextAndASelectionOneRunPerRange)
{
    ASSERT_TRUE(Colour("Text 1", 5, 5));
    EXPECT_EQ(Item("Text 1").colors[0], kRed);
    EXPECT_EQ(std::count(Item("Text 1").colors.begin(), Item("Text 1").colors.end(), std::nullopt),
              static_cast<std::ptrdiff_t>(Item("Text 1").colors.size() - 1))
        << "every other slot is freed";

    ASSERT_TRUE(Colour("Text 1", 4, 7, 0x0000ff00));
    const ColourSlots& runs = Item("Text 1").colors;
    EXPECT_EQ(runs[4], 0x0000ff00u) << "only the first slot of the range is set";
    EXPECT_FALSE(runs[5].has_value());
    EXPECT_FALSE(runs[6].has_value());
    EXPECT_EQ(runs[7], kRed) << "the text after the range keeps its colour";
    const std::vector<ItemColor> shown = Shown("Text 1");
    EXPECT_EQ(shown[3], kRed);
    EXPECT_EQ(shown[6], 0x0000ff00u);
    EXPECT_EQ(shown[12], kRed);
    EXPECT_EQ(document.history().stepCount(), 2);
    EXPECT_FALSE(Colour("Text 1", 3, 99)) << "outside the text";
}

TEST_F(ColourEditsTest, IsAreaCoveredKeepsTwoMilsOfEachEdge)
{
    const CRichChild& back = Item("Back Cover");
    struct Case
    {
        QRect picture;
        int spine;
        bool covered;
    } const cases[] = {
        {QRect(102, 202, 5996, 4646), 0, true},   // every edge 2 mils short
        {QRect(103, 200, 6000, 4650), 0, false},  // left 3 mils short
        {QRect(100, 203, 6000, 4650), 0, false},  // top
        {QRect(100, 200, 5997, 4650), 0, false},  // right
        {QRect(100, 200, 6000, 4647), 0, false},  // bottom
        {QRect(352, 200, 5496, 4650), 250, true}, // the spines need no cover
        {QRect(352, 200, 5496, 4650), 0, false},
    };
    for (const Case& c : cases) {
        LabelDesign design;
        CRichChild& area = Add(design, "Back Cover", "Cover", "Back Cover", "3", back.Rect());
        area.coverSpine = c.spine;
        AddBackground(design, "Image(1)", "Back Cover", "3", 1, c.picture);
        EXPECT_EQ(IsAreaCovered(design, area), c.covered)
            << c.picture.x() << "," << c.picture.y() << " " << c.picture.width() << "x" << c.picture.height();
    }

    // Only the first fitting background counts: Image(3) covers the back cover, Image(4) would not.
    EXPECT_TRUE(IsAreaCovered(document.design(), back));
    // A folded front cover is its front panel: the right half.
    EXPECT_TRUE(IsAreaCovered(document.design(), Item("Front Cover")));
    CRichChild& front = *document.MutableDesign().FindItem(u"Front Cover");
    front.coverFolded = 0;
    EXPECT_FALSE(IsAreaCovered(document.design(), front));
    // Code 1 fits any area: the front panel's picture comes before the inside panel's own one.
    EXPECT_FALSE(IsAreaCovered(document.design(), Item("Front Cover (Inside)")));
    document.MutableDesign().FindItem(u"Image(1)")->bBackground(0);
    EXPECT_TRUE(IsAreaCovered(document.design(), Item("Front Cover (Inside)")));
    // A tab's code fits only that tab.
    document.MutableDesign().FindItem(u"Image(3)")->bBackground(3);
    EXPECT_FALSE(IsAreaCovered(document.design(), back)) << "Image(4) is the first that fits";
    EXPECT_TRUE(IsAreaCovered(document.design(), Item("Left Tab")));
    EXPECT_FALSE(IsAreaCovered(document.design(), Item("Right Tab")));
}

TEST_F(ColourEditsTest, AColourOnACoveredFrontCoverBringsItInFrontAndDeletesItsPicture)
{
    const QStringList before = Order(document);
    ASSERT_TRUE(Colour("Front Cover"));
    EXPECT_EQ(Item("Front Cover").colors, ColourSlots{kRed});
    EXPECT_EQ(document.design().FindItem(u"Image(1)"), nullptr);
    ASSERT_NE(document.design().FindItem(u"Image(2)"), nullptr) << "the inside panel keeps its picture";
    EXPECT_EQ(document.design().IndexOf(u"Front Cover") + 1, document.design().IndexOf(u"Image(2)"))
        << "where its picture stood";
    EXPECT_EQ(document.selectedName(), QStringLiteral("Front Cover"));

    document.Undo();
    EXPECT_EQ(Order(document), before);
    EXPECT_EQ(Item("Front Cover").colors, ColourSlots{kWhite});
    ASSERT_NE(document.design().FindItem(u"Image(1)"), nullptr);
}

TEST_F(ColourEditsTest, TheBackCoverLosesItsBackgroundsOnlyOnceOneStandsBeforeAllItsAreas)
{
    const QStringList before = Order(document);
    ASSERT_TRUE(Colour("Back Cover"));
    EXPECT_EQ(document.design().IndexOf(u"Back Cover"), document.design().IndexOf(u"Image(3)") + 1);
    EXPECT_NE(document.design().FindItem(u"Image(3)"), nullptr) << "the tabs still stand before it";
    ASSERT_TRUE(Colour("Left Tab"));
    EXPECT_NE(document.design().FindItem(u"Image(3)"), nullptr);
    ASSERT_TRUE(Colour("Right Tab"));
    EXPECT_EQ(document.design().FindItem(u"Image(3)"), nullptr);
    EXPECT_EQ(document.design().FindItem(u"Image(4)"), nullptr) << "every background of the surface";
    EXPECT_NE(document.design().FindItem(u"Image(1)"), nullptr) << "another surface keeps its own";
    EXPECT_EQ(document.history().stepCount(), 3);

    // In front of its picture already: only the colour changes.
    const QStringList after = Order(document);
    ASSERT_TRUE(Colour("Back Cover", 0, 0, kWhite));
    EXPECT_EQ(Order(document), after);

    for (int i = 0; i < 4; ++i)
        document.Undo();
    EXPECT_EQ(Order(document), before);
    EXPECT_EQ(Item("Right Tab").colors, ColourSlots{kWhite});
}

TEST_F(ColourEditsTest, PreviewsChangeOnlyTheColourAndRecordNothing)
{
    const QStringList before = Order(document);
    const ColourSlots original = Item("Back Cover").colors;
    ASSERT_TRUE(PreviewTextColour(document, QStringLiteral("Back Cover"), 0, 0, kRed));
    EXPECT_EQ(Item("Back Cover").colors, ColourSlots{kRed});
    EXPECT_EQ(Order(document), before) << "no reordering, no picture deleted";
    EXPECT_EQ(document.history().stepCount(), 0);
    EXPECT_FALSE(document.file().modified);

    // The pick: back to the colour the dialog opened with, then one step from there.
    ASSERT_TRUE(RestoreColourSlots(document, QStringLiteral("Back Cover"), original));
    ASSERT_TRUE(Colour("Back Cover", 0, 0, 0x0000ff00));
    EXPECT_EQ(document.history().stepCount(), 1);
    document.Undo();
    EXPECT_EQ(Item("Back Cover").colors, original);
    EXPECT_EQ(Order(document), before);

    const ColourSlots text = Item("Text 1").colors;
    ASSERT_TRUE(PreviewTextColour(document, QStringLiteral("Text 1"), 4, 7, kRed));
    EXPECT_EQ(Shown("Text 1")[5], kRed);
    EXPECT_EQ(Shown("Text 1")[8], 0x00000000u);
    ASSERT_TRUE(RestoreColourSlots(document, QStringLiteral("Text 1"), text));
    EXPECT_EQ(Item("Text 1").colors, text);
    EXPECT_FALSE(RestoreColourSlots(document, QStringLiteral("Text 1"), ColourSlots{kRed})) << "wrong length";
    EXPECT_EQ(document.history().stepCount(), 1);
}

} // namespace
} // namespace tvl
