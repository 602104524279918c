#include "discinfo/DiscId.h"

#include <gtest/gtest.h>

#include <discid/discid.h>

#include <memory>
#include <random>

namespace tvl {
namespace {

DiscToc Toc(const QString& text)
{
    const auto toc = DiscToc::FromText(text);
    EXPECT_TRUE(toc) << text.toStdString() << ": " << (toc ? "" : toc.error().toStdString());
    return toc ? toc.value() : DiscToc();
}

// Track 1 at 0:02:00, track 2 at 3:10:20, lead-out at 6:00:00.
const QString twoTracks = QStringLiteral("150 14270 27000");

TEST(DiscIdTest, TwoTrackDisc)
{
    const DiscToc toc = Toc(twoTracks);
    EXPECT_EQ(toc.Minute(1), 3);
    EXPECT_EQ(toc.Second(1), 10);
    EXPECT_EQ(toc.Frame(1), 20);
    EXPECT_EQ(ComputeDiscId(toc), 0x0C016602u);
    EXPECT_EQ(BuildQueryCommand(toc), QStringLiteral("cddb+query+0c016602+2+150+14270+360"));
    const TrackLengthsResult lengths = TrackLengths(toc);
    EXPECT_EQ(lengths.lengths, QStringList({QStringLiteral(" 3:08\b"), QStringLiteral(" 2:49\b")}));
    EXPECT_EQ(lengths.totalSeconds, 358);
}

TEST(DiscIdTest, SingleTrackQueryHasOneOffsetAndLeadOutSeconds)
{
    const DiscToc toc = Toc(QStringLiteral("150 13500"));
    EXPECT_EQ(BuildQueryCommand(toc), QString::asprintf("cddb+query+%08x+1+150+180", ComputeDiscId(toc)));
    EXPECT_EQ(ComputeDiscId(toc) & 0xFF, 1u);
    EXPECT_EQ(TrackLengths(toc).lengths, QStringList{QStringLiteral(" 2:58\b")});
}

TEST(DiscIdTest, EnhancedDiscEndsLastAudioTrack150SecondsBeforeTheDataTrack)
{
    // Audio at 0:02, 3:00; data at 10:00; lead-out at 20:00.
    const DiscToc toc = Toc(QStringLiteral("150 13500 d45000 90000"));
    const TrackLengthsResult lengths = TrackLengths(toc);
    EXPECT_EQ(lengths.lengths, QStringList({QStringLiteral(" 2:58\b"), QStringLiteral(" 4:30\b")}));
    EXPECT_EQ(lengths.totalSeconds, 178 + 270);
}

TEST(DiscIdTest, MixedModeDiscListsOnlyTheAudioTracks)
{
    // Data at 0:02, audio at 10:00 and 13:00, lead-out at 15:00:10.
    const DiscToc toc = Toc(QStringLiteral("d150 45000 58500 67510"));
    const TrackLengthsResult lengths = TrackLengths(toc);
    EXPECT_EQ(lengths.lengths, QStringList({QStringLiteral(" 3:00\b"), QStringLiteral(" 2:00\b")}));
    EXPECT_EQ(lengths.totalSeconds, 300);
}

TEST(DiscIdTest, AllDataDiscHasNoLengths)
{
    const TrackLengthsResult lengths = TrackLengths(Toc(QStringLiteral("d150 d4000 9000")));
    EXPECT_TRUE(lengths.lengths.isEmpty());
    EXPECT_EQ(lengths.totalSeconds, 0);
}

TEST(DiscIdTest, FrameCorrectionBorrowsAMinute)
{
    // 60 s apart, the second start's frame smaller: 0:59.
    EXPECT_EQ(TrackLengths(Toc(QStringLiteral("160 4655 9000"))).lengths.first(), QStringLiteral(" 0:59\b"));
}

TEST(DiscIdTest, TocTextIsValidated)
{
    for (const char* bad : {"", "150", "x 200", "150 d200", "-5 200", "150 99999999"})
        EXPECT_FALSE(DiscToc::FromText(QString::fromLatin1(bad))) << bad;
    EXPECT_FALSE(DiscToc().IsRead());
    EXPECT_EQ(DiscToc().TrackCount(), 0);
}

TEST(DiscIdTest, HeaderBeyondTheBufferIsClamped)
{
    DiscToc toc;
    toc.bytes[2] = 1;
    toc.bytes[3] = 255;
    EXPECT_EQ(toc.TrackCount(), 99);
    ComputeDiscId(toc);
    TrackLengths(toc);
    toc.bytes[2] = 9;
    toc.bytes[3] = 3;
    EXPECT_EQ(toc.TrackCount(), 0);
}

TEST(DiscIdTest, AgreesWithLibdiscid)
{
    std::mt19937 random(20261210);
    for (int round = 0; round < 400; ++round) {
        const int n = std::uniform_int_distribution(1, 99)(random);
        std::vector<int> offsets(100); // libdiscid reads a full table
        std::vector<DiscToc::Track> tracks;
        int at = 150 + std::uniform_int_distribution(0, 300)(random);
        for (int i = 1; i <= n; ++i) {
            offsets[static_cast<size_t>(i)] = at;
            tracks.push_back({at, false});
            at += std::uniform_int_distribution(75 * 4, 75 * 300)(random);
            at = std::min(at, 400000 - (n - i) * 300); // libdiscid refuses discs over 90 minutes
        }
        offsets[0] = at;
        const auto toc = DiscToc::FromFrameOffsets(tracks, at);
        ASSERT_TRUE(toc.has_value());
        const std::unique_ptr<DiscId, void (*)(DiscId*)> disc(discid_new(), discid_free);
        ASSERT_TRUE(discid_put(disc.get(), 1, n, offsets.data())) << discid_get_error_msg(disc.get());
        EXPECT_EQ(QString::asprintf("%08x", ComputeDiscId(*toc)),
                  QString::fromLatin1(discid_get_freedb_id(disc.get())))
            << "round " << round;
    }
}

} // namespace
} // namespace tvl
