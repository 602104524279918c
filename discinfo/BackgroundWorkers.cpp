#include "discinfo/BackgroundWorkers.h"

#include <utility>

namespace tvl {

BackgroundWorkers::~BackgroundWorkers()
{
    StopAll();
}

void BackgroundWorkers::Start(std::function<void()> work, std::function<void()> stop)
{
    JoinFinished();
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::thread thread([work = std::move(work), done] {
        work();
        *done = true;
    });
    const std::lock_guard guard(lock);
    workers.push_back({std::move(thread), std::move(done), std::move(stop)});
}

void BackgroundWorkers::JoinFinished()
{
    std::vector<Worker> finished;
    {
        const std::lock_guard guard(lock);
        for (auto worker = workers.begin(); worker != workers.end();) {
            if (*worker->done) {
                finished.push_back(std::move(*worker));
                worker = workers.erase(worker);
            } else {
                ++worker;
            }
        }
    }
    for (Worker& worker : finished)
        worker.thread.join();
}

void BackgroundWorkers::StopAll()
{
    std::vector<Worker> all;
    {
        const std::lock_guard guard(lock);
        all = std::move(workers);
        workers.clear();
    }
    for (Worker& worker : all) {
        if (worker.stop)
            worker.stop();
    }
    for (Worker& worker : all)
        worker.thread.join();
}

int BackgroundWorkers::Running() const
{
    const std::lock_guard guard(lock);
    int running = 0;
    for (const Worker& worker : workers)
        running += *worker.done ? 0 : 1;
    return running;
}

} // namespace tvl
