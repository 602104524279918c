#include "document/model/LabelDesign.h"
#include "document/model/UndoRecorder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tvl {
namespace {

using testing::ElementsAre;

const QString kEnd(QChar(0x08));

struct Change
{
    UndoKey key;
    CRichChild* item;
    QString oldValue;
    QString newValue;
    bool operator==(const Change&) const = default;
};

class ListRecorder : public UndoRecorder
{
public:
    void RecordChange(UndoKey key, CRichChild* item, const QString& oldValue,
                      const QString& newValue) override
    {
        changes.push_back({key, item, oldValue, newValue});
    }
    std::vector<Change> changes;
};

CRichChild& AddItem(LabelDesign& design, const QString& name, const QString& type, int linked = 0)
{
    auto item = std::make_unique<CRichChild>();
    item->name = name;
    item->SetKindName(type);
    item->bLinkText(linked);
    return design.InsertItem(std::move(item));
}

TEST(LinkedAlbumText, NamesChooseTheDiscAndField)
{
    CAlbumInfo album;
    album.Field(0, AlbumField::Artist) = QStringLiteral("Artist one") + kEnd;
    album.Field(1, AlbumField::Genre) = QStringLiteral("Jazz") + kEnd;
    album.Field(1, AlbumField::TrackList) = QStringLiteral("1. ") + kEnd;
    const std::pair<const char16_t*, QString> cases[] = {
        {u"Artist(3)", album.Field(0, AlbumField::Artist)},
        {u"Artist - Disc 1", album.Field(0, AlbumField::Artist)},
        {u"Genre - Disc 2(1)", album.Field(1, AlbumField::Genre)},
        {u"Track List - Disc 2(4)", album.Field(1, AlbumField::TrackList)},
        {u"Notes(1)", QString()},
        {u"Artists(1)", QString()},
        {u"artist(1)", QString()},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(album.LinkedAlbumText(name), expected) << QString::fromUtf16(name).toStdString();
}

TEST(LabelDesign, SettingAnAlbumFieldUpdatesEveryLinkedItem)
{
    LabelDesign design;
    CRichChild& artist = AddItem(design, QStringLiteral("Artist(1)"), QStringLiteral("Text"), 1);
    CRichChild& artistCopy = AddItem(design, QStringLiteral("Artist - Disc 1(2)"), QStringLiteral("Text"), 1);
    CRichChild& unlinked = AddItem(design, QStringLiteral("Artist(3)"), QStringLiteral("Text"), 0);
    CRichChild& secondDisc = AddItem(design, QStringLiteral("Artist - Disc 2(1)"), QStringLiteral("Text"), 1);
    // Link Text on a free text names no field: its own text stays.
    CRichChild& freeText = AddItem(design, QStringLiteral("Text 1"), QStringLiteral("Text"), 1);
    freeText.ReplaceText(QStringLiteral("mine") + kEnd);
    artist.ReplaceText(QStringLiteral("x") + kEnd);
    artist.fonts[0] = ItemFont{QStringLiteral("Arial"), 400, 700, 0};

    EXPECT_TRUE(design.SetAlbumField(u"Artist(7)", QStringLiteral("New Artist") + kEnd));
    EXPECT_EQ(design.albumHeader.Field(0, AlbumField::Artist), QStringLiteral("New Artist") + kEnd);
    EXPECT_EQ(artist.Text(), QStringLiteral("New Artist") + kEnd);
    EXPECT_EQ(artistCopy.Text(), artist.Text());
    EXPECT_TRUE(unlinked.characters.empty());
    EXPECT_TRUE(secondDisc.characters.empty());
    EXPECT_EQ(freeText.Text(), QStringLiteral("mine") + kEnd);
    ASSERT_TRUE(artist.fonts[0]);
    EXPECT_EQ(artist.fonts[0]->weight, 700);
    EXPECT_EQ(artist.fonts.size(), artist.characters.size());
    EXPECT_FALSE(design.SetAlbumField(u"Notes", QStringLiteral("n")));
}

TEST(LabelDesign, ReplacingTrackListsKeepsColumnRuns)
{
    CRichChild tracks;
    tracks.kind = ItemKind::Track;
    tracks.ReplaceText(QStringLiteral("1. \bOne\b 0:01\b"));
    tracks.fonts[4] = ItemFont{QStringLiteral("Arial"), 300, 700, 0}; // title column bold
    tracks.colors[8] = 0x0000FF;                                      // time column red
    tracks.ReplaceText(QStringLiteral("1. \bFirst\b 1:00\b2. \bSecond\b 2:00\b"));
    ASSERT_EQ(tracks.characters.size(), 33u);
    EXPECT_TRUE(tracks.fonts[4]);   // "First"
    EXPECT_TRUE(tracks.fonts[20]);  // "Second"
    EXPECT_TRUE(tracks.colors[10]); // " 1:00"
    EXPECT_TRUE(tracks.colors[27]); // " 2:00"
    EXPECT_FALSE(tracks.fonts[16]); // "2. " continues the run before it
}

TEST(LabelDesign, UniqueNamesTakeTheFirstFreeNumber)
{
    LabelDesign design;
    EXPECT_EQ(design.MakeUniqueName(QStringLiteral("Text")), u"Text 1");
    AddItem(design, QStringLiteral("Text 1"), QStringLiteral("Text"));
    EXPECT_EQ(design.MakeUniqueName(QStringLiteral("Text")), u"Text 2");
    AddItem(design, QStringLiteral("Text 2"), QStringLiteral("Text"));
    design.DeleteItem(design.IndexOf(u"Text 1"));
    EXPECT_EQ(design.MakeUniqueName(QStringLiteral("Text")), u"Text 1");

    AddItem(design, QStringLiteral("Image(1)"), QStringLiteral("Image"));
    EXPECT_EQ(design.MakeUniqueName(QStringLiteral("Image")), u"Image(2)");
    EXPECT_EQ(design.MakeUniqueName(QStringLiteral("Artist")), u"Artist(1)");
}

TEST(LabelDesign, LookupsFindTheFirstMatchAndTheCover)
{
    LabelDesign design;
    AddItem(design, QStringLiteral("Disc 1"), QStringLiteral("Boundary"));
    CRichChild& cover = AddItem(design, QStringLiteral("Disc 1"), QStringLiteral("Cover"));
    EXPECT_EQ(design.FindItem(u"Disc 1"), design.itemList[0].get());
    EXPECT_EQ(design.FindCover(u"Disc 1"), &cover);
    EXPECT_EQ(design.FindCover(u"Disc 2"), nullptr);
    EXPECT_EQ(design.FindItem(u"Nothing"), nullptr);
}

TEST(ItemGeometry, DiscSurfacesAreSquaresWithACentredHub)
{
    CRichChild disc;
    disc.name = disc.surface = QStringLiteral("Disc 1");
    disc.kind = ItemKind::Cover;
    disc.left(500);
    disc.top(700);
    disc.width(4625);
    disc.height(1600);
    EXPECT_EQ(disc.Rect(), QRect(500, 700, 4625, 4625));
    EXPECT_EQ(disc.InnerRect(), QRect(500 + 1512, 700 + 1512, 1600, 1600));

    CRichChild panel;
    panel.name = panel.surface = QStringLiteral("Back Cover");
    panel.left(10);
    panel.width(5906);
    panel.height(4626);
    EXPECT_EQ(panel.Rect(), QRect(10, 0, 5906, 4626));
    EXPECT_EQ(panel.InnerRect(), panel.Rect());
}

TEST(ItemAccessors, ReadWithTheMarkerAndReportEveryWrite)
{
    LabelDesign design;
    ListRecorder recorder;
    design.SetRecorder(&recorder);
    CRichChild& item = AddItem(design, QStringLiteral("Text 1"), QStringLiteral("Text"));
    recorder.changes.clear();

    EXPECT_EQ(item.left(), 0);
    EXPECT_EQ(item.left(kNoValue), 0);
    EXPECT_EQ(item.angle(QString()), QString());
    EXPECT_TRUE(recorder.changes.empty());

    EXPECT_EQ(item.left(-150), -150);
    EXPECT_EQ(item.angle(QStringLiteral("270 degrees")), u"270 degrees");
    EXPECT_EQ(item.bAutoFit(1), 1);
    EXPECT_THAT(recorder.changes,
                ElementsAre(Change{UndoKey::Left, &item, QStringLiteral("0"), QStringLiteral("-150")},
                            Change{UndoKey::Angle, &item, QString(), QStringLiteral("270 degrees")},
                            Change{UndoKey::AutoFit, &item, QStringLiteral("0"), QStringLiteral("1")}));

    auto taken = design.TakeItem(0);
    taken->top(5);
    EXPECT_EQ(recorder.changes.size(), 3u);
}

TEST(ItemText, EmptyTextHasEmptyArraysAndUserSizesAreRounded)
{
    CRichChild item;
    item.ReplaceText(QString());
    EXPECT_TRUE(item.fonts.empty());
    EXPECT_TRUE(item.colors.empty());
    EXPECT_TRUE(item.underlines.empty());

    const std::pair<double, int> sizes[] = {{40, 400}, {12.1, 125}, {12.5, 125}, {0, 25},
                                            {1, 25},   {999, 5000}, {10.3, 105}};
    for (const auto& [points, height] : sizes)
        EXPECT_EQ(ItemFont::HeightFromPoints(points), height) << points;
}

} // namespace
} // namespace tvl
