#include "app/messages/Tips.h"
#include "app/settings/SettingsStore.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tvl {
namespace {

class TipsTest : public testing::Test
{
protected:
    // A run of the program: a new Tips over the same store, answering each box with answer.
    Tips NewRun()
    {
        return Tips(store, request, [this](MessageRequest& shown) {
            seen.push_back(shown);
            shown.caption.clear();
            shown.showCheckBox = false;
            return answer;
        });
    }

    QTemporaryDir dir;
    SettingsStore store{dir.filePath(QStringLiteral("settings.ini"))};
    MessageRequest request;
    std::vector<MessageRequest> seen;
    int answer = 1;
    const QString key = tipImageKey.toString();
};

TEST_F(TipsTest, ShowsOncePerRunAsATipBox)
{
    Tips tips = NewRun();
    EXPECT_TRUE(tips.IsPending(key));
    EXPECT_TRUE(tips.ShowTip(QStringLiteral("Drag a picture onto the label."), key));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, QStringLiteral("Drag a picture onto the label."));
    EXPECT_EQ(seen[0].iconKind, 4);
    EXPECT_EQ(seen[0].buttons, QStringLiteral("OK`"));
    EXPECT_TRUE(seen[0].showCheckBox);
    EXPECT_EQ(seen[0].caption, QStringLiteral(" Tovrelline Tip:"));

    EXPECT_FALSE(tips.ShowTip(QStringLiteral("again"), key));
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_FALSE(store.Contains(key)) << "OK without the tick writes nothing";
    EXPECT_TRUE(NewRun().ShowTip(QStringLiteral("next run"), key));
}

TEST_F(TipsTest, TickedBoxSilencesTheTipForGood)
{
    answer = 4;
    EXPECT_TRUE(NewRun().ShowTip(QStringLiteral("Track lists fill from Read CD."), tipTrackKey.toString()));
    EXPECT_EQ(SettingsStore(store.FilePath()).Number(tipTrackKey.toString()), 1);
    Tips nextRun = NewRun();
    EXPECT_FALSE(nextRun.IsPending(tipTrackKey.toString()));
    EXPECT_FALSE(nextRun.ShowTip(QStringLiteral("Track lists fill from Read CD."), tipTrackKey.toString()));
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_TRUE(nextRun.IsPending(tipDoubleDiscKey.toString()));
}

} // namespace
} // namespace tvl
