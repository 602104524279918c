#include "app/readcd/ReadCdDialog.h"
#include "app/messages/MessageRequest.h"
#include "app/readcd/AdvancedSettingsDialog.h"
#include "app/readcd/Mp3TrackList.h"
#include "app/readcd/ReadCdCommand.h"
#include "app/readcd/ReadCdSession.h"
#include "app/settings/AppSettings.h"
#include "app/settings/SettingsStore.h"
#include "discinfo/CdDriveAccess.h"
#include "discinfo/RecordedDriveFile.h"
#include "document/design/DesignDocument.h"

#include "../discinfo/LocalHttpServer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeWidget>

#include <deque>

namespace tvl {
namespace {

using test::LocalHttpServer;

const QString twoTracks = QStringLiteral("150 14270 27000");

LocalHttpServer::Script Answer(const QByteArray& body)
{
    return {{{LocalHttpServer::Answer(body)}}, 0};
}

QByteArray Entry(const char* title, int year)
{
    return QByteArray(
               "210 rock 0c016602 entry follows\r\n# xmcd\r\n# Track frame offsets:\r\n#\t150\r\n"
               "#\t14270\r\n# Disc length: 360 seconds\r\n# Submitted via: Tagger 1.0\r\nDISCID=0c016602\r\n"
               "DTITLE=The Band / ") +
           title + "\r\nDYEAR=" + QByteArray::number(year) +
           "\r\nDGENRE=Rock\r\nTTITLE0=One\tTab\r\nTTITLE1=Two\r\nEXTD=\r\nEXTT0=\r\nEXTT1=\r\nPLAYORDER="
           "\r\n.\r\n";
}

std::vector<LocalHttpServer::Script> TwoMatches()
{
    return {Answer("211 matches follow\r\nrock 0c016602 The Band / First\r\njazz 0c016602 The Band / "
                   "Second\r\n.\r\n"),
            Answer(Entry("First", 1999)), Answer(Entry("Second", 0))};
}

std::shared_ptr<DriveTransport> Drive(const QString& json)
{
    return std::make_shared<RecordedDriveTransport>(ParseRecordedDrives(json.toUtf8(), QString()).value());
}

QString AudioDisc(const QString& toc = twoTracks)
{
    return QStringLiteral(R"({"drives": [{"device": "/dev/sr0", "toc": "%1"}]})").arg(toc);
}

DiscDbServer Local(int port)
{
    DiscDbServer server;
    server.host = QStringLiteral("127.0.0.1");
    server.port = port;
    return server;
}

bool WaitFor(const std::function<bool()>& done, int ms = 10000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

// A Read CD run over settings in a temporary folder, a recorded drive and loopback servers only: every
// message box and the disc question are answered by the test.
struct ReadCdRun
{
    QTemporaryDir dir;
    SettingsStore store{dir.filePath(QStringLiteral("settings.ini"))};
    AppSettings settings = LoadSettings(store, dir.path());
    MessageRequest request;
    ReadCdSession session{store, settings, request};
    DesignDocument document;
    std::deque<std::shared_ptr<DriveTransport>> drives;
    QStringList messages;
    std::function<int(const QString&)> answer = [](const QString&) { return 1; };
    int discAnswer = 1;
    QStringList questions;

    explicit ReadCdRun(int serverPort = LocalHttpServer::ClosedPort())
    {
        session.currentServer.server = Local(serverPort);
        session.fallbackServer.reset();
        session.listServer = Local(LocalHttpServer::ClosedPort());
        session.timeoutMs = 5000;
        session.openTransport = [this] {
            auto drive = drives.front();
            if (drives.size() > 1)
                drives.pop_front();
            return drive;
        };
        session.showMessage = [this](MessageRequest& shown, QWidget*) {
            messages.append(shown.text);
            return answer(shown.text);
        };
        session.chooseDisc = [this](const QString& question, int& importDisc, QWidget*) {
            questions.append(question);
            if (discAnswer > 0)
                importDisc = discAnswer;
            return discAnswer;
        };
        settings.cdPlayer = false;
        settings.cdText = false;
    }

    // Opens the dialog on the first drive and presses "Read CD"; waits until the reading has ended.
    std::unique_ptr<ReadCdDialog> Read()
    {
        access = std::make_unique<CdDriveAccess>(drives.front());
        access->Initialise();
        auto dialog = std::make_unique<ReadCdDialog>(session, *access, document);
        dialog->show();
        dialog->DefaultButton()->click();
        EXPECT_TRUE(WaitFor([&] { return !dialog->IsReading(); }));
        return dialog;
    }

    QString Field(const char* key) const
    {
        return document.design().LinkedAlbumText(QString::fromLatin1(key));
    }

    std::unique_ptr<CdDriveAccess> access;
};

TEST(ReadCdDialogTest, SecondMatchGoesToDiscTwoOfADoubleDesignAsOneUndoStep)
{
    LocalHttpServer server(TwoMatches());
    ReadCdRun run(server.Port());
    run.document.SetDesignKind(QStringLiteral("Double"), QStringLiteral("Jewel"));
    run.drives.push_back(Drive(AudioDisc()));
    run.discAnswer = 2;
    run.session.helloAddress = QStringLiteral("jane.doe@host.example");
    auto dialog = run.Read();
    ASSERT_EQ(dialog->CurrentPhase(), ReadCdDialog::Phase::Results);
    EXPECT_TRUE(server.Requests()[0].contains("&hello=jane_doe+host_example+MfcCDDB+1.22&proto=5"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral(" Found 2 matches"));
    ASSERT_EQ(dialog->List()->count(), 2);
    EXPECT_EQ(dialog->List()->item(1)->text(), QStringLiteral(" 2. [Freedb]"));
    dialog->List()->setCurrentRow(1);
    EXPECT_EQ(dialog->Preview()->topLevelItem(1)->text(1), QStringLiteral("Second"));
    EXPECT_EQ(dialog->Preview()->topLevelItem(2)->text(1), QString());
    EXPECT_EQ(dialog->DefaultButton()->text(), QStringLiteral("OK"));
    dialog->DefaultButton()->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(run.questions, QStringList{QStringLiteral("Which disc do you want this data attached to?")});
    EXPECT_EQ(run.session.importDisc, 2);
    EXPECT_EQ(run.Field("Title - Disc 2"), QStringLiteral("Second\b"));
    EXPECT_EQ(run.Field("Year - Disc 2"), QStringLiteral("\b"));
    EXPECT_EQ(run.Field("Genre - Disc 2"), QStringLiteral("Rock\b"));
    EXPECT_EQ(run.Field("Track List - Disc 2"), QStringLiteral("1. \bOne Tab\b 3:08\b2. \bTwo\b 2:49\b"));
    EXPECT_EQ(run.Field("Time - Disc 2"), QStringLiteral("5:58\b"));
    EXPECT_EQ(run.Field("Artist"), QString());
    EXPECT_TRUE(run.document.history().CanUndo());
    run.document.Undo();
    EXPECT_EQ(run.Field("Title - Disc 2"), QString());
    EXPECT_EQ(run.Field("Track List - Disc 2"), QString());
    EXPECT_FALSE(run.document.history().CanUndo());
}

TEST(ReadCdDialogTest, CancelInTheDiscQuestionChangesNothing)
{
    LocalHttpServer server(TwoMatches());
    ReadCdRun run(server.Port());
    run.document.SetDesignKind(QStringLiteral("Double"), QStringLiteral("Jewel"));
    run.session.importDisc = 2;
    run.drives.push_back(Drive(AudioDisc()));
    run.discAnswer = -1;
    auto dialog = run.Read();
    dialog->DefaultButton()->click();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(run.document.history().CanUndo());
    EXPECT_EQ(run.Field("Track List"), QString());
    EXPECT_EQ(run.Field("Artist - Disc 2"), QString());
}

TEST(ReadCdDialogTest, SingleDesignAlwaysFillsDiscOneAndOnlyTimesKeepsNames)
{
    LocalHttpServer server(TwoMatches());
    ReadCdRun run(server.Port());
    // Remembered from an earlier double design; a single design still gets disc 1.
    run.session.importDisc = 2;
    run.drives.push_back(Drive(AudioDisc()));
    run.document.SetAlbumField(QStringLiteral("Artist"), QStringLiteral("Mine\b"));
    auto dialog = run.Read();
    dialog->OnlyTimesBox()->setChecked(true);
    EXPECT_FALSE(dialog->List()->isEnabled());
    EXPECT_EQ(dialog->Preview()->topLevelItem(0)->text(1), QString());
    dialog->DefaultButton()->click();
    EXPECT_TRUE(run.questions.isEmpty());
    EXPECT_EQ(run.Field("Artist"), QStringLiteral("Mine\b"));
    EXPECT_EQ(run.Field("Track List"), QStringLiteral("1. \bTrack 1\b 3:08\b2. \bTrack 2\b 2:49\b"));
    EXPECT_EQ(run.Field("Time"), QStringLiteral("5:58\b"));
    EXPECT_EQ(run.Field("Track List - Disc 2"), QString());
}

TEST(ReadCdDialogTest, NotReadyOffersRetryThatReadsTheInsertedDisc)
{
    LocalHttpServer server(TwoMatches());
    ReadCdRun run(server.Port());
    run.drives.push_back(Drive(QStringLiteral(R"({"drives": [{"device": "/dev/sr0"}]})")));
    run.drives.push_back(Drive(AudioDisc()));
    auto dialog = run.Read();
    EXPECT_TRUE(WaitFor([&] { return dialog->CurrentPhase() == ReadCdDialog::Phase::Results; }));
    EXPECT_EQ(run.messages, QStringList{QStringLiteral("The CD-ROM drive is not ready.")});
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral(" Found 2 matches"));
}

TEST(ReadCdDialogTest, NotReadyAndCancelGoesBackToChoosing)
{
    ReadCdRun run;
    run.settings.freedb = false;
    run.drives.push_back(Drive(QStringLiteral(R"({"drives": [{"device": "/dev/sr0"}]})")));
    run.answer = [](const QString&) { return 2; };
    auto dialog = run.Read();
    EXPECT_EQ(dialog->CurrentPhase(), ReadCdDialog::Phase::Choosing);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral(" Read CD"));
    EXPECT_TRUE(dialog->List()->isEnabled());
    EXPECT_TRUE(dialog->DefaultButton()->isVisibleTo(dialog.get()));
    EXPECT_EQ(dialog->DefaultButton()->text(), QStringLiteral("Read CD"));
}

TEST(ReadCdDialogTest, DataDiscWithoutMp3HasNoMusic)
{
    ReadCdRun run;
    run.settings.mp3 = false;
    run.drives.push_back(Drive(AudioDisc(QStringLiteral("d150 d4000 9000"))));
    auto dialog = run.Read();
    EXPECT_EQ(run.messages, QStringList{QStringLiteral("The CD does not contain any music tracks.")});
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->isVisible());
}

TEST(ReadCdDialogTest, EnhancedDiscReadsAsAudioAndUnreachableServerIsReplacedOnce)
{
    // The configured server is down; the fallback answers, and stays the current server for the run.
    LocalHttpServer fallback(TwoMatches());
    ReadCdRun run;
    const int closedPort = run.session.currentServer.server.port;
    run.session.fallbackServer = Local(fallback.Port());
    run.drives.push_back(Drive(AudioDisc(QStringLiteral("150 14270 d40000 60000"))));
    auto dialog = run.Read();
    EXPECT_EQ(dialog->CurrentPhase(), ReadCdDialog::Phase::Results);
    EXPECT_EQ(dialog->List()->count(), 2);
    EXPECT_EQ(run.session.currentServer.server.port, fallback.Port());
    EXPECT_NE(run.session.currentServer.server.port, closedPort);
    ASSERT_EQ(run.messages.size(), 1);
    EXPECT_TRUE(run.messages[0].contains(QStringLiteral("answered instead")))
        << run.messages[0].toStdString();
}

TEST(ReadCdDialogTest, BothServersDownStillAddsTheTimes)
{
    ReadCdRun run;
    run.session.fallbackServer = Local(LocalHttpServer::ClosedPort());
    run.drives.push_back(Drive(AudioDisc()));
    auto dialog = run.Read();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral(" No matches were found"));
    ASSERT_EQ(run.messages.size(), 1);
    EXPECT_TRUE(
        run.messages[0].startsWith(QStringLiteral("Tovrelline could not connect to the Freedb server.")));
    dialog->DefaultButton()->click();
    EXPECT_EQ(run.Field("Time"), QStringLiteral("5:58\b"));
}

TEST(ReadCdDialogTest, CancelWhileTheServerStallsClosesAtOnce)
{
    LocalHttpServer server({{{{QByteArray(), 10000}}, 0}});
    ReadCdRun run(server.Port());
    run.drives.push_back(Drive(AudioDisc()));
    CdDriveAccess access(run.drives.front());
    access.Initialise();
    ReadCdDialog dialog(run.session, access, run.document);
    dialog.show();
    dialog.DefaultButton()->click();
    ASSERT_TRUE(WaitFor([&] { return dialog.windowTitle().startsWith(QStringLiteral(" Searching")); }));
    QElapsedTimer clock;
    clock.start();
    dialog.reject();
    EXPECT_LT(clock.elapsed(), 200);
    EXPECT_FALSE(dialog.isVisible());
    run.session.workers.StopAll();
    EXPECT_LT(clock.elapsed(), 700);
    EXPECT_FALSE(run.document.history().CanUndo());
}

TEST(ReadCdDialogTest, Mp3DiscFillsTheTrackListWithTagNames)
{
    QTemporaryDir disc;
    const QString data = QStringLiteral(TOVRELLINE_MP3_DATA "/");
    QFile::copy(data + QStringLiteral("tagged_v2.mp3"), disc.filePath(QStringLiteral("01_first_file.mp3")));
    QFile::copy(data + QStringLiteral("plain.mp3"), disc.filePath(QStringLiteral("02_second_file.mp3")));
    ReadCdRun run;
    run.settings.freedb = false;
    run.settings.mp3Tag = true;
    run.drives.push_back(Drive(QStringLiteral(R"({"drives": [{"device": "/dev/sr0", "toc": "d150 9000",
                                                              "mountPoint": "%1"}]})")
                                   .arg(disc.path())));
    auto dialog = run.Read();
    ASSERT_EQ(dialog->CurrentPhase(), ReadCdDialog::Phase::Mp3List);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral(" Found 2 Tracks"));
    Mp3TrackList* list = dialog->TrackList();
    ASSERT_EQ(list->rowCount(), 2);
    // Files come in the file system's order; sort so that the test does not depend on it.
    list->SortByName();
    EXPECT_EQ(list->Text(0, Mp3TrackList::NameColumn), QStringLiteral("02 Second File"));
    EXPECT_EQ(list->Text(1, Mp3TrackList::NameColumn), QStringLiteral("The Band-First Song"));
    EXPECT_EQ(list->Text(1, Mp3TrackList::StateColumn), QStringLiteral("1"));
    EXPECT_EQ(list->Text(0, Mp3TrackList::TimeColumn), QStringLiteral("0:01"));
    dialog->DefaultButton()->click();
    EXPECT_EQ(run.Field("Track List"),
              QStringLiteral("1. \b02 Second File\b 0:01\b2. \bThe Band-First Song\b 0:01\b"));
    EXPECT_EQ(run.Field("Time"), QString());
}

TEST(ReadCdDialogTest, Mp3ListTagsMovesAndSorts)
{
    Mp3TrackList list;
    list.Fill({QStringLiteral("beta"), QStringLiteral("Alpha"), QStringLiteral("gamma")});
    list.SetReady(true);
    list.ApplyTagName(0, QStringLiteral("Tagged"), false);
    EXPECT_EQ(list.Text(0, Mp3TrackList::NameColumn), QStringLiteral("beta"));
    EXPECT_EQ(list.Text(0, Mp3TrackList::StateColumn), QStringLiteral("0"));
    list.ToggleTag(0);
    EXPECT_EQ(list.Text(0, Mp3TrackList::NameColumn), QStringLiteral("Tagged"));
    EXPECT_EQ(list.item(0, Mp3TrackList::UseTagColumn)->checkState(), Qt::Checked);
    list.ToggleTag(0);
    EXPECT_EQ(list.Text(0, Mp3TrackList::NameColumn), QStringLiteral("beta"));
    // A row without a tag name stays as it is.
    list.ToggleTag(1);
    EXPECT_EQ(list.Text(1, Mp3TrackList::NameColumn), QStringLiteral("Alpha"));

    list.setCurrentCell(0, Mp3TrackList::NameColumn);
    list.MoveRows(true);
    EXPECT_EQ(list.Text(0, Mp3TrackList::NameColumn), QStringLiteral("beta"));
    list.MoveRows(false);
    EXPECT_EQ(list.Text(0, Mp3TrackList::NameColumn), QStringLiteral("Alpha"));
    EXPECT_EQ(list.Text(1, Mp3TrackList::NameColumn), QStringLiteral("beta"));
    EXPECT_EQ(list.Text(1, Mp3TrackList::AlternativeColumn), QStringLiteral("Tagged"));
    EXPECT_EQ(list.Text(0, Mp3TrackList::NumberColumn), QStringLiteral("1"));

    list.SortByName();
    EXPECT_EQ(list.Text(0, Mp3TrackList::NameColumn), QStringLiteral("Alpha"));
    EXPECT_EQ(list.Text(1, Mp3TrackList::NameColumn), QStringLiteral("beta"));
    EXPECT_EQ(list.Text(2, Mp3TrackList::NameColumn), QStringLiteral("gamma"));
    EXPECT_EQ(list.Text(2, Mp3TrackList::NumberColumn), QStringLiteral("3"));
}

TEST(ReadCdDialogTest, NoDriveAndCdPlayerChecks)
{
    ReadCdRun run;
    run.drives.push_back(Drive(QStringLiteral(R"({"drives": []})")));
    RunReadCd(run.session, run.document, nullptr);
    EXPECT_EQ(run.messages,
              QStringList{QStringLiteral("There are no CD-ROM drives attached to your system.")});

    run.messages.clear();
    run.drives.front() = Drive(AudioDisc());
    run.settings.cdPlayer = true;
    run.settings.cdPlayerPath = run.dir.filePath(QStringLiteral("missing.ini"));
    CdDriveAccess access(run.drives.front());
    access.Initialise();
    ReadCdDialog dialog(run.session, access, run.document);
    // A named file that is gone switches the source off and says so in the store.
    EXPECT_FALSE(dialog.SourceBox(2)->isChecked());
    EXPECT_EQ(run.store.Number(QStringLiteral("bCDPlayer")), 0);
    dialog.SourceBox(2)->setChecked(true);
    EXPECT_EQ(run.messages,
              QStringList{QStringLiteral("Please enter a valid CDPlayer file in 'Advanced Settings'.")});
    EXPECT_FALSE(dialog.SourceBox(2)->isChecked());
    EXPECT_EQ(dialog.List()->item(0)->text(), QStringLiteral("Drive [/dev/sr0]"));
    EXPECT_EQ(run.store.ReadSettingString(QStringLiteral("lastDrive")), QString());
}

TEST(ReadCdDialogTest, AdvancedSettingsKeepCarriedFieldsAndFetchTheListOnce)
{
    LocalHttpServer sites({Answer("210 OK, site information follows\r\n"
                                  "mirror1 http 80 /~cddb/cddb.cgi N037.23 W122.03 First`Mirror\r\n"
                                  "127.0.0.1 http 8080 /cgi S033.52 E151.12 Sydney\r\n.\r\n")});
    ReadCdRun run;
    run.session.listServer = Local(sites.Port());
    run.session.currentServer = FreedbOptions::Parse(QStringLiteral("127.0.0.1`81`/p`Sydney`5`a`b`c`d`"));
    run.settings.cdPlayer = true;
    run.settings.cdPlayerPath = run.dir.filePath(QStringLiteral("gone.ini"));
    AdvancedSettingsDialog dialog(run.session);
    EXPECT_EQ(dialog.ServerBox()->count(), 1);
    dialog.ServerListButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !dialog.IsFetching(); }));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral(" Advanced Settings"));
    ASSERT_EQ(dialog.ServerBox()->count(), 2);
    dialog.ServerListButton()->click();
    EXPECT_FALSE(dialog.IsFetching());
    EXPECT_EQ(sites.Requests().size(), 1u);
    dialog.ServerBox()->setCurrentIndex(0);
    dialog.EmailEdit()->setText(QStringLiteral("me@example.org"));
    dialog.accept();
    EXPECT_EQ(run.messages, QStringList{QStringLiteral("The selected CDPlayer file does not exist.")});
    EXPECT_FALSE(run.settings.cdPlayer);
    EXPECT_EQ(run.store.Number(QStringLiteral("bCDPlayer")), 0);
    // The network's backquote cannot shift the carried fields.
    EXPECT_EQ(run.store.ReadSettingString(QStringLiteral("FreedbOptions")),
              QStringLiteral("mirror1`80`/~cddb/cddb.cgi`FirstMirror`0`a`b`c`d`"));
    EXPECT_EQ(run.store.ReadSettingString(QStringLiteral("FreedbEmail")), QStringLiteral("me@example.org"));
    EXPECT_EQ(run.session.helloAddress, QStringLiteral("me@example.org"));
}

} // namespace
} // namespace tvl
