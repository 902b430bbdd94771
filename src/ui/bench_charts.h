#pragma once

// The benchmark as pictures: the time of every round of a run against the
// median of its series, with the rounds the trimmed mean left out drawn hollow,
// and the scores of recent runs side by side.

#include "bench/benchmark.h"
#include "state/bench_history.h"
#include "ui/theme.h"

#include <QWidget>

#include <cstdint>
#include <vector>

namespace veltrin {

// How far each value of a series lies from the series' median, in percent,
// and the half-height of a scale that shows them all: 2, 5, 10, 20, 50 … percent
// (a farther value is drawn at the edge). Both charts draw against such a band
// around the median, so a steady series looks steady and a real change stands out.
struct MedianSpread {
    double median = 0;
    std::vector<double> deviationPercent;
    double scalePercent = 2;
};
MedianSpread medianSpread(const std::vector<double>& values);
// The seconds of each round.
MedianSpread roundSpread(const std::vector<RoundTime>& rounds);
// One score of each run: `score` is &BenchHistoryEntry::singleThread or multiThread.
MedianSpread scoreSpread(const std::vector<BenchHistoryEntry>& runs, std::int64_t BenchHistoryEntry::*score);

// The single-thread and multi-thread rounds of one run, side by side.
class RoundTimesChart : public QWidget {
    Q_OBJECT
public:
    RoundTimesChart(std::vector<RoundTime> single, std::vector<RoundTime> multi, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {480, 190}; }
    QSize minimumSizeHint() const override { return {260, 190}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<RoundTime> single_;
    std::vector<RoundTime> multi_;
};

// The single-thread and multi-thread scores of the given runs (oldest first),
// each line against a band of ± a round percentage around its own median.
class RecentRunsChart : public QWidget {
    Q_OBJECT
public:
    explicit RecentRunsChart(std::vector<BenchHistoryEntry> runs, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {480, 150}; }
    QSize minimumSizeHint() const override { return {260, 150}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<BenchHistoryEntry> runs_;
};

} // namespace veltrin
