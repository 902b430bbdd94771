#pragma once

// The benchmark history: every run that scored, kept in one JSON file in the
// application's data folder, so runs can be compared across days and versions.
// A file that is not a readable history is never overwritten: it is moved aside
// and reported once.

#include "bench/benchmark.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace veltrin {

class Machine;

struct BenchHistoryEntry {
    std::string date; // UTC, ISO 8601
    std::string version;
    std::int64_t singleThread = 0;
    std::int64_t multiThread = 0;
    double singleCV = 0;
    double multiCV = 0;
    int threads = 0; // the threads that ran the multi-thread rounds
    std::string model;
    std::vector<RoundTime> singleRounds;
    std::vector<RoundTime> multiRounds;
    friend bool operator==(const BenchHistoryEntry&, const BenchHistoryEntry&) = default;
};

BenchHistoryEntry historyEntry(const BenchRun& run, std::string date, std::string version, std::string model);

// Runs with a score in both series: a failed series measured nothing worth comparing.
bool isWorthRecording(const BenchRun& run);

struct BenchHistoryRead {
    std::vector<BenchHistoryEntry> runs; // oldest first
    // Set once, by the read that found the file damaged: what was wrong and where the file went.
    std::string problem;
};

class BenchHistoryFile {
public:
    static constexpr std::size_t kMostRuns = 1000;
    static constexpr std::int64_t kLargestFile = 4 * 1024 * 1024;

    // A read-only history (a capture's copy, say) reports a damaged file but leaves it in place.
    explicit BenchHistoryFile(std::string path, bool writable = true, std::size_t mostRuns = kMostRuns);

    const std::string& path() const { return path_; }
    BenchHistoryRead read() const;
    // Adds `entry` after the others, dropping the oldest beyond the most kept; the
    // runs returned include it unless the file could not be written (then `problem` says why).
    BenchHistoryRead append(const BenchHistoryEntry& entry) const;

    // bench-history.json in the Veltrin folder of the user's data folder; empty when there is none.
    static std::string defaultPath();

private:
    BenchHistoryRead readFile(bool mayMoveAside) const;

    std::string path_;
    bool writable_;
    std::size_t mostRuns_;
};

// The runs as one JSON object {"format":…,"version":1,"runs":[…]}, the form of the file.
std::string benchHistoryJson(const std::vector<BenchHistoryEntry>& runs);
// One aligned line per run, newest last, under a header line.
std::string benchHistoryTable(const std::vector<BenchHistoryEntry>& runs);

// The model a history entry names for a computer: its Mac model identifier, or
// its processor where it has none.
std::string historyModel(const Machine& machine);

// Adds a run that scored to the history, dated now and named after `machine`
// (the computer the benchmark ran on); returns the history as it then stands.
BenchHistoryRead recordBenchRun(const BenchHistoryFile& history, const BenchRun& run, const std::string& version,
                                const Machine& machine);

} // namespace veltrin
