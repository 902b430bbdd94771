#pragma once

#include "state/snapshot_file.h"
#include "state/system_info_store.h"

#include <QCoreApplication>
#include <QFuture>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace veltrin::testing {

// A benchmark that hands back `result()` at once, with no rounds and no history.
inline SystemInfoStore::BenchmarkRunner benchmarkGiving(std::function<BenchResult()> result)
{
    return [result = std::move(result)](const Benchmark::Progress&) { return BenchmarkOutcome{{result(), {}}, {}}; };
}

inline SystemInfoStore::BenchmarkRunner noBenchmark()
{
    return benchmarkGiving([] { return initialBenchResult(); });
}

// Turns the event loop until `done()` holds; false when it does not within `limit`.
template <typename Predicate>
bool waitUntil(Predicate done, std::chrono::milliseconds limit = std::chrono::seconds(10))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    QCoreApplication::processEvents();
    return true;
}

template <typename T>
bool waitFor(const QFuture<T>& future, std::chrono::milliseconds limit = std::chrono::seconds(10))
{
    return waitUntil([&] { return future.isFinished(); }, limit);
}

// Holds background work until the test releases it, and counts who arrived.
class Gate {
public:
    void pass()
    {
        std::unique_lock lock(mutex_);
        ++arrived_;
        changed_.notify_all();
        changed_.wait(lock, [&] { return released_ > 0; });
        --released_;
    }
    void release(int count = 1)
    {
        const std::lock_guard lock(mutex_);
        released_ += count;
        changed_.notify_all();
    }
    bool waitForArrivals(int count, std::chrono::milliseconds limit = std::chrono::seconds(10))
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return arrived_ >= count; });
    }
    int arrived()
    {
        const std::lock_guard lock(mutex_);
        return arrived_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int arrived_ = 0;
    int released_ = 0;
};

// A capture of tests/fixtures/captures, by its folder's name.
inline std::string capturePath(const std::string& name) { return std::string(VELTRIN_FIXTURES) + "/captures/" + name; }

// That capture's snapshot, replayed.
inline SystemSnapshot capturedSnapshot(const std::string& name)
{
    SnapshotRead read = readSnapshot(capturePath(name));
    if (!read.snapshot)
        ADD_FAILURE() << read.problem;
    return read.snapshot.value_or(SystemSnapshot{});
}

} // namespace veltrin::testing
