#include "document/design/DesignDocument.h"
#include "document/design/AutoFitter.h"
#include "tests/document/design/SampleDocument.h"
#include "tests/document/files/SampleDesign.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

class Recorder : public DesignListener
{
public:
    void DesignChanged(const DesignChange& change) override { changes.push_back(change); }
    std::vector<DesignChange> changes;
};

class DesignDocumentTest : public SampleDocumentTest
{
protected:
    DesignDocumentTest() { document.AddListener(&recorder); }

    Recorder recorder;
};

TEST_F(DesignDocumentTest, EveryEditIsOneStepAndReportsTheSurfacesItTouched)
{
    struct Case
    {
        const char* title;
        std::function<bool(DesignDocument&)> edit;
        SurfaceSet surfaces;
    };
    const Case cases[] = {
        {"move a text on disc 1",
         [](DesignDocument& d) { return d.MoveResize(QStringLiteral("Text 1"), QRect(10, 20, 30, 40)); },
         SurfaceSet().set(Disc1Surface)},
        {"a font run of the track list on the back",
         [](DesignDocument& d) {
             return d.SetFontRun(QStringLiteral("Track List(1)"), 1, 2,
                                 ItemFont{QStringLiteral("Arial"), 90, 700, 0});
         },
         SurfaceSet().set(BackSurface)},
        {"a sheet outline touches every surface on it",
         [](DesignDocument& d) { return d.MoveResize(QStringLiteral("Page 1"), QRect(5, 5, 8000, 9000)); },
         SurfaceSet().set(Disc1Surface).set(Disc2Surface)},
        {"typing into a linked artist changes the field and both places it shows",
         [](DesignDocument& d) {
             return d.ReplaceCharacters(QStringLiteral("Artist(1)"), 0, 3, QStringLiteral("A"));
         },
         SurfaceSet().set(FrontSurface)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        const int steps = document.history().stepCount();
        recorder.changes.clear();
        document.MarkSaved();
        ASSERT_TRUE(c.edit(document));
        EXPECT_EQ(document.history().stepCount(), steps + 1);
        EXPECT_TRUE(document.file().modified);
        EXPECT_EQ(document.editsSinceSave(), 1);
        ASSERT_EQ(recorder.changes.size(), 1u) << "nested edits report once";
        EXPECT_EQ(recorder.changes[0].surfaces, c.surfaces);
    }
    EXPECT_EQ(Item("Artist(1)").Text(), QStringLiteral("A Artist\b"));
    EXPECT_EQ(document.design().LinkedAlbumText(u"Artist"), QStringLiteral("A Artist\b"));
}

TEST_F(DesignDocumentTest, AnEditThatCannotApplyChangesNothing)
{
    EXPECT_FALSE(document.MoveResize(QStringLiteral("Nothing"), QRect(1, 1, 1, 1)));
    EXPECT_FALSE(document.ReplaceCharacters(QStringLiteral("Text 1"), 0, 99, QStringLiteral("x")));
    EXPECT_FALSE(document.SetBackground(QStringLiteral("Text 1"), 1));
    // Linked, a free text would be saved without its text.
    EXPECT_FALSE(document.SetItemProperty(QStringLiteral("Text 1"), ItemProperty::LinkText, 1));
    EXPECT_EQ(document.history().stepCount(), 0);
    EXPECT_TRUE(recorder.changes.empty());
    EXPECT_FALSE(document.file().modified);
}

TEST_F(DesignDocumentTest, AlbumFieldsAreUndoneWithoutBorrowingAnItem)
{
    ASSERT_TRUE(document.SetAlbumField(QStringLiteral("Artist"), QStringLiteral("Someone else\b")));
    EXPECT_EQ(Item("Artist(1)").Text(), QStringLiteral("Someone else\b"));
    for (const auto& item : document.design().itemList)
        EXPECT_TRUE(item->imagePath.isEmpty()) << item->name.toStdString();
    document.Undo();
    EXPECT_EQ(Item("Artist(1)").Text(), QStringLiteral("The Artist\b"));
    EXPECT_EQ(document.design().albumHeader.Field(0, AlbumField::Artist), QStringLiteral("The Artist\b"));
    document.Redo();
    EXPECT_EQ(document.design().albumHeader.Field(0, AlbumField::Artist), QStringLiteral("Someone else\b"));
    EXPECT_EQ(recorder.changes.back().kind, EditKind::Redo);
    EXPECT_EQ(recorder.changes.back().surfaces, SurfaceSet().set(FrontSurface));
}

TEST_F(DesignDocumentTest, BackgroundsSitAfterTheirSurfaceAndBringToFrontGoesLast)
{
    ASSERT_TRUE(document.SetBackground(QStringLiteral("Image(2)"), 1));
    const int inside = document.design().IndexOf(u"Front Cover (Inside)");
    EXPECT_EQ(document.design().IndexOf(u"Image(2)"), inside + 1);
    EXPECT_EQ(Item("Image(2)").bBackground(), 1);
    ASSERT_TRUE(document.BringToFront(QStringLiteral("Image(2)")));
    EXPECT_EQ(document.design().itemList.back()->name, QStringLiteral("Image(2)"));
    EXPECT_EQ(document.history().stepCount(), 2) << "bring to front is one step";
    EXPECT_TRUE(recorder.changes.back().Has(ChangedAspect::Order));
}

TEST_F(DesignDocumentTest, ReplacingTheDesignClearsHistoryAndTakesTheLiveState)
{
    ASSERT_TRUE(document.DeleteItem(QStringLiteral("Text 1")));
    LabelDesign other = MakeSampleDesign();
    document.BeginReplace();
    document.MutableDesign().ReplaceItems(std::move(other.itemList));
    document.EndReplace(SampleState("Double", "DVD"));
    EXPECT_EQ(document.history().stepCount(), 0);
    EXPECT_FALSE(document.file().modified);
    EXPECT_TRUE(document.IsDouble());
    EXPECT_EQ(document.caseKind(), QStringLiteral("DVD"));
    EXPECT_EQ(document.currentSurface(), QStringLiteral("Front Cover"));
    EXPECT_TRUE(recorder.changes.back().replaced);
}

// Fits a text to a tenth of its width, so that a test can predict every height.
class WidthFitter : public AutoFitter
{
public:
    int FittedHeight(const CRichChild& item, const LabelDesign&) override
    {
        asked.append(item.name);
        return item.width() / 10;
    }
    void HeightsStored(const CRichChild& item, const LabelDesign&) override { stored.append(item.name); }
    QStringList asked;
    QStringList stored;
};

std::vector<int> Heights(const CRichChild& item)
{
    std::vector<int> heights;
    for (const auto& font : item.fonts) {
        if (font)
            heights.push_back(font->height);
    }
    return heights;
}

TEST_F(DesignDocumentTest, FittedHeightsAreStoredInsideTheEditsOwnStep)
{
    WidthFitter fitter;
    document.SetAutoFitter(&fitter);
    const std::vector<int> original = Heights(Item("Text 1"));
    const int autoFit = Item("Text 1").bAutoFit();
    const int width = Item("Text 1").width();
    ASSERT_NE(original, std::vector<int>(original.size(), width / 10));

    ASSERT_TRUE(document.SetItemProperty(QStringLiteral("Text 1"), ItemProperty::AutoFit, 1));
    EXPECT_EQ(Heights(Item("Text 1")), std::vector<int>(original.size(), width / 10));
    EXPECT_EQ(document.history().stepCount(), 1) << "the fitted heights belong to the edit's step";
    EXPECT_TRUE(recorder.changes.back().Has(ChangedAspect::Runs));
    EXPECT_EQ(fitter.stored, QStringList{QStringLiteral("Text 1")});

    ASSERT_TRUE(document.MoveResize(QStringLiteral("Text 1"), QRect(10, 20, 3000, 400)));
    EXPECT_EQ(Heights(Item("Text 1")), std::vector<int>(original.size(), 300));
    EXPECT_EQ(document.history().stepCount(), 2);

    fitter.asked.clear();
    ASSERT_TRUE(document.MoveResize(QStringLiteral("Track List(1)"), QRect(10, 20, 3000, 400)));
    EXPECT_FALSE(fitter.asked.contains(QStringLiteral("Text 1"))) << "only texts on touched surfaces";

    document.Undo();
    document.Undo();
    EXPECT_EQ(Heights(Item("Text 1")), std::vector<int>(original.size(), width / 10));
    document.Undo();
    EXPECT_EQ(Heights(Item("Text 1")), original);
    EXPECT_EQ(Item("Text 1").bAutoFit(), autoFit);
    document.SetAutoFitter(nullptr);
}

TEST_F(DesignDocumentTest, AReplacedDesignGetsItsFittedHeightsWithoutAStep)
{
    WidthFitter fitter;
    document.SetAutoFitter(&fitter);
    LabelDesign other = MakeSampleDesign();
    CRichChild* text = other.FindItem(u"Text 1");
    text->bAutoFit(1);
    const int width = text->width();
    document.BeginReplace();
    document.MutableDesign().ReplaceItems(std::move(other.itemList));
    document.EndReplace(SampleState());
    EXPECT_EQ(Heights(Item("Text 1")).front(), width / 10);
    EXPECT_EQ(document.history().stepCount(), 0);
    EXPECT_FALSE(document.file().modified);
    EXPECT_FALSE(document.history().CanUndo());
    document.SetAutoFitter(nullptr);
}

} // namespace
} // namespace tvl
