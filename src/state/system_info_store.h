#pragma once

// The one observable object behind the interface: the latest snapshot split into
// its parts, the latest benchmark result, and the refresh flag. It lives on
// the interface thread; the slow work runs on detached background threads and
// its results are published back on the interface thread.

#include "bench/benchmark.h"
#include "core/records.h"
#include "state/bench_history.h"

#include <QFuture>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin {

// What one benchmark brings back: the run, and the history after recording it.
struct BenchmarkOutcome {
    BenchRun run;
    BenchHistoryRead history;
};

class SystemInfoStore : public QObject {
    Q_OBJECT

public:
    // What is about to change. The snapshot's parts come first and are not
    // listed: part i is the record's i-th field (SystemSnapshot::fieldNames), so
    // a part added to the record is published, and announced, with no change
    // here. The store's own properties follow them.
    enum class Property {
        bench = int(SystemSnapshot::fieldNames.size()),
        isRefreshing,
        benchProgress,
        benchDetails,
        benchHistory,
    };
    Q_ENUM(Property)

    // The property of the snapshot's part called `name` ("cpu", "gpus"); a name
    // the record does not have does not build.
    static consteval Property snapshotPart(std::string_view name)
    {
        for (std::size_t index = 0; index < SystemSnapshot::fieldNames.size(); ++index)
            if (SystemSnapshot::fieldNames[index] == name)
                return static_cast<Property>(index);
        throw "not a part of SystemSnapshot";
    }

    using Collector = std::function<SystemSnapshot()>;
    // Runs one benchmark, telling `progress` (from its own thread) where it stands.
    using BenchmarkRunner = std::function<BenchmarkOutcome(const Benchmark::Progress& progress)>;
    using HistoryReader = std::function<BenchHistoryRead()>;

    // `collect`, `benchmark` and `readHistory` run off the interface thread and
    // must not touch the store; they may outlive it. Without a reader there is no history.
    SystemInfoStore(Collector collect, BenchmarkRunner benchmark, HistoryReader readHistory = {},
                    QObject* parent = nullptr);
    ~SystemInfoStore() override;

    // The snapshot as last published, every part of it.
    const SystemSnapshot& snapshot() const { return snapshot_; }
    const CPUInfo& cpu() const { return snapshot_.cpu; }
    const MainboardInfo& mainboard() const { return snapshot_.mainboard; }
    const MemoryInfo& memory() const { return snapshot_.memory; }
    const std::vector<GPUInfo>& gpus() const { return snapshot_.gpus; }
    const BenchResult& bench() const { return bench_; }
    bool isRefreshing() const { return isRefreshing_; }
    // False until the first refresh has published: the snapshot holds only the initial values.
    bool hasPublishedSnapshot() const { return hasPublishedSnapshot_; }
    // Where the latest running benchmark stands ("round 7 of 20, single"); empty when none runs.
    const std::string& benchProgress() const { return benchProgress_; }
    // The rounds of the last benchmark finished since the store was made.
    const std::optional<BenchDetails>& benchDetails() const { return benchDetails_; }
    // Recorded runs, oldest first, and what went wrong with the history file, if anything.
    const std::vector<BenchHistoryEntry>& benchHistory() const { return benchHistory_; }
    const std::string& benchHistoryProblem() const { return benchHistoryProblem_; }

    // Collects a snapshot in the background and publishes its parts in the
    // record's field order (cpu, mainboard, memory, gpus, …), then clears isRefreshing. A call made while a
    // refresh is under way does nothing. The future finishes once published (or
    // at once when skipped); it is cancelled if the store goes away first.
    QFuture<void> refreshAll();

    // Marks the current result "Running…", runs one benchmark in the background
    // and replaces the result whole when it returns, with its rounds and the
    // history that now includes it. Runs are not serialised.
    QFuture<void> runBenchmark();

    // Reads the history in the background and publishes it.
    QFuture<void> loadBenchHistory();

    // The fourteen-line plain-text summary of the current values.
    std::string summaryText() const;

Q_SIGNALS:
    // Emitted on the interface thread just before `property` takes a new value.
    void willChange(veltrin::SystemInfoStore::Property property);

private:
    template <typename Result, typename Apply>
    QFuture<void> whenFinished(QFuture<Result> work, Apply apply);
    void publish(const SystemSnapshot& snapshot);
    void publish(const BenchmarkOutcome& outcome);
    void publish(const BenchHistoryRead& history);
    void setBenchProgress(std::string progress);
    void setIsRefreshing(bool value);

    class ProgressRelay;

    Collector collect_;
    BenchmarkRunner benchmark_;
    HistoryReader readHistory_;
    std::shared_ptr<ProgressRelay> progressRelay_;
    SystemSnapshot snapshot_;
    BenchResult bench_;
    bool isRefreshing_ = false;
    bool hasPublishedSnapshot_ = false;
    int runningBenchmarks_ = 0;
    std::string benchProgress_;
    std::optional<BenchDetails> benchDetails_;
    std::vector<BenchHistoryEntry> benchHistory_;
    std::string benchHistoryProblem_;
};

// Whether `os` is a Mac's: macOS states only its version ("14.6.1 (23G93)"),
// while any other system names itself ("Debian GNU/Linux 12 (bookworm)"). An
// empty `os` counts as a Mac's, as a capture without a platform is. Read from
// the snapshot, never from the build, so a Mac's capture reads as a Mac's
// wherever it is replayed.
bool isMacOS(std::string_view os);

// The summary's label for `os`: "macOS: " for a Mac's, else "OS: ".
std::string_view operatingSystemLabel(std::string_view os);

// The values shown before the first refresh and the first benchmark; a part
// without initial values of its own starts as its record's default.
SystemSnapshot initialSnapshot();
CPUInfo initialCPUInfo();
MainboardInfo initialMainboardInfo();
MemoryInfo initialMemoryInfo();
BenchResult initialBenchResult();

inline constexpr const char* kBenchmarkRunningStatus = "Running\u2026";

} // namespace veltrin
