#include "document/history/UndoHistory.h"
#include "document/history/HistoryHost.h"
#include "document/model/LabelDesign.h"

#include <gtest/gtest.h>

namespace tvl {
namespace {

const QString kEnd(QChar(0x08));

class FakeHost : public HistoryHost
{
public:
    explicit FakeHost(LabelDesign& design)
        : design(design)
    {
    }
    CRichChild* SelectedItem() override { return design.FindItem(selected); }
    void ClearSelection() override { selected.clear(); }
    void MarkModified() override { modified = true; }
    void CaretRange(const CRichChild&, int& start, int& end) override
    {
        start = caretStart;
        end = caretEnd;
    }
    void SetDiscPositionMode(DiscPositionMode mode) override { discPosition = static_cast<int>(mode); }
    bool IsDoubleDesign() const override { return design.albumHeader.discMode == u"Double"; }
    bool ReloadPicture(CRichChild& item) override
    {
        reloaded.append(item.imagePath);
        return false;
    }
    void ShowAfterUndo(const QString& surface, const QString& itemName, bool select) override
    {
        shownSurface = surface;
        if (select)
            selected = itemName;
    }

    LabelDesign& design;
    QString selected;
    bool modified = false;
    int caretStart = 0;
    int caretEnd = 0;
    int discPosition = 0;
    QStringList reloaded;
    QString shownSurface;
};

class UndoHistoryTest : public testing::Test
{
protected:
    UndoHistoryTest()
    {
        design.albumHeader.discMode = QStringLiteral("Single");
        design.SetRecorder(&history);
        Add(QStringLiteral("Front Cover"), QStringLiteral("Cover"));
        CRichChild& text = Add(QStringLiteral("Text 1"), QStringLiteral("Text"));
        text.left(100);
        text.top(200);
        text.ReplaceText(QStringLiteral("Hello") + kEnd);
        text.fonts[0] = ItemFont{QStringLiteral("Arial"), 400, 400, 0};
        text.colors[0] = 0x0000FF;
        host.selected = QStringLiteral("Text 1");
        host.modified = false;
    }

    CRichChild& Add(const QString& name, const QString& type)
    {
        auto item = std::make_unique<CRichChild>();
        item->name = name;
        item->SetKindName(type);
        item->surface = QStringLiteral("Front Cover");
        return design.InsertItem(std::move(item));
    }

    CRichChild& Text() { return *design.FindItem(u"Text 1"); }

    void MoveTo(int left)
    {
        history.BeginStep();
        Text().left(left);
        history.EndStep();
    }

    LabelDesign design;
    FakeHost host{design};
    UndoHistory history{design, host};
};

TEST_F(UndoHistoryTest, TwoMovesInOneStepUndoToTheFirstPosition)
{
    history.BeginStep();
    Text().left(300);
    Text().left(400);
    history.EndStep();
    EXPECT_TRUE(host.modified);
    ASSERT_EQ(history.stepCount(), 1);
    EXPECT_EQ(history.openStep(), nullptr);

    history.Undo();
    EXPECT_EQ(Text().left(), 100);
    EXPECT_EQ(Text().top(), 200);
    EXPECT_FALSE(history.CanUndo());
    EXPECT_TRUE(history.CanRedo());
    history.Redo();
    EXPECT_EQ(Text().left(), 400);
    EXPECT_EQ(host.shownSurface, u"Front Cover");
}

TEST_F(UndoHistoryTest, StepsOutsideRecordingOrWithoutAStepAreNotRecorded)
{
    Text().left(5);
    history.SetRecording(false);
    MoveTo(6);
    history.SetRecording(true);
    EXPECT_EQ(history.stepCount(), 0);
    EXPECT_FALSE(host.modified);
}

TEST_F(UndoHistoryTest, FiftyStepsAtMostAndANewEditDropsTheRedoTail)
{
    for (int i = 1; i <= 51; ++i)
        MoveTo(1000 + i);
    EXPECT_EQ(history.stepCount(), UndoHistory::kMaxSteps);
    while (history.CanUndo())
        history.Undo();
    // The first move (from 100) was dropped: the oldest undo restores the position before the second.
    EXPECT_EQ(Text().left(), 1001);

    history.Redo();
    history.Redo();
    MoveTo(7);
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.stepCount(), 3);
}

TEST_F(UndoHistoryTest, EditsThatKeepTheOrderLeaveNoOrderLists)
{
    history.BeginStep();
    history.RecordChange(UndoKey::PrevOrder, nullptr, {}, {});
    Text().top(900);
    history.RecordChange(UndoKey::NextOrder, nullptr, {}, {});
    history.EndStep();
    history.Undo();
    EXPECT_EQ(Text().top(), 200);
    EXPECT_EQ(design.itemList.size(), 2u);
}

TEST_F(UndoHistoryTest, UndoingADeleteBringsTheWholeItemBackInPlace)
{
    Add(QStringLiteral("Image(1)"), QStringLiteral("Image")).imagePath = QStringLiteral("/pictures/a.png");
    Text().underlines[1] = 1;
    const std::vector<char32_t> characters = Text().characters;

    history.BeginStep();
    history.RecordChange(UndoKey::PrevOrder, nullptr, {}, {});
    history.RecordChange(UndoKey::PrevRich, &Text(), {}, {});
    design.DeleteItem(design.IndexOf(u"Text 1"));
    host.selected = QStringLiteral("Front Cover");
    history.RecordChange(UndoKey::NextOrder, nullptr, {}, {});
    history.EndStep();
    ASSERT_EQ(design.FindItem(u"Text 1"), nullptr);

    history.Undo();
    ASSERT_EQ(design.IndexOf(u"Text 1"), 1);
    EXPECT_EQ(Text().characters, characters);
    EXPECT_EQ(Text().fonts[0]->faceName, u"Arial");
    EXPECT_EQ(Text().colors[0], ItemColor{0x0000FF});
    EXPECT_EQ(Text().underlines[1], 1);
    EXPECT_EQ(Text().left(), 100);
    EXPECT_EQ(host.reloaded, QStringList{QStringLiteral("/pictures/a.png")});
    EXPECT_EQ(host.selected, u"Text 1");

    history.Redo();
    EXPECT_EQ(design.FindItem(u"Text 1"), nullptr);
    EXPECT_EQ(design.itemList.size(), 2u);
}

TEST_F(UndoHistoryTest, ZeroIsTheNotRecordedMarkerForPositions)
{
    Text().left(0);
    MoveTo(250);
    history.Undo();
    EXPECT_EQ(Text().left(), 250);
}

TEST_F(UndoHistoryTest, TextRunsAndCaretComeBackTogether)
{
    host.caretStart = 2;
    host.caretEnd = 2;
    history.BeginStep();
    history.RecordChange(UndoKey::PrevText, &Text(), {}, {});
    history.RecordChange(UndoKey::PrevFont, &Text(), {}, {});
    Text().ReplaceText(QStringLiteral("Goodbye all") + kEnd);
    Text().fonts[5] = ItemFont{QStringLiteral("Courier"), 200, 700, 1};
    history.RecordChange(UndoKey::NextText, &Text(), {}, {});
    history.RecordChange(UndoKey::NextFont, &Text(), {}, {});
    host.caretStart = 11;
    host.caretEnd = 11;
    history.EndStep();

    history.Undo();
    EXPECT_EQ(Text().Text(), QStringLiteral("Hello") + kEnd);
    EXPECT_EQ(Text().fonts.size(), 6u);
    EXPECT_EQ(Text().underlines.size(), 6u);
    EXPECT_EQ(Text().cursorStart, 2);
    history.Redo();
    EXPECT_EQ(Text().Text(), QStringLiteral("Goodbye all") + kEnd);
    EXPECT_EQ(Text().fonts[5]->faceName, u"Courier");
    EXPECT_EQ(Text().cursorStart, 11);
}

TEST_F(UndoHistoryTest, AlbumEditsAreUndoneThroughTheCover)
{
    CRichChild& artist = Add(QStringLiteral("Artist(1)"), QStringLiteral("Text"));
    artist.bLinkText(1);
    design.SetAlbumField(u"Artist", QStringLiteral("Old") + kEnd);

    history.BeginStep();
    history.RecordAlbumField(QStringLiteral("Artist"), design.LinkedAlbumText(u"Artist"),
                             QStringLiteral("New") + kEnd);
    design.SetAlbumField(u"Artist", QStringLiteral("New") + kEnd);
    history.EndStep();
    EXPECT_EQ(artist.Text(), QStringLiteral("New") + kEnd);
    EXPECT_TRUE(host.modified);
    // The cover of the surface is no longer a carrier of the field.
    EXPECT_TRUE(design.FindCover(u"Front Cover")->imagePath.isEmpty());

    history.Undo();
    EXPECT_EQ(design.albumHeader.Field(0, AlbumField::Artist), QStringLiteral("Old") + kEnd);
    EXPECT_EQ(artist.Text(), QStringLiteral("Old") + kEnd);
    EXPECT_TRUE(design.FindCover(u"Front Cover")->characters.empty());
    history.Redo();
    EXPECT_EQ(artist.Text(), QStringLiteral("New") + kEnd);
}

TEST_F(UndoHistoryTest, BackgroundPicturesSelectTheirPanelAndSingleDesignsShowDiscOne)
{
    CRichChild& picture = Add(QStringLiteral("Image(1)"), QStringLiteral("Image"));
    picture.surface = QStringLiteral("Disc 2");
    history.BeginStep();
    picture.bBackground(3);
    history.EndStep();
    history.Undo();
    EXPECT_EQ(picture.bBackground(), 0);
    history.Redo();
    EXPECT_EQ(host.shownSurface, u"Disc 1");
    EXPECT_EQ(host.selected, u"Left Tab");
}

} // namespace
} // namespace tvl
