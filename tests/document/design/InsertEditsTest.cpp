#include "document/design/InsertEdits.h"
#include "document/commands/DefaultDesigns.h"
#include "document/design/DesignDocument.h"
#include "document/design/FitToPicture.h"
#include "document/design/ItemEdits.h"
#include "document/design/NewItems.h"
#include "document/model/SurfaceNames.h"
#include "images/CxImage.h"
#include "stock/BuildSurfaceItems.h"
#include "stock/CLabelDim.h"
#include "tests/document/files/SampleDesign.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

// Gives an item a picture of the size its file name says ("wide.png" 200 × 100, "tall.png" 100 × 400);
// any other name fails to load.
bool LoadTestPicture(CRichChild& item)
{
    const QSize size = item.imagePath.endsWith(u"wide.png")   ? QSize(200, 100)
                       : item.imagePath.endsWith(u"tall.png") ? QSize(100, 400)
                                                              : QSize();
    if (size.isEmpty())
        return false;
    auto image = std::make_shared<CxImage>();
    if (!image->Create(size.width(), size.height(), 24, 2))
        return false;
    item.image = std::move(image);
    return true;
}

// The place a background takes in these tests: the whole surface, code 1, moved behind the content.
bool PlaceOnWholeSurface(LabelDesign& design, CRichChild& picture)
{
    const CRichChild* cover = design.FindCover(picture.surface);
    picture.bBackground(1);
    picture.left(cover->left());
    picture.top(cover->top());
    picture.width(cover->width());
    picture.height(cover->height());
    picture.bAspectRatio(0);
    const int from = design.IndexOf(picture.name);
    design.InsertItem(design.TakeItem(from), design.IndexOf(picture.surface) + 1);
    return true;
}

class InsertEditsTest : public testing::Test
{
protected:
    void Open(const char* discMode, QStringView caseKey = u"Jewel",
              DiscPositionMode position = DiscPositionMode::DiscOnTop)
    {
        CLabelDim disc;
        CLabelDim caseStock;
        MakeBuiltInStock(disc, u"Disc");
        MakeBuiltInStock(caseStock, caseKey);
        document.BeginReplace();
        LabelDesign& design = document.MutableDesign();
        design.ReplaceItems(BuildSurfaceItems(disc, caseStock, QString::fromLatin1(discMode), position));
        design.albumHeader.discMode = QString::fromLatin1(discMode);
        FillSampleAlbum(design);
        design.albumHeader.discs[1][0] = QStringLiteral("Second Artist\b");
        document.SetDiscPositionMode(position);
        document.EndReplace({kDisc1.toString(), QStringLiteral("1"), QString::fromLatin1(discMode),
                             caseKey == u"DVD" ? QStringLiteral("DVD") : QStringLiteral("Jewel")});
    }

    const CRichChild& Cover(QStringView name) const { return *document.design().FindCover(name); }

    // A rectangle of the new item's size in the middle of the current surface.
    QRect Middle(QStringView base) const
    {
        return CentredOn(Cover(document.currentSurface()).Rect().center(), NewItemSize(base));
    }

    DesignDocument document;
};

TEST_F(InsertEditsTest, EachInsertHasTheDefaultsOfItsKindOnItsSheetAndIsOneUndoStep)
{
    struct Case
    {
        const char* discMode;
        const char* surface;
        const char* name;
        const char* expectedName;
        ItemKind kind;
        int linked;
        const char* text;
        const char* wrap;
        const char* layout;
        QSize size;
    };
    const Case cases[] = {
        {"Single",
         "Disc 1",
         "Artist",
         "Artist(1)",
         ItemKind::Text,
         1,
         "Artist",
         "Word-Wrap",
         "Table Format",
         {2000, 400}},
        {"Double",
         "Disc 1",
         "Artist - Disc 2",
         "Artist - Disc 2(1)",
         ItemKind::Text,
         1,
         "Second Artist",
         "Word-Wrap",
         "Table Format",
         {2000, 400}},
        {"Single",
         "Disc 1",
         "Text",
         "Text 1",
         ItemKind::Text,
         0,
         "Text",
         "Word-Wrap",
         "Table Format",
         {2000, 400}},
        {"Single",
         "Disc 1",
         "Track List",
         "Track List(1)",
         ItemKind::Track,
         1,
         nullptr,
         "Word-Wrap",
         "Bottom",
         {1500, 1500}},
        {"Single",
         "Back Cover",
         "Track List",
         "Track List(1)",
         ItemKind::Track,
         1,
         nullptr,
         "Multi-Line",
         "Table Format",
         {1500, 1500}},
        {"Double",
         "Front Cover",
         "Year - Disc 1",
         "Year - Disc 1(1)",
         ItemKind::Text,
         1,
         nullptr,
         "Word-Wrap",
         "Table Format",
         {2000, 400}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expectedName);
        Open(c.discMode);
        document.ShowSurface(QString::fromLatin1(c.surface));
        const QString name = QString::fromLatin1(c.name);
        const QRect rect = Middle(name);
        ASSERT_NE(CreateTextItem(document, name, rect, true), nullptr);
        const CRichChild* item = document.design().FindItem(QString::fromLatin1(c.expectedName));
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(document.selectedName(), item->name);
        EXPECT_EQ(item->kind, c.kind);
        EXPECT_EQ(item->surface, QString::fromLatin1(c.surface));
        EXPECT_EQ(item->pageCode, Cover(item->surface).pageCode);
        EXPECT_EQ(item->Rect(), rect);
        EXPECT_EQ(item->Rect().size(), c.size);
        EXPECT_EQ(item->bLinkText(), c.linked);
        EXPECT_EQ(item->Text(), c.text ? QString::fromLatin1(c.text) + u'\b'
                                       : document.design().LinkedAlbumText(item->name));
        EXPECT_EQ(item->wrapStyle(), QString::fromLatin1(c.wrap));
        EXPECT_EQ(item->textLayout(), QString::fromLatin1(c.layout));
        EXPECT_EQ(item->alignment(), QStringLiteral("Center"));
        EXPECT_EQ(item->angle(), QStringLiteral("0 degrees"));
        EXPECT_EQ(item->bAutoFit(), 1);
        if (c.kind == ItemKind::Track) {
            EXPECT_EQ(item->trackNumbers(), QStringLiteral("Track Numbers && Times"));
        }
        ASSERT_FALSE(item->fonts.empty());
        EXPECT_EQ(item->fonts[0], (ItemFont{QStringLiteral("Arial"), 400, 400, 0}));
        EXPECT_EQ(item->colors[0], std::optional<ItemColor>(0));
        EXPECT_EQ(item->characters.size(), item->underlines.size());
        EXPECT_EQ(document.history().stepCount(), 1);
        EXPECT_TRUE(document.file().modified);

        document.Undo();
        EXPECT_EQ(document.design().FindItem(QString::fromLatin1(c.expectedName)), nullptr);
        document.Redo();
        EXPECT_NE(document.design().FindItem(QString::fromLatin1(c.expectedName)), nullptr);
    }
}

TEST_F(InsertEditsTest, ARectangleOffTheCurrentSurfaceGoesToTheNearestOneOnlyWhereTwoAreInUse)
{
    struct Case
    {
        const char* title;
        const char* discMode;
        DiscPositionMode position;
        const char* expectedSurface;
    };
    const Case cases[] = {
        {"double design", "Double", DiscPositionMode::DiscOnTop, "Disc 2"},
        {"single design printing one disc", "Single", DiscPositionMode::DiscOnTop, "Disc 1"},
        {"single design printing the disc twice", "Single", DiscPositionMode::DuplicateDisc, "Disc 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        Open(c.discMode, u"Jewel", c.position);
        const QRect disc2 = Cover(kDisc2).Rect();
        // Just below the second disc's square, nearer to it than to the first disc.
        const QRect rect(disc2.center().x() - 1000, disc2.bottom() + 300, 2000, 400);
        const CRichChild* item = CreateTextItem(document, QStringLiteral("Text"), rect, true);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->surface, QString::fromLatin1(c.expectedSurface));
        EXPECT_EQ(document.currentSurface(), item->surface);
        EXPECT_TRUE(Cover(item->surface).Rect().contains(item->Rect())) << "shifted inside its surface";
    }
}

TEST_F(InsertEditsTest, OnACaseSheetWithBothCoversTheNearerCoverTakesTheItemTiesToTheFront)
{
    Open("Single");
    // Both covers side by side on one sheet, as some label stocks print them.
    CRichChild& front = *document.MutableDesign().FindCover(kFrontCover);
    CRichChild& back = *document.MutableDesign().FindCover(kBackCover);
    back.pageCode = front.pageCode;
    back.left(front.left() + front.width() + 2000);
    back.top(front.top());
    back.width(front.width());
    back.height(front.height());
    document.ShowSurface(kFrontCover.toString());
    // Halfway between the two covers' centres.
    const int gapMiddle = front.left() + front.width() + 1000;
    const int middleY = front.top() + front.height() / 2;

    const CRichChild* nearBack =
        CreateTextItem(document, QStringLiteral("Text"), QRect(gapMiddle + 99, middleY - 1, 2, 2), false);
    ASSERT_NE(nearBack, nullptr);
    EXPECT_EQ(nearBack->surface, kBackCover);
    EXPECT_EQ(nearBack->left(), back.left()) << "moved inside the back cover";
    document.ShowSurface(kBackCover.toString());
    const CRichChild* tie =
        CreateTextItem(document, QStringLiteral("Text"), QRect(gapMiddle - 1, middleY - 1, 2, 2), false);
    ASSERT_NE(tie, nullptr);
    EXPECT_EQ(tie->surface, kFrontCover);
}

TEST_F(InsertEditsTest, PlacementCentresInTheFreeAreaWithAJitterThatKeepsInsertsApartAndInside)
{
    Open("Single");
    const CRichChild& disc = Cover(kDisc1);
    const QSize size = NewItemSize(u"Artist");
    const QRect low =
        PlaceNewItem(document.design(), kDisc1.toString(), nullptr, size, true, [] { return 0; });
    const QRect high =
        PlaceNewItem(document.design(), kDisc1.toString(), nullptr, size, true, [] { return 999; });
    const QRect exact =
        PlaceNewItem(document.design(), kDisc1.toString(), nullptr, size, true, [] { return 1; });
    EXPECT_NE(low.topLeft(), high.topLeft());
    // Left of the hub: the disc's left edge to its centre less half the hub and the text margin.
    const int areaRight = disc.left() + disc.width() / 2 - disc.height() / 2 - disc.textMargin();
    for (const QRect& r : {low, high, exact}) {
        EXPECT_GE(r.left(), disc.left());
        EXPECT_LE(r.x() + r.width(), areaRight);
    }
    EXPECT_EQ(high.top(), disc.top() + (disc.width() - 400) / 2 + 499);
    EXPECT_EQ(exact.top(), disc.top() + (disc.width() - 400) / 2) << "a jitter of 1 moves by 1 / 2 = 0";

    EXPECT_EQ(CentredOn(QPoint(1001, 501), QSize(2000, 400)), QRect(1, 301, 2000, 400));
    EXPECT_EQ(ShiftInside(QRect(-50, 10, 100, 100), QRect(0, 0, 1000, 1000)), QRect(0, 10, 100, 100));
    EXPECT_EQ(ShiftInside(QRect(950, 990, 100, 100), QRect(0, 0, 1000, 1000)), QRect(900, 900, 100, 100));
}

TEST_F(InsertEditsTest, APictureIsFittedToItsProportionsAndAFileThatFailsLeavesNoTrace)
{
    Open("Single");
    document.ShowSurface(kFrontCover.toString());
    const QRect rect = Middle(u"Image");

    EXPECT_EQ(CreatePictureItem(document, rect, QStringLiteral("/pictures/broken.png"), LoadTestPicture),
              nullptr);
    EXPECT_EQ(document.history().stepCount(), 0);
    EXPECT_FALSE(document.file().modified);
    EXPECT_EQ(document.design().FindItem(u"Image(1)"), nullptr);

    const CRichChild* wide =
        CreatePictureItem(document, rect, QStringLiteral("/pictures/wide.png"), LoadTestPicture);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide->name, QStringLiteral("Image(1)"));
    EXPECT_EQ(wide->Rect(), QRect(rect.topLeft(), QSize(1500, 750)));
    EXPECT_EQ(wide->bAspectRatio(), 1);
    EXPECT_EQ(wide->bBackground(), 0);
    EXPECT_EQ(wide->imagePath, QStringLiteral("/pictures/wide.png"));
    EXPECT_EQ(document.selectedName(), wide->name);
    EXPECT_EQ(document.design().itemList.back()->name, wide->name);
    EXPECT_EQ(document.history().stepCount(), 1);

    const CRichChild* tall =
        CreatePictureItem(document, rect, QStringLiteral("/pictures/tall.png"), LoadTestPicture);
    ASSERT_NE(tall, nullptr);
    EXPECT_EQ(tall->Rect().size(), QSize(375, 1500));
}

TEST_F(InsertEditsTest, ASecondBackgroundDeletesTheFirstAndOneUndoBringsItBack)
{
    Open("Single");
    document.ShowSurface(kFrontCover.toString());
    const QRect rect = Middle(u"Image");
    CreatePictureItem(document, rect, QStringLiteral("wide.png"), LoadTestPicture);
    CreatePictureItem(document, rect, QStringLiteral("tall.png"), LoadTestPicture);
    ASSERT_TRUE(SetAsBackground(document, QStringLiteral("Image(1)"), PlaceOnWholeSurface));
    EXPECT_EQ(document.design().IndexOf(u"Image(1)"), document.design().IndexOf(kFrontCover) + 1);
    const int steps = document.history().stepCount();

    ASSERT_TRUE(SetAsBackground(document, QStringLiteral("Image(2)"), PlaceOnWholeSurface));
    EXPECT_EQ(document.history().stepCount(), steps + 1);
    EXPECT_EQ(document.design().FindItem(u"Image(1)"), nullptr);
    const CRichChild& background = *document.design().FindItem(u"Image(2)");
    EXPECT_EQ(background.bBackground(), 1);
    EXPECT_EQ(background.Rect(), Cover(kFrontCover).Rect());

    document.Undo();
    ASSERT_NE(document.design().FindItem(u"Image(1)"), nullptr);
    EXPECT_EQ(document.design().FindItem(u"Image(1)")->bBackground(), 1);
    EXPECT_EQ(document.design().FindItem(u"Image(2)")->bBackground(), 0);
    EXPECT_EQ(document.design().FindItem(u"Image(2)")->Rect().size(), QSize(375, 1500));
}

TEST_F(InsertEditsTest, BringToFrontShrinksABackgroundNearTheMiddleOfItsArea)
{
    Open("Single");
    document.ShowSurface(kBackCover.toString());
    CreatePictureItem(document, Middle(u"Image"), QStringLiteral("wide.png"), LoadTestPicture);
    CreateTextItem(document, QStringLiteral("Text"), Middle(u"Text"), true);
    ASSERT_TRUE(SetAsBackground(document, QStringLiteral("Image(1)"), PlaceOnWholeSurface));
    const int steps = document.history().stepCount();

    ASSERT_TRUE(BringPictureToFront(document, QStringLiteral("Image(1)"), [] { return 500; }));
    const CRichChild& picture = *document.design().FindItem(u"Image(1)");
    EXPECT_EQ(document.design().itemList.back().get(), &picture);
    EXPECT_EQ(picture.bBackground(), 0);
    EXPECT_EQ(picture.Rect().size(), QSize(1250, 1250));
    EXPECT_EQ(picture.Rect().center(), Cover(kBackCover).Rect().center());
    EXPECT_EQ(document.selectedName(), picture.name);
    EXPECT_EQ(document.history().stepCount(), steps + 1);

    document.Undo();
    EXPECT_EQ(document.design().FindItem(u"Image(1)")->bBackground(), 1);
    EXPECT_EQ(document.design().FindItem(u"Image(1)")->Rect(), Cover(kBackCover).Rect());
}

TEST_F(InsertEditsTest, LockingTheAspectRatioFitsTheBoxAndFallsBackWithoutAPicture)
{
    Open("Single");
    document.ShowSurface(kFrontCover.toString());
    CreatePictureItem(document, Middle(u"Image"), QStringLiteral("wide.png"), LoadTestPicture);
    ASSERT_TRUE(SetAspectLock(document, QStringLiteral("Image(1)"), false));
    document.MoveResize(QStringLiteral("Image(1)"), QRect(100, 100, 1000, 1000));
    const int steps = document.history().stepCount();

    ASSERT_TRUE(SetAspectLock(document, QStringLiteral("Image(1)"), true));
    EXPECT_EQ(document.design().FindItem(u"Image(1)")->Rect(), QRect(100, 100, 1000, 500));
    EXPECT_EQ(document.design().FindItem(u"Image(1)")->bAspectRatio(), 1);
    EXPECT_EQ(document.history().stepCount(), steps + 1);

    document.MutableDesign().FindItem(u"Image(1)")->image.reset();
    ASSERT_TRUE(SetAspectLock(document, QStringLiteral("Image(1)"), false));
    const int unlocked = document.history().stepCount();
    EXPECT_FALSE(SetAspectLock(document, QStringLiteral("Image(1)"), true));
    EXPECT_EQ(document.design().FindItem(u"Image(1)")->bAspectRatio(), 0);
    EXPECT_EQ(document.history().stepCount(), unlocked);
}

TEST_F(InsertEditsTest, FitToPictureRefusesPicturesWithoutUsableProportions)
{
    CRichChild item;
    int width = 1000;
    int height = 1000;
    EXPECT_FALSE(FitToPicture(item, width, height));
    item.image = std::make_shared<CxImage>();
    ASSERT_TRUE(item.image->Create(1002, 2, 24, 2));
    EXPECT_FALSE(FitToPicture(item, width, height)) << "501 to 1";
    ASSERT_TRUE(item.image->Create(1000, 2, 24, 2));
    EXPECT_TRUE(FitToPicture(item, width, height));
    EXPECT_EQ(QSize(width, height), QSize(1000, 2));
}

TEST_F(InsertEditsTest, TrackLayoutsOnTheDiscPlaceTheListAndTableFormatEndsTrackWrap)
{
    Open("Single");
    const CRichChild* list =
        CreateTextItem(document, QStringLiteral("Track List"), Middle(u"Track List"), true);
    ASSERT_NE(list, nullptr);
    const QString name = list->name;
    const CRichChild& d = Cover(kDisc1);
    const int rim = d.width() / 2 - d.height() / 2 - d.textMargin();
    struct Case
    {
        const char* layout;
        QRect rect;
        const char* wrap;
    };
    const Case cases[] = {
        {"Left Side", QRect(d.left(), d.top() + 900, d.width() / 2, d.width() - 1600), "Word-Wrap"},
        {"Right Side", QRect(d.left() + d.width() / 2, d.top() + 900, d.width() / 2, d.width() - 1600),
         "Word-Wrap"},
        {"Top", QRect(d.left(), d.top(), d.width(), rim), "Track-Wrap"},
        {"Bottom", QRect(d.left(), d.top() + d.width() - rim, d.width(), rim), "Track-Wrap"},
        {"2 Columns", QRect(d.left(), d.top() + d.width() / 2 - 800, d.width(), 1650), "Word-Wrap"},
        {"Top && Bottom", QRect(d.left(), d.top(), d.width(), d.width()), "Track-Wrap"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layout);
        document.SetItemProperty(name, ItemProperty::Angle, QStringLiteral("90 degrees"));
        const int steps = document.history().stepCount();
        ASSERT_TRUE(SetTrackLayout(document, name, QString::fromLatin1(c.layout)));
        EXPECT_EQ(document.history().stepCount(), steps + 1);
        const CRichChild& item = *document.design().FindItem(name);
        EXPECT_EQ(item.Rect(), c.rect);
        EXPECT_EQ(item.wrapStyle(), QString::fromLatin1(c.wrap));
        EXPECT_EQ(item.angle(), QStringLiteral("0 degrees"));
        EXPECT_EQ(item.trackNumbers(), QStringLiteral("Track Numbers"));
        EXPECT_EQ(item.textLayout(), QString::fromLatin1(c.layout));
    }
    EXPECT_EQ(rim, 4625 / 2 - 1600 / 2 - 50);

    const QRect before = document.design().FindItem(name)->Rect();
    ASSERT_TRUE(SetTrackLayout(document, name, QStringLiteral("Table Format")));
    EXPECT_EQ(document.design().FindItem(name)->wrapStyle(), QStringLiteral("Word-Wrap"));
    EXPECT_EQ(document.design().FindItem(name)->Rect(), before) << "no geometry for other layouts";
}

TEST_F(InsertEditsTest, CentringMovesAnItemToTheMiddleOfItsSurfaceOnOneAxis)
{
    Open("Single");
    document.ShowSurface(kFrontCover.toString());
    const CRichChild* text = CreateTextItem(document, QStringLiteral("Text"), Middle(u"Text"), true);
    const QString name = text->name;
    document.MoveResize(name, QRect(Cover(kFrontCover).left(), Cover(kFrontCover).top(), 2000, 400));
    const QRect cover = Cover(kFrontCover).Rect();

    ASSERT_TRUE(CentreOnSurface(document, name, true));
    EXPECT_EQ(document.design().FindItem(name)->Rect(),
              QRect(cover.x() + (cover.width() - 2000) / 2, cover.y(), 2000, 400));
    ASSERT_TRUE(CentreOnSurface(document, name, false));
    EXPECT_EQ(
        document.design().FindItem(name)->Rect(),
        QRect(cover.x() + (cover.width() - 2000) / 2, cover.y() + (cover.height() - 400) / 2, 2000, 400));
    EXPECT_FALSE(CentreOnSurface(document, kFrontCover.toString(), true));
}

} // namespace
} // namespace tvl
