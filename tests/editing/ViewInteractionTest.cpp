#include "document/design/DesignDocument.h"
#include "document/design/ItemEdits.h"
#include "editing/CMervo6View.h"
#include "images/CxImage.h"
#include "tests/render/SurfaceFixture.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace tvl {
namespace {

using namespace Qt::Literals::StringLiterals;

// The whole Letter disc sheet shows at zoom 6 (489 × 633 pixels), so nothing scrolls.
class ViewInteractionTest : public testing::Test
{
protected:
    void SetUp() override
    {
        test::SurfaceFixture f;
        view.SetStocks(f.disc, f.caseStock);
        const CRichChild& disc = *f.design.FindCover(u"Disc 1");
        CRichChild& text =
            f.Add(u"Text 1"_s, u"Text"_s, u"Disc 1"_s, disc.left() + 1000, disc.top() + 1000, 2000, 400);
        text.ReplaceText(u"Text\b"_s);
        text.fonts[0] = ItemFont{u"Arial"_s, 200, 400, 0};
        text.colors[0] = 0;
        CRichChild& photo =
            f.Add(u"Image(1)"_s, u"Image"_s, u"Disc 1"_s, disc.left() + 1000, disc.top() + 2500, 1200, 600);
        photo.image = std::make_shared<CxImage>();
        photo.image->Create(400, 200, 24, CXIMAGE_FORMAT_JPG);
        for (const QString& name : {u"Artist(1)"_s, u"Artist(2)"_s, u"Title(1)"_s}) {
            CRichChild& linked = f.Add(name, u"Text"_s, u"Disc 1"_s, 3000, 4000, 800, 300);
            linked.bLinkText(1);
        }
        document.BeginReplace();
        document.MutableDesign().ReplaceItems(std::move(f.design.itemList));
        document.EndReplace({u"Disc 1"_s, u"1"_s, u"Single"_s, u"Jewel"_s});
        view.resize(700, 800);
        view.show();
        QApplication::processEvents();
    }

    void Mouse(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, QPointF(pos), view.viewport()->mapToGlobal(QPointF(pos)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &event);
    }

    // Hovers at from (the cursor feedback chooses what a press does), presses, moves to each point with
    // the button down and releases at the last.
    void Drag(QPoint from, std::initializer_list<QPoint> path)
    {
        Mouse(QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton);
        Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        QPoint last = from;
        for (const QPoint p : path) {
            Mouse(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
            last = p;
        }
        Mouse(QEvent::MouseButtonRelease, last, Qt::LeftButton, Qt::NoButton);
        QApplication::processEvents();
    }

    void Click(QPoint at)
    {
        Mouse(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
        Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        QApplication::processEvents();
    }

    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&view, &event);
    }

    // Selects an item the way a program command does and lets its selection marks (and handles) show.
    void Select(const QString& name)
    {
        document.Select(name);
        view.viewport()->repaint();
    }

    QRect WindowRect(QStringView name) const
    {
        return view.geometry().GetItemWindowRect(*document.design().FindItem(name), true).toQRect();
    }

    QPoint Handle(DragMode mode) const
    {
        const QPoint shift = view.geometry().scrollPosition() + view.geometry().pageOrigin();
        for (size_t i = 0; i < kHandleModes.size(); ++i) {
            if (kHandleModes[i] == mode)
                return view.handleRects()[i].translated(-shift).center();
        }
        return {};
    }

    QRect ItemRect(QStringView name) const { return document.design().FindItem(name)->Rect(); }
    int Steps() const { return document.history().stepCount(); }

    DesignDocument document;
    CMervo6View view{document};
};

TEST_F(ViewInteractionTest, ADragIsOneStepSnappedInMilsAndDrawsNoItemOnTheWay)
{
    view.ApplyOptions({false, false, QSize(100, 100), true});
    Select(u"Text 1"_s);
    const QRect before = ItemRect(u"Text 1");
    const QRect window = WindowRect(u"Text 1");
    // A text block is moved by its border (away from the handles): inside it the pointer places the caret.
    const QPoint border(window.left() + window.width() / 4, window.bottom() + 7);
    Mouse(QEvent::MouseMove, border, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(view.dragMode(), DragMode::Move);
    EXPECT_EQ(view.viewport()->cursor().shape(), Qt::SizeAllCursor);
    Mouse(QEvent::MouseButtonPress, border, Qt::LeftButton, Qt::LeftButton);
    const int drawn = view.bitmaps().itemsDrawn();
    for (int step = 1; step <= 10; ++step) {
        Mouse(QEvent::MouseMove, border + QPoint(3 * step, 2 * step), Qt::NoButton, Qt::LeftButton);
        view.viewport()->repaint(view.feedbackRect().adjusted(-2, -2, 2, 2));
    }
    EXPECT_EQ(view.bitmaps().itemsDrawn(), drawn) << "the frame follows the pointer without drawing items";
    EXPECT_EQ(view.feedbackRect().size(), window.size());
    EXPECT_EQ(Steps(), 0);
    Mouse(QEvent::MouseButtonRelease, border + QPoint(30, 20), Qt::LeftButton, Qt::NoButton);

    EXPECT_EQ(Steps(), 1);
    const QRect after = ItemRect(u"Text 1");
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(after.x() % 100, 0) << after.x();
    EXPECT_EQ(after.y() % 100, 0) << after.y();
    // 30 and 20 pixels at zoom 6 and 96 dpi are about 521 and 347 mils.
    EXPECT_NEAR(after.x() - before.x(), 521, 60);
    EXPECT_NEAR(after.y() - before.y(), 347, 60);
    EXPECT_TRUE(view.feedbackRect().isEmpty());
    EXPECT_TRUE(view.selectionMarksOn());
    document.Undo();
    EXPECT_EQ(ItemRect(u"Text 1"), before);
}

TEST_F(ViewInteractionTest, ADragThatEndsWhereItBeganRecordsNothing)
{
    Select(u"Image(1)"_s);
    const QPoint inside = WindowRect(u"Image(1)").center();
    Drag(inside, {inside + QPoint(40, 10), inside + QPoint(-20, 30), inside});
    EXPECT_EQ(Steps(), 0);
    // Snapping back onto the same grid point is no change either.
    view.ApplyOptions({false, false, QSize(100, 100), true});
    Drag(inside, {inside + QPoint(1, 0)});
    ASSERT_EQ(Steps(), 1);
    const QRect aligned = ItemRect(u"Image(1)");
    EXPECT_EQ(aligned.x() % 100, 0);
    EXPECT_EQ(aligned.y() % 100, 0);
    Drag(inside, {inside + QPoint(1, 0)});
    EXPECT_EQ(Steps(), 1);
    EXPECT_EQ(ItemRect(u"Image(1)"), aligned);
}

TEST_F(ViewInteractionTest, ShrinkingByAHandleStopsAtOneHundredMilsAtZoomSix)
{
    ASSERT_EQ(view.geometry().zoom(), 6);
    Select(u"Text 1"_s);
    const QRect before = ItemRect(u"Text 1");
    const QPoint right = Handle(DragMode::Right);
    Mouse(QEvent::MouseMove, right, Qt::NoButton, Qt::NoButton);
    ASSERT_EQ(view.dragMode(), DragMode::Right);
    EXPECT_EQ(view.viewport()->cursor().shape(), Qt::SizeHorCursor);
    Drag(right, {right - QPoint(100, 0), right - QPoint(400, 0)});
    EXPECT_EQ(ItemRect(u"Text 1"), QRect(before.topLeft(), QSize(100, before.height())));
}

TEST_F(ViewInteractionTest, TheCursorTellsWhatAPressWouldDo)
{
    Select(u"Text 1"_s);
    const QRect window = WindowRect(u"Text 1");
    const struct
    {
        QPoint at;
        DragMode mode;
        Qt::CursorShape shape;
    } cases[] = {
        {window.center(), DragMode::Select, Qt::IBeamCursor},
        {Handle(DragMode::BottomRight), DragMode::BottomRight, Qt::SizeFDiagCursor},
        {Handle(DragMode::TopRight) + QPoint(4, -4), DragMode::TopRight, Qt::SizeBDiagCursor},
        {Handle(DragMode::Top), DragMode::Top, Qt::SizeVerCursor},
        {QPoint(window.center().x() - 30, window.bottom() + 8), DragMode::Move, Qt::SizeAllCursor},
        {QPoint(window.center().x() - 30, window.bottom() + 30), DragMode::None, Qt::ArrowCursor},
    };
    for (const auto& c : cases) {
        Mouse(QEvent::MouseMove, c.at, Qt::NoButton, Qt::NoButton);
        EXPECT_EQ(view.dragMode(), c.mode) << DragModeName(c.mode).toStdString();
        EXPECT_EQ(view.viewport()->cursor().shape(), c.shape) << DragModeName(c.mode).toStdString();
    }
    ASSERT_TRUE(document.SetItemProperty(u"Text 1"_s, ItemProperty::Angle, u"90 degrees"_s));
    Mouse(QEvent::MouseMove, window.center(), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(view.viewport()->cursor().shape(), Qt::BitmapCursor) << "the I-beam turned on its side";
}

TEST_F(ViewInteractionTest, AClickSelectsAndTheEmptySecondDiscOfASingleDesignTakesDiscOne)
{
    Click(WindowRect(u"Image(1)").center());
    EXPECT_EQ(document.selectedName(), u"Image(1)"_s);
    EXPECT_TRUE(view.selectionMarksOn());

    const QRect first = ItemRect(u"Disc 1");
    const QRect second = ItemRect(u"Disc 2");
    const QRect photo = ItemRect(u"Image(1)");
    const QRect disc2 = WindowRect(u"Disc 2");
    Click(QPoint(disc2.left() + disc2.width() / 8 + 4, disc2.center().y()));
    EXPECT_EQ(document.selectedName(), u"Disc 1"_s);
    EXPECT_EQ(ItemRect(u"Disc 1"), second);
    EXPECT_EQ(ItemRect(u"Disc 2"), first);
    EXPECT_EQ(ItemRect(u"Image(1)"), photo.translated(second.topLeft() - first.topLeft()));
    EXPECT_EQ(Steps(), 1);
}

TEST_F(ViewInteractionTest, ALinkedItemBringsTheOthersShowingItsField)
{
    Select(u"Artist(1)"_s);
    EXPECT_EQ(view.selection(), (QStringList{u"Artist(1)"_s, u"Artist(2)"_s}));
    Select(u"Text 1"_s);
    EXPECT_EQ(view.selection(), QStringList{u"Text 1"_s});
}

TEST_F(ViewInteractionTest, ArrowKeysMoveByAGridStepAndDeleteDeletes)
{
    view.ApplyOptions({false, false, QSize(200, 50), false});
    Select(u"Image(1)"_s);
    const QRect before = ItemRect(u"Image(1)");
    Key(Qt::Key_Right);
    Key(Qt::Key_Down);
    Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(ItemRect(u"Image(1)"), before.translated(200 - 10, 50));
    EXPECT_EQ(Steps(), 3);
    Key(Qt::Key_Delete);
    EXPECT_EQ(document.design().FindItem(u"Image(1)"), nullptr);
    EXPECT_EQ(Steps(), 4);
    document.Undo();
    ASSERT_NE(document.design().FindItem(u"Image(1)"), nullptr);

    // A surface is not moved by the keys.
    Select(u"Disc 1"_s);
    const QRect disc = ItemRect(u"Disc 1");
    Key(Qt::Key_Right);
    EXPECT_EQ(ItemRect(u"Disc 1"), disc);
}

TEST_F(ViewInteractionTest, TheContextMenuInsertsAtThePointItWasOpenedAt)
{
    std::optional<QPoint> filled;
    std::optional<QPoint> whenChosen;
    view.SetInsertMenuFiller([&](QMenu& menu, QPoint mils) {
        filled = mils;
        menu.addAction(u"Text"_s, [&] { whenChosen = view.ContextPoint(); });
    });
    const QPoint at = WindowRect(u"Image(1)").center();
    // The menu runs its own loop: choose from it once it is up.
    QTimer::singleShot(0, [] {
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(popup, nullptr);
        QMenu* insert = popup->actions().first()->menu();
        ASSERT_NE(insert, nullptr);
        insert->actions().first()->trigger();
        popup->close();
    });
    Mouse(QEvent::MouseButtonPress, at, Qt::RightButton, Qt::RightButton);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, view.viewport()->mapToGlobal(at));
    QApplication::sendEvent(view.viewport(), &event);

    EXPECT_EQ(document.selectedName(), u"Image(1)"_s) << "the right button selects what it points at";
    ASSERT_TRUE(filled && whenChosen);
    EXPECT_EQ(*whenChosen, *filled);
    EXPECT_EQ(*filled, view.geometry().WindowToPage(at));
    QElapsedTimer clock;
    clock.start();
    while (view.ContextPoint() && clock.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_FALSE(view.ContextPoint()) << "forgotten shortly after the menu closed";
    EXPECT_EQ(Steps(), 0);
}

// A surface has no handles: picked with the mouse, a band around its outline is inverted until something
// else is selected.
TEST_F(ViewInteractionTest, APickedSurfaceShowsItsOutline)
{
    const QRect disc = WindowRect(u"Disc 1");
    const QPoint onTheRing(disc.left() + disc.width() / 8 + 4, disc.center().y());
    const QPoint justOutside(disc.center().x(), disc.top() - 1);
    const auto shade = [this](QPoint at) { return view.viewport()->grab().toImage().pixel(at); };
    const QRgb plain = shade(justOutside);
    Click(onTheRing);
    ASSERT_EQ(document.selectedName(), u"Disc 1"_s);
    EXPECT_NE(shade(justOutside), plain);
    EXPECT_EQ(shade(QPoint(disc.center().x(), disc.top() + 12)),
              shade(QPoint(disc.center().x(), disc.top() + 14)))
        << "only a thin band changes";

    Click(WindowRect(u"Image(1)").center());
    ASSERT_EQ(document.selectedName(), u"Image(1)"_s);
    EXPECT_EQ(shade(justOutside), plain);
}

} // namespace
} // namespace tvl

namespace tvl {
namespace {

using TextEditingTest = ViewInteractionTest;

TEST_F(TextEditingTest, TypingGoesInAtIdleAsOneStepAndCaretMovesDrawNothing)
{
    Select(u"Text 1"_s);
    const QRect window = WindowRect(u"Text 1");
    // Left of the first character: the caret stands before "T".
    Click(QPoint(window.left() + 1, window.center().y()));
    ASSERT_NE(view.textEditor().Edited(), nullptr);
    EXPECT_EQ(view.textEditor().GetSelection(), (TextRange{0, 0}));

    for (const char* letter : {"a", "b"}) {
        QKeyEvent event(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QString::fromLatin1(letter));
        QApplication::sendEvent(&view, &event);
    }
    EXPECT_TRUE(view.textEditor().HasPending());
    QApplication::processEvents();
    EXPECT_EQ(document.design().FindItem(u"Text 1")->Text(), u"abText\b"_s);
    EXPECT_EQ(Steps(), 1) << "two keys typed before idle are one step";
    EXPECT_EQ(view.textEditor().GetSelection(), (TextRange{2, 2}));

    // Caret moves and selections only repaint the marks.
    const int renders = view.bitmaps().renders(Disc1Surface);
    const QRect before = document.design().FindItem(u"Text 1")->Rect();
    Key(Qt::Key_Right);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    view.viewport()->repaint();
    EXPECT_EQ(view.textEditor().GetSelection(), (TextRange{3, 5}));
    EXPECT_EQ(view.bitmaps().renders(Disc1Surface), renders);
    EXPECT_EQ(document.design().FindItem(u"Text 1")->Rect(), before)
        << "arrows edit, they do not move the item";

    // The input method delivers characters no key produces; they replace the selection.
    QInputMethodEvent composed;
    composed.setCommitString(u"Ærø – Ölüdeniz 東京"_s);
    QApplication::sendEvent(&view, &composed);
    // A click elsewhere inserts what is pending into the item it was typed into first.
    Click(QPoint(2, 2));
    EXPECT_EQ(document.design().FindItem(u"Text 1")->Text(), u"abTÆrø – Ölüdeniz 東京t\b"_s);
    EXPECT_EQ(Steps(), 2);

    Select(u"Text 1"_s);
    Click(QPoint(window.left() + 1, window.center().y()));
    Key(Qt::Key_End);
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Home);
    Key(Qt::Key_Delete);
    EXPECT_EQ(document.design().FindItem(u"Text 1")->Text(), u"bTÆrø – Ölüdeniz 東京\b"_s);
    EXPECT_EQ(Steps(), 4);
}

// Dragging over a text being edited selects characters from the press on; the item stays where it is.
TEST_F(TextEditingTest, DraggingOverTheTextSelectsItsCharacters)
{
    Select(u"Text 1"_s);
    const QRect window = WindowRect(u"Text 1");
    const QRect before = ItemRect(u"Text 1");
    const int renders = view.bitmaps().renders(Disc1Surface);
    // The word stands in the middle of the box: the last eighth lies after it, away from every handle.
    const QPoint start(window.left() + window.width() * 7 / 8, window.center().y());
    Drag(start, {start + QPoint(1, 0)});
    EXPECT_EQ(view.textEditor().GetSelection(), (TextRange{4, 4})) << "a shake of the hand is a click";
    Drag(start, {start - QPoint(window.width() / 4, 0), QPoint(window.left() + 1, start.y())});
    EXPECT_EQ(view.textEditor().GetSelection(), (TextRange{0, 4}));
    Key(Qt::Key_Backspace);
    EXPECT_EQ(document.design().FindItem(u"Text 1")->Text(), u"\b"_s);
    EXPECT_EQ(ItemRect(u"Text 1").topLeft(), before.topLeft());
    EXPECT_EQ(Steps(), 1);
    EXPECT_EQ(view.bitmaps().renders(Disc1Surface), renders + 1) << "only the deletion renders";
}

// The cell at the selection's end of a track list is marked by lines: in "Table Format" along its column
// over the whole table and across the item at its track's row; in other layouts around the cell alone.
TEST_F(TextEditingTest, TheCellAtTheSelectionsEndIsMarkedByLines)
{
    test::SurfaceFixture f;
    const CRichChild& back = *f.design.FindCover(u"Back Cover");
    CRichChild& list = f.Add(u"Track List(1)"_s, u"Track"_s, u"Back Cover"_s, back.left() + 1000,
                             back.top() + 1000, 3000, 1500);
    list.ReplaceText(u"1. \bFirst song\b 3:01\b2. \bSecond song\b 4:02\b"_s);
    list.fonts[0] = ItemFont{u"Arial"_s, 200, 400, 0};
    list.colors[0] = 0;
    list.textLayout(u"Table Format"_s);
    list.trackNumbers(u"Track Numbers && Times"_s);
    document.BeginReplace();
    document.MutableDesign().ReplaceItems(std::move(f.design.itemList));
    document.EndReplace({u"Back Cover"_s, QString::number(f.caseStock.page2), u"Single"_s, u"Jewel"_s});
    Select(u"Track List(1)"_s);
    const QRect table = WindowRect(u"Track List(1)");
    const auto lines = [this] {
        std::vector<QRect> rects(view.cellMarks().begin(), view.cellMarks().end());
        return rects;
    };

    view.textEditor().SetSelection(6, 6); // in the first title
    const QRect firstTitle = view.cellMarks().boundingRect();
    // A line may lie just outside the table, beside its first row or its last column.
    EXPECT_TRUE(firstTitle.adjusted(0, 1, 0, -1).contains(table.adjusted(0, 1, 0, -1)))
        << "the column lines run over the whole table and the row lines across the item";
    EXPECT_LE(firstTitle.height(), table.height() + 2);
    EXPECT_LE(firstTitle.width(), table.width() + 2);
    const std::vector<QRect> titleLines = lines();
    view.textEditor().SetSelection(39, 39); // in the second time
    EXPECT_NE(lines(), titleLines) << "another column and another row";
    EXPECT_GE(view.cellMarks().boundingRect().width(), table.width());

    // One column: lines around the cell's characters only.
    SetTrackLayout(document, u"Track List(1)"_s, u"1 Column"_s);
    view.textEditor().SetSelection(6, 6);
    const QRect around = view.cellMarks().boundingRect();
    EXPECT_FALSE(around.isEmpty());
    EXPECT_TRUE(table.contains(around.center()));
    EXPECT_LT(around.height(), table.height() / 2);
    EXPECT_LT(around.width(), table.width());
}

} // namespace
} // namespace tvl
