#pragma once

#include "document/history/UndoStep.h"
#include "document/model/UndoRecorder.h"

#include <memory>
#include <vector>

namespace tvl {

class HistoryHost;
class LabelDesign;

// The undo and redo history of one design: at most kMaxSteps steps. The document's edit operations open a
// step, change items through their accessors (which report here) or report before/after aspect pairs
// around whole-aspect changes, and close the step. Undo re-applies the before side of the current step, redo
// the after side of the next one.
class UndoHistory final : public UndoRecorder
{
public:
    static constexpr int kMaxSteps = 50;

    UndoHistory(LabelDesign& design, HistoryHost& host);
    ~UndoHistory() override;

    // Opens a step unless one is open or recording is off; remembers the selected item (and its caret).
    void BeginStep();
    // Closes the open step and appends it, dropping the redo tail and the oldest step beyond the limit.
    void EndStep();
    void RecordChange(UndoKey key, CRichChild* item, const QString& oldValue,
                      const QString& newValue) override;

    bool CanUndo() const;
    bool CanRedo() const;
    void Undo();
    void Redo();
    void ClearHistory();

    // Off while a design is read and while a step is applied.
    void SetRecording(bool on) { m_recording = on; }
    bool recording() const { return m_recording; }

    // An album field the open step sets from before to after; undo and redo set it again (linked items
    // follow), before the item snapshots of the step are restored.
    void RecordAlbumField(const QString& key, const QString& before, const QString& after);
    // The open step's snapshots are whole items (PrevRich/NextRich): undo and redo give each item back
    // as a whole, its page code and cover fold and spine too, not only the recorded properties.
    void RestoreWholeItems();

    int stepCount() const { return static_cast<int>(m_steps.size()); }
    int currentIndex() const { return m_current; }
    const UndoStep* openStep() const { return m_open.get(); }
    // The step at index (0 is the oldest), or null.
    const UndoStep* StepAt(int index) const
    {
        return index >= 0 && index < stepCount() ? m_steps[static_cast<size_t>(index)].get() : nullptr;
    }

private:
    CRichChild& SnapshotFor(std::vector<std::unique_ptr<CRichChild>>& side, const CRichChild& item);
    QStringList CurrentOrder() const;
    void Apply(const UndoStep& step, bool before);
    void RestoreOrder(const QStringList& order, const std::vector<std::unique_ptr<CRichChild>>& snapshots);
    void RestoreSnapshot(const CRichChild& snapshot);
    void RestoreWhole(const CRichChild& snapshot);

    LabelDesign& m_design;
    HistoryHost& m_host;
    std::vector<std::unique_ptr<UndoStep>> m_steps;
    int m_current = -1;
    std::unique_ptr<UndoStep> m_open;
    bool m_recording = true;
};

} // namespace tvl
