#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tvl {

// The worker threads of slow work (reading a disc, fetching the server list). Whoever owns this object
// outlives every worker: on destruction each worker's stop routine is called and every thread is joined,
// so no worker writes into state that is gone. Finished threads are joined when the next one starts.
class BackgroundWorkers
{
public:
    BackgroundWorkers() = default;
    ~BackgroundWorkers();
    BackgroundWorkers(const BackgroundWorkers&) = delete;
    BackgroundWorkers& operator=(const BackgroundWorkers&) = delete;

    // Runs work on a thread of its own; stop, when given, asks it to end early (it must not block).
    void Start(std::function<void()> work, std::function<void()> stop = {});
    // Asks every worker to stop and waits for all of them.
    void StopAll();
    // Workers still running.
    int Running() const;

private:
    struct Worker
    {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
        std::function<void()> stop;
    };
    void JoinFinished();

    mutable std::mutex lock;
    std::vector<Worker> workers;
};

} // namespace tvl
