#include "app/readcd/ReadCdDialog.h"

#include "app/messages/ErrorReport.h"
#include "app/readcd/AdvancedSettingsDialog.h"
#include "app/readcd/Mp3TrackList.h"
#include "app/readcd/ReadCdSession.h"
#include "app/settings/AppSettings.h"
#include "app/settings/SettingsStore.h"
#include "discinfo/AlbumMerge.h"
#include "discinfo/CdDriveAccess.h"
#include "discinfo/DiscId.h"
#include "document/design/DesignDocument.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tvl {

namespace {

constexpr int tickMs = 100;
constexpr int captionWidthLimit = 325;
constexpr int stopIcon = 1;
constexpr int exclamationIcon = 2;

const QString discQuestion = QStringLiteral("Which disc do you want this data attached to?");

struct Source
{
    const char* label;
    const char* setting;
};
constexpr Source sources[4] = {
    {"Freedb", "bFreedb"},
    {"CD-TEXT", "bCDText"},
    {"CDPlayer.ini", "bCDPlayer"},
    {"MP3 Files", "bMp3"},
};

bool& SourceFlag(AppSettings& settings, int index)
{
    switch (index) {
    case 0:
        return settings.freedb;
    case 1:
        return settings.cdText;
    case 2:
        return settings.cdPlayer;
    default:
        return settings.mp3;
    }
}

bool SameServer(const DiscDbServer& a, const DiscDbServer& b)
{
    return a.host == b.host && a.port == b.port && a.path == b.path;
}

} // namespace

ReadCdDialog::ReadCdDialog(ReadCdSession& session, const CdDriveAccess& drives, DesignDocument& document,
                           QWidget* parent)
    : QDialog(parent)
    , session(session)
    , document(document)
{
    Guarded(357, [&] {
        setWindowTitle(QStringLiteral(" Read CD"));
        setObjectName(QStringLiteral("ReadCdDialog"));
        BuildControls();
        AppSettings& settings = session.settings;
        // Without a known CD player file the source is off for this run; a named file that is gone
        // switches it off for good.
        if (settings.cdPlayerPath.isEmpty()) {
            settings.cdPlayer = false;
        } else if (settings.cdPlayer && !ReadCdSession::CanOpen(settings.cdPlayerPath)) {
            settings.cdPlayer = false;
            session.store.WriteSetting(u"Number", QStringLiteral("bCDPlayer"), QStringLiteral("0"));
        }
        for (int i = 0; i < 4; ++i) {
            const QSignalBlocker quiet(sourceBoxes[i]);
            sourceBoxes[i]->setChecked(SourceFlag(settings, i));
        }

        for (int i = 0; i < drives.GetDriveCount(); ++i) {
            auto* line =
                new QListWidgetItem(style()->standardIcon(QStyle::SP_DriveCDIcon),
                                    QStringLiteral("Drive [") + drives.GetDriveDevice(i) + u']', list);
            line->setToolTip(drives.GetDriveName(i));
        }
        int selected = session.driveIndex;
        for (int i = 0; i < list->count(); ++i) {
            if (!settings.lastDrive.isEmpty() && list->item(i)->text() == settings.lastDrive)
                selected = i;
        }
        if (selected < 0 || selected >= list->count())
            selected = 0;
        session.driveIndex = selected;
        {
            const QSignalBlocker quiet(list);
            list->setCurrentRow(selected);
        }
        connect(&timer, &QTimer::timeout, this, [this] { Tick(); });
        timer.setInterval(tickMs);
    });
}

ReadCdDialog::~ReadCdDialog()
{
    if (state)
        state->runFlag = false;
}

void ReadCdDialog::BuildControls()
{
    listLabel = new QLabel(QStringLiteral("Select the CD-Rom drive."), this);
    list = new QListWidget(this);
    list->setObjectName(QStringLiteral("DriveList"));
    listLabel->setBuddy(list);
    connect(list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0)
            return;
        if (phase == Phase::Choosing) {
            session.driveIndex = row;
            session.settings.lastDrive = list->item(row)->text();
            session.store.WriteSetting(u"String", QStringLiteral("lastDrive"), session.settings.lastDrive);
        } else if (phase == Phase::Results && !found.results.empty()) {
            ShowPreview(row);
        }
    });

    sourcesBox = new QGroupBox(QStringLiteral("Sources"), this);
    auto* sourceLayout = new QGridLayout(sourcesBox);
    for (int i = 0; i < 4; ++i) {
        sourceBoxes[i] = new QCheckBox(QString::fromLatin1(sources[i].label), sourcesBox);
        sourceLayout->addWidget(sourceBoxes[i], i / 2, i % 2);
        connect(sourceBoxes[i], &QCheckBox::toggled, this, [this, i](bool on) { ToggleSource(i, on); });
    }
    note = new QLabel(QStringLiteral("The track times are always read from the disc itself."), sourcesBox);
    note->setWordWrap(true);
    sourceLayout->addWidget(note, 2, 0, 1, 2);

    onlyTimes = new QCheckBox(QStringLiteral("Only add the track times."), this);
    onlyTimes->hide();
    connect(onlyTimes, &QCheckBox::toggled, this, [this](bool on) {
        list->setEnabled(!on);
        preview->setEnabled(!on);
        if (on) {
            for (int i = 0; i < preview->topLevelItemCount(); ++i)
                preview->topLevelItem(i)->setText(1, QString());
        } else {
            ShowPreview(list->currentRow());
        }
    });
    previewLabel = new QLabel(QStringLiteral("Preview:"), this);
    preview = new QTreeWidget(this);
    preview->setObjectName(QStringLiteral("Preview"));
    preview->setColumnCount(2);
    preview->setHeaderHidden(true);
    preview->setRootIsDecorated(false);
    preview->setSelectionMode(QAbstractItemView::NoSelection);
    previewLabel->setBuddy(preview);
    previewLabel->hide();
    preview->hide();

    readButton = new QPushButton(QStringLiteral("Read CD"), this);
    readButton->setDefault(true);
    connect(readButton, &QPushButton::clicked, this, [this] { DefaultPressed(); });
    advancedButton = new QPushButton(QStringLiteral("Advanced Settings"), this);
    connect(advancedButton, &QPushButton::clicked, this, [this] {
        if (phase == Phase::Mp3List)
            trackList->SortByName();
        else
            OpenAdvancedSettings();
    });
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    connect(cancelButton, &QPushButton::clicked, this, [this] { reject(); });
    helpButton =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogHelpButton), QStringLiteral("Help"), this);
    connect(helpButton, &QPushButton::clicked, this, [this] {
        if (session.openHelp)
            session.openHelp();
    });
    moveUpButton = new QPushButton(style()->standardIcon(QStyle::SP_ArrowUp), QString(), this);
    moveUpButton->setToolTip(QStringLiteral("Move Row Up"));
    moveUpButton->setAccessibleName(QStringLiteral("Move Row Up"));
    moveDownButton = new QPushButton(style()->standardIcon(QStyle::SP_ArrowDown), QString(), this);
    moveDownButton->setToolTip(QStringLiteral("Move Row Down"));
    moveDownButton->setAccessibleName(QStringLiteral("Move Row Down"));
    for (QPushButton* button : {moveUpButton, moveDownButton}) {
        button->setAutoDefault(false);
        button->hide();
    }
    connect(moveUpButton, &QPushButton::clicked, this, [this] { trackList->MoveRows(true); });
    connect(moveDownButton, &QPushButton::clicked, this, [this] { trackList->MoveRows(false); });
    for (QPushButton* button : {advancedButton, cancelButton, helpButton})
        button->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(moveUpButton);
    buttons->addWidget(moveDownButton);
    buttons->addWidget(advancedButton);
    buttons->addStretch(1);
    buttons->addWidget(readButton);
    buttons->addWidget(cancelButton);
    buttons->addWidget(helpButton);

    layout = new QVBoxLayout(this);
    layout->addWidget(listLabel);
    layout->addWidget(list, 1);
    layout->addWidget(sourcesBox);
    layout->addWidget(onlyTimes);
    layout->addWidget(previewLabel);
    layout->addWidget(preview, 2);
    layout->addLayout(buttons);
    resize(420, 420);
}

void ReadCdDialog::ToggleSource(int index, bool on)
{
    AppSettings& settings = session.settings;
    if (index == 2 && on && !ReadCdSession::CanOpen(settings.cdPlayerPath)) {
        session.Tell(exclamationIcon,
                     QStringLiteral("Please enter a valid CDPlayer file in 'Advanced Settings'."),
                     QStringLiteral("OK`"), this);
        const QSignalBlocker quiet(sourceBoxes[index]);
        sourceBoxes[index]->setChecked(false);
        return;
    }
    SourceFlag(settings, index) = on;
    session.store.WriteSetting(u"Number", QString::fromLatin1(sources[index].setting),
                               on ? QStringLiteral("1") : QStringLiteral("0"));
}

void ReadCdDialog::OpenAdvancedSettings()
{
    AdvancedSettingsDialog dialog(session, this);
    dialog.move(pos() + QPoint(34, 100));
    dialog.exec();
    const QSignalBlocker quiet(sourceBoxes[2]);
    sourceBoxes[2]->setChecked(session.settings.cdPlayer);
}

void ReadCdDialog::DefaultPressed()
{
    switch (phase) {
    case Phase::Choosing:
        if (!IsReading())
            StartReading();
        break;
    case Phase::Results:
        ApplyAudio();
        break;
    case Phase::Mp3List:
        ApplyMp3();
        break;
    }
}

void ReadCdDialog::StartReading()
{
    StopReading();
    const AppSettings& settings = session.settings;
    state = std::make_shared<ReadCdState>();
    state->runFlag = true;
    state->SetDriveIndex(session.driveIndex);
    state->SetStatusText(QStringLiteral(" Scanning CD "));
    options = std::make_shared<ReadCdOptions>();
    options->freedb = settings.freedb;
    options->cdText = settings.cdText;
    options->cdPlayer = settings.cdPlayer;
    options->mp3 = settings.mp3;
    options->cdPlayerPath = settings.cdPlayerPath;
    options->server = session.currentServer.server;
    options->fallbackServer = session.fallbackServer;
    options->helloAddress = session.helloAddress;
    options->timeoutMs = session.timeoutMs;
    appliedTags = appliedTimes = 0;

    list->setEnabled(false);
    for (QCheckBox* box : sourceBoxes)
        box->setEnabled(false);
    note->setEnabled(false);
    readButton->hide();
    advancedButton->hide();
    trail.clear();
    lastStatusText = QStringLiteral(" Scanning CD ");
    setWindowTitle(lastStatusText);
    timer.start();
    session.workers.Start(
        [state = state, options = options, transport = session.openTransport()] {
            RunReadCdWorker(*state, transport, *options);
        },
        [state = state] { state->runFlag = false; });
}

void ReadCdDialog::StopReading()
{
    timer.stop();
    unsetCursor();
    if (state)
        state->runFlag = false;
}

void ReadCdDialog::Tick()
{
    Guarded(362, [&] {
        if (!state)
            return;
        const ReadCdState::Snapshot snapshot = state->Take();
        if (snapshot.status == ReadCdState::running) {
            setCursor(Qt::WaitCursor);
            Animate(snapshot.statusText);
            if (snapshot.mp3.count > 0)
                Publish(snapshot);
            return;
        }
        timer.stop();
        unsetCursor();
        Finish(snapshot);
    });
}

void ReadCdDialog::Animate(const QString& statusText)
{
    if (statusText != lastStatusText) {
        trail.clear();
        lastStatusText = statusText;
    }
    trail += u'.';
    if (QFontMetrics(font()).horizontalAdvance(statusText + trail) > captionWidthLimit)
        trail = QStringLiteral(".");
    setWindowTitle(statusText + trail);
}

void ReadCdDialog::Publish(const ReadCdState::Snapshot& snapshot)
{
    if (phase != Phase::Mp3List)
        EnterMp3Phase(snapshot.mp3.fileNames);
    for (; appliedTags < snapshot.mp3.tagNames.size(); ++appliedTags)
        trackList->ApplyTagName(appliedTags, snapshot.mp3.tagNames[appliedTags], session.settings.mp3Tag);
    for (; appliedTimes < snapshot.mp3.playTimes.size(); ++appliedTimes)
        trackList->ApplyPlayTime(appliedTimes, snapshot.mp3.playTimes[appliedTimes]);
    if (appliedTimes >= snapshot.mp3.count)
        state->SetStatus(ReadCdState::finished);
}

void ReadCdDialog::EnterMp3Phase(const QStringList& fileNames)
{
    phase = Phase::Mp3List;
    listLabel->setText(QStringLiteral("MP3 Track Information"));
    for (QWidget* widget : std::initializer_list<QWidget*>{list, sourcesBox, note, previewLabel, preview})
        widget->hide();
    trackList = new Mp3TrackList(this);
    layout->insertWidget(layout->indexOf(list) + 1, trackList, 3);
    listLabel->setBuddy(trackList);
    trackList->Fill(fileNames);
}

void ReadCdDialog::Finish(const ReadCdState::Snapshot& snapshot)
{
    found = snapshot;
    // A server that could not be reached was replaced by the public one for the rest of the run.
    if (options && !SameServer(options->server, session.currentServer.server))
        session.currentServer.server = options->server;
    const auto showError = [&] {
        if (!snapshot.errorText.isEmpty())
            session.Tell(stopIcon, snapshot.errorText, QStringLiteral("OK`"), this);
    };
    if (phase == Phase::Mp3List) {
        FinishMp3List();
        showError();
        return;
    }
    switch (snapshot.status) {
    case ReadCdState::finished: {
        readButton->setText(QStringLiteral("OK"));
        if (options->freedb || options->cdText || options->cdPlayer) {
            ShowResults();
            showError();
        } else {
            showError();
            ApplyAudio();
        }
        break;
    }
    case ReadCdState::noMusicTracks:
        session.Tell(stopIcon, QStringLiteral("The CD does not contain any music tracks."),
                     QStringLiteral("OK`"), this);
        showError();
        StopReading();
        QDialog::reject();
        break;
    default:
        showError();
        if (session.Tell(stopIcon, QStringLiteral("The CD-ROM drive is not ready."),
                         QStringLiteral("Retry`Cancel`"), this) == 1)
            StartReading();
        else
            BackToChoosing();
        break;
    }
}

void ReadCdDialog::BackToChoosing()
{
    StopReading();
    list->setEnabled(true);
    for (QCheckBox* box : sourceBoxes)
        box->setEnabled(true);
    note->setEnabled(true);
    readButton->show();
    advancedButton->show();
    setWindowTitle(QStringLiteral(" Read CD"));
}

void ReadCdDialog::ShowResults()
{
    phase = Phase::Results;
    const int count = static_cast<int>(found.results.size());
    if (count >= 2)
        setWindowTitle(QStringLiteral(" Found %1 matches").arg(count));
    else if (count == 1)
        setWindowTitle(QStringLiteral(" Found 1 match"));
    else
        setWindowTitle(QStringLiteral(" No matches were found"));
    sourcesBox->hide();
    readButton->show();
    list->setEnabled(true);
    const QSignalBlocker quiet(list);
    list->clear();
    if (count == 0) {
        listLabel->hide();
        new QListWidgetItem(style()->standardIcon(QStyle::SP_MessageBoxInformation),
                            QStringLiteral("The album information could not be found.\nThe track times will "
                                           "still be added."),
                            list);
        return;
    }
    onlyTimes->show();
    listLabel->setText(QStringLiteral("Match:"));
    for (int i = 0; i < count; ++i)
        list->addItem(
            QStringLiteral(" %1. [%2]").arg(i + 1).arg(found.results[static_cast<size_t>(i)].source));
    list->setCurrentRow(0);
    previewLabel->show();
    preview->show();
    ShowPreview(0);
}

void ReadCdDialog::ShowPreview(int index)
{
    if (index < 0 || index >= static_cast<int>(found.results.size()))
        return;
    const DiscRecord& record = found.results[static_cast<size_t>(index)];
    const int scroll = preview->verticalScrollBar()->value();
    preview->clear();
    const auto row = [this](const QString& label, const QString& value) {
        new QTreeWidgetItem(preview, {label, value});
    };
    row(QStringLiteral("Artist:"), record.artist);
    row(QStringLiteral("Title:"), record.title);
    row(QStringLiteral("Year:"), record.year != 0 ? QString::number(record.year) : QString());
    row(QStringLiteral("Genre:"), record.genre);
    for (qsizetype i = 0; i < record.trackTitles.size(); ++i)
        row(QStringLiteral("Track %1:").arg(i + 1), record.trackTitles[i].trimmed());
    const QFontMetrics metrics(preview->font());
    preview->setColumnWidth(0, metrics.horizontalAdvance(QStringLiteral("Track 88:")) + 14);
    preview->resizeColumnToContents(1);
    preview->setColumnWidth(1, preview->columnWidth(1) + 15);
    preview->verticalScrollBar()->setValue(scroll);
}

void ReadCdDialog::FinishMp3List()
{
    trackList->SetReady(true);
    trackList->FitColumns();
    setWindowTitle(QStringLiteral(" Found %1 Tracks").arg(found.mp3.count));
    readButton->show();
    moveUpButton->show();
    moveDownButton->show();
    advancedButton->setText(QString());
    advancedButton->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    advancedButton->setToolTip(QStringLiteral("Sort Track Names"));
    advancedButton->setAccessibleName(QStringLiteral("Sort Track Names"));
    advancedButton->setFixedSize(moveUpButton->sizeHint());
    advancedButton->show();
}

int ReadCdDialog::ChooseDisc()
{
    if (!document.IsDouble())
        return 0;
    const int answer = session.chooseDisc(discQuestion, session.importDisc, this);
    if (answer > 0)
        session.importDisc = answer;
    return answer;
}

void ReadCdDialog::ApplyAudio()
{
    Guarded(361, [&] {
        // Cancel in the disc question ends the whole apply: nothing is written, the dialog stays.
        const int disc = ChooseDisc();
        if (disc < 0)
            return;
        const ImportDisc target = disc == 0   ? ImportDisc::Single
                                  : disc == 1 ? ImportDisc::Disc1
                                              : ImportDisc::Disc2;
        const DiscRecord* record = nullptr;
        const int chosen = list->currentRow();
        if (phase == Phase::Results && !onlyTimes->isChecked() && chosen >= 0 &&
            chosen < static_cast<int>(found.results.size()))
            record = &found.results[static_cast<size_t>(chosen)];
        const AlbumFieldWrites writes =
            PlanAlbumImport([this](const QString& key) { return document.design().LinkedAlbumText(key); },
                            TrackLengths(found.toc), record, target);
        document.SetAlbumFields(writes);
        StopReading();
        accept();
    });
}

void ReadCdDialog::ApplyMp3()
{
    Guarded(361, [&] {
        const std::vector<Mp3Row> rows = trackList->Rows();
        const int disc = ChooseDisc();
        if (disc < 0)
            return;
        document.SetAlbumFields(
            {{TrackListKey(disc == 2 ? ImportDisc::Disc2 : ImportDisc::Single), Mp3TrackListValue(rows)}});
        StopReading();
        accept();
    });
}

void ReadCdDialog::reject()
{
    StopReading();
    QDialog::reject();
}

void ReadCdDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1 && session.openHelp) {
        session.openHelp();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace tvl
