#pragma once

#include "discinfo/ReadCdState.h"
#include "discinfo/ReadCdWorker.h"

#include <QDialog>
#include <QTimer>

#include <memory>

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QVBoxLayout;

namespace tvl {

class CdDriveAccess;
class DesignDocument;
class Mp3TrackList;
struct ReadCdSession;

// " Read CD": pick the drive and the sources, read on a worker while the caption animates, then show the
// records found with a preview (or the rows of an MP3 disc) and write the chosen one into the design as
// one edit. Each reading has its own shared state; a reading given up (Cancel, Retry, closing) is only
// told to stop, and whatever it still produces is never looked at.
class ReadCdDialog final : public QDialog
{
public:
    enum class Phase
    {
        Choosing = 1,
        Results = 2,
        Mp3List = 3,
    };

    ReadCdDialog(ReadCdSession& session, const CdDriveAccess& drives, DesignDocument& document,
                 QWidget* parent = nullptr);
    ~ReadCdDialog() override;

    Phase CurrentPhase() const { return phase; }
    bool IsReading() const { return timer.isActive(); }
    QListWidget* List() const { return list; }
    QCheckBox* SourceBox(int index) const { return sourceBoxes[index]; }
    QCheckBox* OnlyTimesBox() const { return onlyTimes; }
    QTreeWidget* Preview() const { return preview; }
    QPushButton* DefaultButton() const { return readButton; }
    QPushButton* AdvancedButton() const { return advancedButton; }
    QPushButton* MoveButton(bool up) const { return up ? moveUpButton : moveDownButton; }
    Mp3TrackList* TrackList() const { return trackList; }

    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildControls();
    void ToggleSource(int index, bool on);
    void OpenAdvancedSettings();
    void DefaultPressed();
    void StartReading();
    void StopReading();
    void Tick();
    void Animate(const QString& statusText);
    void Publish(const ReadCdState::Snapshot& snapshot);
    void Finish(const ReadCdState::Snapshot& snapshot);
    void BackToChoosing();
    void ShowResults();
    void ShowPreview(int index);
    void EnterMp3Phase(const QStringList& fileNames);
    void FinishMp3List();
    // The disc chosen for album data: 0 for a single design, 1 or 2, or -1 when the user cancelled.
    int ChooseDisc();
    void ApplyAudio();
    void ApplyMp3();

    ReadCdSession& session;
    DesignDocument& document;
    Phase phase = Phase::Choosing;
    std::shared_ptr<ReadCdState> state;
    std::shared_ptr<ReadCdOptions> options;
    ReadCdState::Snapshot found;
    QTimer timer;
    QString trail;
    QString lastStatusText;
    int appliedTags = 0;
    int appliedTimes = 0;

    QVBoxLayout* layout = nullptr;
    QLabel* listLabel = nullptr;
    QListWidget* list = nullptr;
    QGroupBox* sourcesBox = nullptr;
    QCheckBox* sourceBoxes[4] = {};
    QLabel* note = nullptr;
    QCheckBox* onlyTimes = nullptr;
    QLabel* previewLabel = nullptr;
    QTreeWidget* preview = nullptr;
    Mp3TrackList* trackList = nullptr;
    QPushButton* readButton = nullptr;
    QPushButton* advancedButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QPushButton* helpButton = nullptr;
    QPushButton* moveUpButton = nullptr;
    QPushButton* moveDownButton = nullptr;
};

} // namespace tvl
