#include "document/files/DesignReadApply.h"
#include "SampleDesign.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace tvl {
namespace {

class RecordingHooks : public DesignViewHooks
{
public:
    void AlbumFieldChanged(const QString& key, const QString&) override
    {
        calls << QStringLiteral("field ") + key;
    }
    void RefreshBars() override { calls << QStringLiteral("bars"); }
    void ApplyStocks(LabelDesign&, const LiveDesignState& live, DiscPositionMode&) override
    {
        calls << QStringLiteral("stocks ") + live.caseKind;
    }
    void SelectItem(const QString& name) override { calls << QStringLiteral("select ") + name; }
    void Redraw() override { calls << QStringLiteral("redraw"); }

    QStringList calls;
};

TEST(DesignReadApplyTest, HeaderBecomesTheLiveStateAndTheViewFollows)
{
    LabelDesign design = MakeSampleDesign();
    design.albumHeader.currentSurface = QStringLiteral("Back Cover");
    design.albumHeader.currentPageCode = QStringLiteral("3");
    design.albumHeader.discMode = QStringLiteral("Double");
    design.albumHeader.caseKind = QStringLiteral("DVD");
    LiveDesignState live;
    DiscPositionMode position = DiscPositionMode::DuplicateDisc;
    QString title = QStringLiteral("Mine.tvl");
    RecordingHooks hooks;
    ApplyReadDesign(design, live, position, title, hooks);

    EXPECT_EQ(live.currentSurface, u"Back Cover");
    EXPECT_EQ(live.discMode, u"Double");
    EXPECT_EQ(live.caseKind, u"DVD");
    EXPECT_EQ(position, DiscPositionMode::DiscOnTop);
    EXPECT_EQ(title, u"Mine.tvl");
    EXPECT_EQ(hooks.calls, QStringList({QStringLiteral("field Artist"), QStringLiteral("field Title"),
                                        QStringLiteral("field Track List"), QStringLiteral("field Year"),
                                        QStringLiteral("field Time"), QStringLiteral("field Genre"),
                                        QStringLiteral("bars"), QStringLiteral("stocks DVD"),
                                        QStringLiteral("select Back Cover"), QStringLiteral("redraw")}));
    EXPECT_EQ(design.FindItem(u"Artist(1)")->Text(), u"The Artist\b");
}

TEST(DesignReadApplyTest, MissingSurfaceComesFromThePageCode)
{
    const std::pair<const char*, const char*> cases[] = {
        {"1", "Disc 1"}, {"2", "Front Cover"}, {"3", "Back Cover"}, {"7", "Disc 1"}};
    for (const auto& [page, surface] : cases) {
        LabelDesign design;
        design.albumHeader.currentSurface = QStringLiteral("Inside");
        design.albumHeader.currentPageCode = QString::fromLatin1(page);
        design.albumHeader.discMode = QStringLiteral("Single");
        LiveDesignState live;
        DiscPositionMode position = DiscPositionMode::DuplicateDisc;
        QString title;
        RecordingHooks hooks;
        ApplyReadDesign(design, live, position, title, hooks);
        EXPECT_EQ(live.currentSurface, QString::fromLatin1(surface)) << page;
        EXPECT_EQ(position, DiscPositionMode::DuplicateDisc);
        EXPECT_TRUE(hooks.calls.contains(QStringLiteral("select ") + QString::fromLatin1(surface)));
    }
}

TEST(DesignReadApplyTest, DefaultDesignGetsTheSampleAlbum)
{
    LabelDesign design = MakeSampleDesign();
    design.albumHeader.discMode = QStringLiteral("Double");
    LiveDesignState live;
    DiscPositionMode position = DiscPositionMode::DiscOnTop;
    QString title = QStringLiteral("Default2.tvl");
    RecordingHooks hooks;
    ApplyReadDesign(design, live, position, title, hooks);
    EXPECT_EQ(title, u"Untitled.tvl");
    EXPECT_EQ(design.FindItem(u"Artist(1)")->Text(), u"Artist - Disc 1\b");
    EXPECT_EQ(design.FindItem(u"Genre - Disc 2(1)")->Text(), u"Genre - Disc 2\b");
    const QString tracks = design.FindItem(u"Track List(1)")->Text();
    EXPECT_TRUE(tracks.startsWith(u"1. \bTrack 1 - Disc 1\b 0:01\b2. \bTrack 2"));
    EXPECT_TRUE(tracks.endsWith(u"7. \bTrack 7 - Disc 1\b 0:07\b"));

    LabelDesign single = MakeSampleDesign();
    single.albumHeader.discMode = QStringLiteral("Single");
    title = QStringLiteral("Default1_dvd.tvl");
    ApplyReadDesign(single, live, position, title, hooks);
    EXPECT_EQ(single.FindItem(u"Artist(1)")->Text(), u"Artist\b");
    EXPECT_EQ(single.FindItem(u"Genre - Disc 2(1)")->Text(), u"Ambient\b"); // disc 2 keeps its values
}

} // namespace
} // namespace tvl
