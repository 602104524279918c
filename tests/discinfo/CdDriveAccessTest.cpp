#include "discinfo/CdDriveAccess.h"
#include "discinfo/RecordedDriveTransport.h"
#include "discinfo/SgTransport.h"

#include "CdTextPacks.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace tvl {
namespace {

const QByteArray readToc = QByteArrayLiteral("4302000000000003"
                                             "2400");
const QByteArray readCdText = QByteArrayLiteral("4302050000000013"
                                                "8800");

QByteArray TocBytes(const QString& text)
{
    const DiscToc toc = DiscToc::FromText(text).value();
    return QByteArray(reinterpret_cast<const char*>(toc.bytes.data()), 4 + 8 * (toc.TrackCount() + 1));
}

std::shared_ptr<RecordedDriveTransport> Transport(QHash<QByteArray, QByteArray> answers)
{
    return std::make_shared<RecordedDriveTransport>(std::vector<RecordedDriveTransport::Drive>{
        {{QStringLiteral("/dev/sr0"), QStringLiteral("HL-DT-ST"), QStringLiteral("DVDRAM GH24NSD1")}, {}, {}},
        {{QStringLiteral("/dev/sr1"), {}, {}}, {}, std::move(answers)},
    });
}

TEST(CdDriveAccessTest, NamesDrivesByDeviceAndKernelDescription)
{
    CdDriveAccess access(Transport({}));
    EXPECT_EQ(access.GetDriveCount(), 0);
    EXPECT_TRUE(access.Initialise());
    EXPECT_FALSE(access.Initialise());
    ASSERT_EQ(access.GetDriveCount(), 2);
    EXPECT_EQ(access.GetDriveName(0), QStringLiteral("/dev/sr0 (HL-DT-ST DVDRAM GH24NSD1)"));
    EXPECT_EQ(access.GetDriveName(1), QStringLiteral("/dev/sr1"));
    EXPECT_EQ(access.GetDriveName(2), QString());
    EXPECT_EQ(access.GetDriveName(-1), QString());
}

TEST(CdDriveAccessTest, ReadsTocAndCdTextWithTheExactCommands)
{
    const QByteArray cdText = test::CdTextPacks(
        {test::Pack(0x80, 0, 0, "Album\0Song O"), test::Pack(0x80, 1, 1, "ne\0Song Two\0")});
    auto transport =
        Transport({{readToc, TocBytes(QStringLiteral("150 14270 27000"))}, {readCdText, cdText}});
    CdDriveAccess access(transport);
    access.Initialise();
    DiscToc toc;
    CdTextAlbum album;
    QStringList status;
    EXPECT_EQ(access.ReadTableOfContents(1, toc, true, album, [&](const QString& s) { status.append(s); }),
              1);
    EXPECT_EQ(transport->Log(), QStringList({QStringLiteral("stop /dev/sr1"),
                                             QStringLiteral("/dev/sr1 43020000000000032400 804 5000"),
                                             QStringLiteral("/dev/sr1 43020500000000138800 5000 10000")}));
    EXPECT_EQ(status, QStringList{QStringLiteral(" Scanning CD-TEXT ")});
    EXPECT_EQ(toc.TrackCount(), 2);
    EXPECT_EQ(toc.Frames(1), 14270);
    EXPECT_EQ(album.title, QStringLiteral("Album"));
    EXPECT_EQ(album.trackEntries.value(2), QStringLiteral("Song Two"));
}

TEST(CdDriveAccessTest, FailedReadsLeaveNothingRead)
{
    auto transport = Transport({});
    CdDriveAccess access(transport);
    DiscToc toc;
    toc.bytes.fill(7);
    CdTextAlbum album;
    EXPECT_EQ(access.ReadTableOfContents(0, toc, true, album), -1); // not initialised
    access.Initialise();
    EXPECT_EQ(access.ReadTableOfContents(5, toc, true, album), -1);
    EXPECT_EQ(access.ReadTableOfContents(0, toc, true, album), -1);
    EXPECT_FALSE(toc.IsRead());
    EXPECT_EQ(transport->Log().size(), 2); // no CD-TEXT request after a failed table of contents
}

TEST(CdDriveAccessTest, TocWithoutCdTextStillSucceeds)
{
    auto transport = Transport({{readToc, TocBytes(QStringLiteral("150 14270 27000"))}});
    CdDriveAccess access(transport);
    access.Initialise();
    DiscToc toc;
    CdTextAlbum album;
    EXPECT_EQ(access.ReadTableOfContents(1, toc, true, album), 1);
    EXPECT_TRUE(toc.IsRead());
    EXPECT_TRUE(album.IsEmpty());
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(SgTransportTest, FindsDrivesInSysfsOrderAndTheirMountPoints)
{
    QTemporaryDir root;
    const QString block = root.filePath(QStringLiteral("block"));
    for (const char* name : {"sr10", "sr1", "sr0"}) {
        WriteFile(block + u'/' + QLatin1StringView(name) + QStringLiteral("/device/vendor"), "ACME    \n");
        WriteFile(block + u'/' + QLatin1StringView(name) + QStringLiteral("/device/model"), "Burner 9000\n");
    }
    QDir().mkpath(block + QStringLiteral("/sda"));
    WriteFile(root.filePath(QStringLiteral("mounts")),
              "/dev/sda1 / ext4 rw 0 0\n/dev/sr1 /media/user/My\\040Disc iso9660 ro 0 0\n");
    SgTransport transport(block, root.filePath(QStringLiteral("mounts")));
    const std::vector<DriveInfo> drives = transport.ListDrives();
    ASSERT_EQ(drives.size(), 3u);
    EXPECT_EQ(drives[0].device, QStringLiteral("/dev/sr0"));
    EXPECT_EQ(drives[1].device, QStringLiteral("/dev/sr1"));
    EXPECT_EQ(drives[2].device, QStringLiteral("/dev/sr10"));
    EXPECT_EQ(drives[0].vendor, QStringLiteral("ACME"));
    EXPECT_EQ(drives[0].model, QStringLiteral("Burner 9000"));
    EXPECT_EQ(transport.MountPoint(QStringLiteral("/dev/sr1")), QStringLiteral("/media/user/My Disc"));
    EXPECT_EQ(transport.MountPoint(QStringLiteral("/dev/sr0")), QString());
    EXPECT_FALSE(transport.StopAudio(root.filePath(QStringLiteral("missing"))));
}

} // namespace
} // namespace tvl
