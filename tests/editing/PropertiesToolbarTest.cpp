#include "editing/properties/PropertiesToolbar.h"
#include "document/design/InsertEdits.h"
#include "document/design/NewItems.h"
#include "tests/editing/BlankDocument.h"

#include <QAction>
#include <QComboBox>
#include <QFontComboBox>
#include <QMenu>
#include <QToolBar>
#include <gtest/gtest.h>

#include <set>

namespace tvl {
namespace {

using P = PropertyControl;

class PropertiesToolbarTest : public testing::Test
{
protected:
    PropertiesToolbarTest()
    {
        test::OpenBlankDesign(document, "Single");
        PropertiesPorts ports;
        ports.overlaps = [] { return BackgroundOverlaps{0, 0, 100}; };
        ports.applyStocks = [this](LabelDesign& design, DiscPositionMode& mode) {
            // Stands in for the stocks: the first disc moves down by 5000 mils for the second position.
            CRichChild& disc = *design.FindCover(u"Disc 1");
            disc.top(mode == DiscPositionMode::DiscOnBottom ? disc1Top + 5000 : disc1Top);
        };
        ports.duplicateDiscTip = [this] { ++tips; };
        ports.millimetres = [this] { return millimetres; };
        ports.jitter = [] { return 500; };
        ports.focusView = [this] { ++focused; };
        ports.textSelection = [this] { return textSelection; };
        disc1Top = document.design().FindCover(u"Disc 1")->top();
        toolbar = std::make_unique<PropertiesToolbar>(bar, document, std::move(ports), &changeLabelPaper);
    }

    std::set<P> Shown() const
    {
        std::set<P> shown;
        for (int i = 0; i < static_cast<int>(P::Count); ++i) {
            if (toolbar->Control(static_cast<P>(i))->isVisible())
                shown.insert(static_cast<P>(i));
        }
        return shown;
    }

    QStringList Entries(P control) const
    {
        QStringList entries;
        for (const QAction* action : toolbar->Menu(control)->actions())
            entries.append(action->text());
        return entries;
    }

    QString Marked(P control) const
    {
        for (const QAction* action : toolbar->Menu(control)->actions()) {
            if (action->isChecked())
                return action->text();
        }
        return {};
    }

    // Chooses an entry of a drop-down menu as a click would.
    void Choose(P control, const QString& entry)
    {
        for (QAction* action : toolbar->Menu(control)->actions()) {
            if (action->text() == entry) {
                action->trigger();
                return;
            }
        }
        ADD_FAILURE() << "no entry " << entry.toStdString();
    }

    QString Add(const char* name, const char* surface)
    {
        document.ShowSurface(QString::fromLatin1(surface));
        const QString base = QString::fromLatin1(name);
        const QRect rect = CentredOn(document.design().FindCover(document.currentSurface())->Rect().center(),
                                     NewItemSize(base));
        if (base == u"Image")
            return CreatePictureItem(document, rect, QStringLiteral("wide.png"),
                                     [](CRichChild& item) { return test::LoadTestPicture(item).isEmpty(); })
                ->name;
        return CreateTextItem(document, base, rect, true)->name;
    }

    const CRichChild& Item(const QString& name) const { return *document.design().FindItem(name); }

    DesignDocument document;
    QToolBar bar;
    QAction changeLabelPaper{QStringLiteral("Change Label Paper")};
    std::unique_ptr<PropertiesToolbar> toolbar;
    int disc1Top = 0;
    int tips = 0;
    int focused = 0;
    bool millimetres = false;
    TextRange textSelection;
};

TEST_F(PropertiesToolbarTest, FormattingActsOnTheSelectedCharactersAndShowsTheirFormat)
{
    const QString text = Add("Text", "Front Cover");
    document.Select(text);
    ASSERT_GE(Item(text).characters.size(), 4u);
    const auto weight = [&](size_t i) {
        std::optional<ItemFont> font;
        for (size_t slot = i + 1; slot > 0 && !font; --slot)
            font = Item(text).fonts[slot - 1];
        return font->weight;
    };
    const int plain = weight(0);
    textSelection = {1, 3};
    toolbar->Update();
    EXPECT_FALSE(toolbar->Control(P::Bold)->isChecked());
    toolbar->Control(P::Bold)->trigger();
    EXPECT_EQ(weight(0), plain);
    EXPECT_EQ(weight(1), 700);
    EXPECT_EQ(weight(2), 700);
    EXPECT_EQ(weight(3), plain) << "the text after the selection keeps its font";
    EXPECT_TRUE(toolbar->Control(P::Bold)->isChecked());

    textSelection = {0, 2};
    toolbar->Update();
    EXPECT_FALSE(toolbar->Control(P::Bold)->isChecked()) << "only when every selected character is bold";
    textSelection = {2, 2};
    toolbar->Update();
    EXPECT_TRUE(toolbar->Control(P::Bold)->isChecked()) << "the caret's character";
}

TEST_F(PropertiesToolbarTest, TheFontBoxListsTheFourFacesChosenLastFirst)
{
    const QString text = Add("Text", "Front Cover");
    document.Select(text);
    QFontComboBox& box = *toolbar->FontNameBox();
    ASSERT_GE(box.count(), 6) << "the test needs six installed faces";
    const int installedCount = box.count();
    QStringList installed;
    for (int i = 0; i < 6; ++i)
        installed.append(box.itemText(i));
    const auto choose = [&](const QString& face) {
        const int index = box.findText(face);
        ASSERT_GE(index, 0) << face.toStdString();
        box.setCurrentIndex(index);
        emit box.activated(index);
    };
    for (int i = 0; i < 5; ++i)
        choose(installed[i]);
    choose(installed[2]);
    QStringList first;
    for (int i = 0; i < 5; ++i)
        first.append(box.itemText(i));
    EXPECT_EQ(first, (QStringList{installed[2], installed[4], installed[3], installed[1], installed[0]}))
        << "an existing entry moves up, the fifth drops out, the installed faces follow";
    EXPECT_EQ(box.count(), installedCount + 4);
    EXPECT_EQ(Item(text).fonts[0]->faceName, installed[2]);
}

TEST_F(PropertiesToolbarTest, TheBarShowsTheControlsOfTheSelectedKind)
{
    const QString text = Add("Text", "Front Cover");
    const QString artist = Add("Artist", "Front Cover");
    const QString track = Add("Track List", "Back Cover");
    const QString picture = Add("Image", "Front Cover");
    const std::set<P> textControls{P::FontName,  P::FontSize,    P::Bold,       P::Italic,       P::Underline,
                                   P::AlignLeft, P::AlignCenter, P::AlignRight, P::TextWrapping, P::Angle};
    std::set<P> linked = textControls;
    linked.insert(P::TextLinking);
    std::set<P> trackControls = linked;
    trackControls.insert({P::TrackNumbers, P::TrackLayout});
    struct Case
    {
        QString selected;
        std::set<P> shown;
    };
    const Case cases[] = {
        {QStringLiteral("Disc 1"), {P::ChangeLabelPaper, P::EditDimensions, P::TextMargin, P::DiscPosition}},
        {QStringLiteral("Page 1"), {P::ChangeLabelPaper, P::EditDimensions, P::TextMargin, P::DiscPosition}},
        {QStringLiteral("Front Cover"), {P::ChangeLabelPaper, P::EditDimensions}},
        {QStringLiteral("Left Tab"), {P::ChangeLabelPaper, P::EditDimensions}},
        {picture, {P::SetAsBackground, P::BringToFront, P::AspectRatio}},
        {text, textControls},
        {artist, linked},
        {track, trackControls},
        {QString(), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selected.toStdString());
        document.Select(c.selected);
        EXPECT_EQ(Shown(), c.shown);
    }
    EXPECT_FALSE(toolbar->Control(P::EditDimensions)->isEnabled()) << "no dimensions dialog to open";
}

TEST_F(PropertiesToolbarTest, MenusMarkTheItemsValuesAndOfferEntriesByKindSheetAndUnits)
{
    const QString disc = Add("Track List", "Disc 1");
    document.Select(disc);
    EXPECT_EQ(Entries(P::TrackLayout),
              (QStringList{QStringLiteral("Left Side"), QStringLiteral("Right Side"), QStringLiteral("Top"),
                           QStringLiteral("Bottom"), QStringLiteral("Top && Bottom"),
                           QStringLiteral("2 Columns")}));
    EXPECT_EQ(Marked(P::TrackLayout), QStringLiteral("Bottom"));
    EXPECT_EQ(Entries(P::TextWrapping).size(), 3) << "Track-Wrap only for tables";
    EXPECT_EQ(Marked(P::TrackNumbers), QStringLiteral("Track Numbers && Times"));
    EXPECT_EQ(Marked(P::TextLinking), QStringLiteral("Text Linking On"));
    EXPECT_TRUE(toolbar->Control(P::AlignCenter)->isChecked());
    EXPECT_EQ(toolbar->FontSizeBox()->currentText(), QStringLiteral("40.0 (AutoFit)"));
    EXPECT_EQ(toolbar->FontNameBox()->currentText(), QStringLiteral("Arial"));

    const QString table = Add("Track List", "Back Cover");
    document.SetItemProperty(table, ItemProperty::WrapStyle, QStringLiteral("No Wrap"));
    document.Select(table);
    EXPECT_EQ(Entries(P::TrackLayout), (QStringList{QStringLiteral("1 Column"), QStringLiteral("2 Columns"),
                                                    QStringLiteral("Table Format")}));
    EXPECT_EQ(Entries(P::TextWrapping).constLast(), QStringLiteral("Track-Wrap"));
    EXPECT_EQ(Marked(P::TextWrapping), QStringLiteral("Multi-Line")) << "\"No Wrap\" shows as Multi-Line";

    document.Select(QStringLiteral("Disc 1"));
    EXPECT_EQ(Marked(P::TextMargin), QStringLiteral("0.05'' Text Margin"));
    EXPECT_EQ(Entries(P::DiscPosition),
              (QStringList{QStringLiteral("Top Position"), QStringLiteral("Bottom Position"),
                           QStringLiteral("Duplicate Disc")}));
    EXPECT_EQ(Marked(P::DiscPosition), QStringLiteral("Top Position"));
    millimetres = true;
    toolbar->Update();
    EXPECT_EQ(Entries(P::TextMargin),
              (QStringList{QStringLiteral("0.0 mm Text Margin"), QStringLiteral("1.3 mm Text Margin"),
                           QStringLiteral("2.5 mm Text Margin"), QStringLiteral("3.8 mm Text Margin")}));
    Choose(P::TextMargin, QStringLiteral("3.8 mm Text Margin"));
    EXPECT_EQ(document.design().FindCover(u"Disc 1")->textMargin(), 150);
    EXPECT_EQ(Marked(P::TextMargin), QStringLiteral("3.8 mm Text Margin"));

    test::OpenBlankDesign(document, "Double");
    document.Select(QStringLiteral("Disc 1"));
    EXPECT_EQ(Entries(P::DiscPosition),
              (QStringList{QStringLiteral("Disc 1 on Top"), QStringLiteral("Disc 1 on Bottom")}));
}

TEST_F(PropertiesToolbarTest, EachCommandIsOneUndoStepOnTheSelectedItem)
{
    const QString text = Add("Artist", "Front Cover");
    document.Select(text);
    struct Case
    {
        const char* title;
        std::function<void()> act;
        std::function<bool(const CRichChild&)> check;
    };
    const Case cases[] = {
        {"angle", [&] { Choose(P::Angle, QStringLiteral("90 degrees")); },
         [](const CRichChild& item) { return item.angle() == u"90 degrees"; }},
        {"wrap", [&] { Choose(P::TextWrapping, QStringLiteral("Single-Line")); },
         [](const CRichChild& item) { return item.wrapStyle() == u"Single-Line"; }},
        {"linking", [&] { Choose(P::TextLinking, QStringLiteral("Text Linking Off")); },
         [](const CRichChild& item) { return item.bLinkText() == 0; }},
        {"alignment", [&] { toolbar->Control(P::AlignRight)->trigger(); },
         [](const CRichChild& item) { return item.alignment() == u"Right"; }},
        {"bold", [&] { toolbar->Control(P::Bold)->trigger(); },
         [](const CRichChild& item) { return item.fonts[0]->weight == 700; }},
        {"underline", [&] { toolbar->Control(P::Underline)->trigger(); },
         [](const CRichChild& item) {
             return std::all_of(item.underlines.begin(), item.underlines.end(),
                                [](auto u) { return u == 1; });
         }},
        {"font size", [&] { toolbar->FontSizeBox()->textActivated(QStringLiteral("12")); },
         [](const CRichChild& item) { return item.fonts[0]->height == 120 && item.bAutoFit() == 0; }},
        {"back to fitting", [&] { toolbar->FontSizeBox()->textActivated(QStringLiteral("AutoFit")); },
         [](const CRichChild& item) { return item.fonts[0]->height == 120 && item.bAutoFit() == 1; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        const int steps = document.history().stepCount();
        const int focusedBefore = focused;
        c.act();
        EXPECT_TRUE(c.check(Item(text)));
        EXPECT_EQ(document.history().stepCount(), steps + 1);
        EXPECT_EQ(focused, focusedBefore + 1) << "the keyboard goes back to the view";
        document.Undo();
        EXPECT_FALSE(c.check(Item(text))) << "undone";
        document.Redo();
    }
    EXPECT_TRUE(toolbar->Control(P::Bold)->isChecked());
    EXPECT_EQ(Marked(P::Angle), QStringLiteral("90 degrees"));
}

TEST_F(PropertiesToolbarTest, PictureCommandsUseTheOverlapAndFallBackWhenThePictureCannotBeFitted)
{
    const QString picture = Add("Image", "Disc 1");
    document.Select(picture);
    EXPECT_EQ(Marked(P::AspectRatio), QStringLiteral("Lock Aspect Ratio"));
    toolbar->Control(P::SetAsBackground)->trigger();
    const CRichChild& disc = *document.design().FindCover(u"Disc 1");
    EXPECT_EQ(Item(picture).Rect(), disc.Rect().adjusted(-100, -100, 100, 100))
        << "grown by the disc overlap";
    EXPECT_EQ(Item(picture).bBackground(), 1);
    EXPECT_EQ(Marked(P::AspectRatio), QStringLiteral("Unlock Aspect Ratio"));

    toolbar->Control(P::BringToFront)->trigger();
    EXPECT_EQ(Item(picture).Rect().size(), QSize(1250, 1250));
    EXPECT_EQ(document.design().itemList.back()->name, picture);

    document.MutableDesign().FindItem(picture)->image.reset();
    const int steps = document.history().stepCount();
    Choose(P::AspectRatio, QStringLiteral("Lock Aspect Ratio"));
    EXPECT_EQ(Marked(P::AspectRatio), QStringLiteral("Unlock Aspect Ratio"));
    EXPECT_EQ(document.history().stepCount(), steps);
}

TEST_F(PropertiesToolbarTest, DiscPositionMovesTheDiscsShowsTheDuplicateTipAndUndoes)
{
    document.Select(QStringLiteral("Disc 1"));
    Choose(P::DiscPosition, QStringLiteral("Bottom Position"));
    EXPECT_EQ(document.discPositionMode(), DiscPositionMode::DiscOnBottom);
    EXPECT_EQ(document.design().FindCover(u"Disc 1")->top(), disc1Top + 5000);
    EXPECT_EQ(Marked(P::DiscPosition), QStringLiteral("Bottom Position"));
    EXPECT_EQ(tips, 0);

    Choose(P::DiscPosition, QStringLiteral("Duplicate Disc"));
    EXPECT_EQ(tips, 1);
    EXPECT_EQ(document.discPositionMode(), DiscPositionMode::DuplicateDisc);

    document.Undo();
    EXPECT_EQ(document.discPositionMode(), DiscPositionMode::DiscOnBottom);
    document.Undo();
    EXPECT_EQ(document.discPositionMode(), DiscPositionMode::DiscOnTop);
    EXPECT_EQ(document.design().FindCover(u"Disc 1")->top(), disc1Top);
}

} // namespace
} // namespace tvl
