#pragma once

#include <QThread>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace tvl {

// Makes count chunks on as many threads as the process may run on at once (at most count), and hands each
// one to consume on the calling thread, in index order, as soon as it and all chunks before it are made.
// make(index) returns the chunk or nothing when it failed; then no further chunk is handed on and the
// result is false. Chunks are dropped once consumed, so at most a few wait in memory at any time.
template <typename Chunk, typename Make, typename Consume>
bool MakeChunksInOrder(int count, Make make, Consume consume)
{
    const int threads = std::clamp(QThread::idealThreadCount(), 1, std::max(count, 1));
    const auto makeSafely = [&make](int index) -> std::optional<Chunk> {
        try {
            return make(index);
        } catch (const std::bad_alloc&) {
            return std::nullopt;
        }
    };
    if (threads == 1) {
        for (int i = 0; i < count; ++i) {
            std::optional<Chunk> chunk = makeSafely(i);
            if (!chunk)
                return false;
            consume(i, *chunk);
        }
        return true;
    }

    std::mutex mutex;
    std::condition_variable madeOne;
    std::vector<std::optional<Chunk>> made(static_cast<size_t>(count));
    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
    const auto work = [&] {
        for (int i = next++; i < count && !failed; i = next++) {
            std::optional<Chunk> chunk = makeSafely(i);
            {
                const std::lock_guard lock(mutex);
                if (chunk)
                    made[static_cast<size_t>(i)] = std::move(chunk);
                else
                    failed = true;
            }
            madeOne.notify_all();
        }
    };
    bool complete = true;
    {
        std::vector<std::jthread> pool;
        for (int t = 0; t < threads; ++t)
            pool.emplace_back(work);
        for (int i = 0; i < count; ++i) {
            std::unique_lock lock(mutex);
            std::optional<Chunk>& slot = made[static_cast<size_t>(i)];
            madeOne.wait(lock, [&] { return slot.has_value() || failed; });
            if (!slot) {
                complete = false;
                break;
            }
            Chunk chunk = std::move(*slot);
            slot.reset();
            lock.unlock();
            consume(i, chunk);
        }
        if (!complete)
            failed = true;
    }
    return complete;
}

} // namespace tvl
