#pragma once

#include "document/files/FileResult.h"
#include "print/export/LabelExport.h"

#include <QString>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

namespace tvl {

class LabelDesign;

// One export running on a worker thread of the global pool, over its own copy of the design, so that
// the window that started it may edit the design, close or be destroyed meanwhile: the worker only
// touches this job, which it shares. The window polls State() and may Cancel(); a cancelled export leaves
// no file. The application waits for the pool's workers before it ends.
class ExportJob
{
public:
    enum class State
    {
        Drawing,
        Saving,
        Finished,
    };

    // Copies the design and starts the worker.
    static std::shared_ptr<ExportJob> Start(const LabelDesign& design, const ExportChoices& choices,
                                            const QString& path);

    State state() const { return m_state.load(); }
    void Cancel() { m_cancelled.store(true); }
    bool cancelled() const { return m_cancelled.load(); }
    // The outcome once the state is Finished.
    std::optional<FileResult<>> result() const;
    // Blocks until the worker has finished (for tests and benchmarks).
    void Wait() const;

private:
    ExportJob() = default;
    void Run(const LabelDesign& design, const ExportChoices& choices, const QString& path);

    std::atomic<State> m_state{State::Drawing};
    std::atomic<bool> m_cancelled{false};
    mutable std::mutex m_mutex;
    std::optional<FileResult<>> m_result;
};

} // namespace tvl
