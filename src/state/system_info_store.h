#pragma once

// The one observable object behind the interface: the latest snapshot split into
// its four parts, the latest benchmark result, and the refresh flag. It lives on
// the interface thread; the slow work runs on detached background threads and
// its results are published back on the interface thread.

#include "core/records.h"

#include <QFuture>
#include <QObject>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin {

class SystemInfoStore : public QObject {
    Q_OBJECT

public:
    // The snapshot's parts come first, in the record's field order: a refresh
    // publishes them by position.
    enum class Property { cpu, mainboard, memory, gpus, bench, isRefreshing };
    Q_ENUM(Property)

    using Collector = std::function<SystemSnapshot()>;
    using BenchmarkRunner = std::function<BenchResult()>;

    // `collect` and `benchmark` run off the interface thread and must not touch
    // the store; they may outlive it.
    SystemInfoStore(Collector collect, BenchmarkRunner benchmark, QObject* parent = nullptr);

    const CPUInfo& cpu() const { return snapshot_.cpu; }
    const MainboardInfo& mainboard() const { return snapshot_.mainboard; }
    const MemoryInfo& memory() const { return snapshot_.memory; }
    const std::vector<GPUInfo>& gpus() const { return snapshot_.gpus; }
    const BenchResult& bench() const { return bench_; }
    bool isRefreshing() const { return isRefreshing_; }

    // Collects a snapshot in the background and publishes cpu, mainboard, memory
    // and gpus in that order, then clears isRefreshing. A call made while a
    // refresh is under way does nothing. The future finishes once published (or
    // at once when skipped); it is cancelled if the store goes away first.
    QFuture<void> refreshAll();

    // Marks the current result "Running…", runs one benchmark in the background
    // and replaces the result whole when it returns. Runs are not serialised.
    QFuture<void> runBenchmark();

    // The fourteen-line plain-text summary of the current values.
    std::string summaryText() const;

Q_SIGNALS:
    // Emitted on the interface thread just before `property` takes a new value.
    void willChange(veltrin::SystemInfoStore::Property property);

private:
    template <typename Result, typename Apply>
    QFuture<void> whenFinished(QFuture<Result> work, Apply apply);
    void publish(const SystemSnapshot& snapshot);
    void setBench(BenchResult result);
    void setIsRefreshing(bool value);

    Collector collect_;
    BenchmarkRunner benchmark_;
    SystemSnapshot snapshot_;
    BenchResult bench_;
    bool isRefreshing_ = false;
};

// The summary's label for `os`: macOS states only its version ("14.6.1 (23G93)"),
// while any other system names itself ("Debian GNU/Linux 12 (bookworm)") and is
// labelled "OS: ". Read from the snapshot, never from the build, so a Mac's
// capture reads "macOS: " wherever it is replayed.
std::string_view operatingSystemLabel(std::string_view os);

// The values shown before the first refresh and the first benchmark.
CPUInfo initialCPUInfo();
MainboardInfo initialMainboardInfo();
MemoryInfo initialMemoryInfo();
BenchResult initialBenchResult();

inline constexpr const char* kBenchmarkRunningStatus = "Running\u2026";

} // namespace veltrin
