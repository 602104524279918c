#include "print/export/ExportJob.h"

#include "document/model/LabelDesign.h"

#include <QThreadPool>
#include <chrono>
#include <thread>

namespace tvl {
namespace {

std::unique_ptr<LabelDesign> CopyDesign(const LabelDesign& design)
{
    auto copy = std::make_unique<LabelDesign>();
    std::vector<std::unique_ptr<CRichChild>> items;
    items.reserve(design.itemList.size());
    for (const auto& item : design.itemList) {
        items.push_back(std::make_unique<CRichChild>(*item));
        items.back()->AttachRecorder(nullptr);
    }
    copy->ReplaceItems(std::move(items));
    copy->albumHeader = design.albumHeader;
    return copy;
}

} // namespace

std::shared_ptr<ExportJob> ExportJob::Start(const LabelDesign& design, const ExportChoices& choices,
                                            const QString& path)
{
    std::shared_ptr<ExportJob> job(new ExportJob);
    std::shared_ptr<LabelDesign> copy = CopyDesign(design);
    QThreadPool::globalInstance()->start([job, copy, choices, path] { job->Run(*copy, choices, path); });
    return job;
}

void ExportJob::Run(const LabelDesign& design, const ExportChoices& choices, const QString& path)
{
    ExportProgress progress;
    progress.saving = [this] { m_state.store(State::Saving); };
    progress.cancelled = [this] { return cancelled(); };
    FileResult<> result = ExportLabel(design, choices, path, progress);
    {
        const std::lock_guard lock(m_mutex);
        m_result = std::move(result);
    }
    m_state.store(State::Finished);
}

std::optional<FileResult<>> ExportJob::result() const
{
    const std::lock_guard lock(m_mutex);
    return m_result;
}

void ExportJob::Wait() const
{
    while (state() != State::Finished)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

} // namespace tvl
