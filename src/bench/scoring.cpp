#include "bench/benchmark_detail.h"

#include "core/fixed_decimal.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace veltrin::Benchmark {
namespace {

constexpr double kShortestRoundSeconds = 0.000001;
constexpr double kRatePerPoint = 150'000;
constexpr double kRatePerMops = 1'000'000;
constexpr double kSingleVarianceLimit = 3.5;
constexpr double kMultiVarianceLimit = 5.0;
constexpr int kMostWorkers = 32;

// The values greater than zero, ascending. A round without work or duration
// says nothing about the processor.
std::vector<double> positiveAscending(std::vector<double> values)
{
    std::erase_if(values, [](double value) { return !(value > 0); });
    std::sort(values.begin(), values.end());
    return values;
}

// Drops the outliers at both ends of an ascending list: none up to four values,
// one at each end up to eight, two beyond.
template <typename Value>
std::vector<Value> trimmed(std::vector<Value> ascending)
{
    const std::size_t count = ascending.size();
    if (count <= 4)
        return ascending;
    const std::ptrdiff_t cut = count <= 8 ? 1 : 2;
    return {ascending.begin() + cut, ascending.end() - cut};
}

double mean(const std::vector<double>& values)
{
    if (values.empty())
        return 0;
    return std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

} // namespace

namespace {

double rateOf(const Sample& sample)
{
    return sample.operations / (sample.seconds > kShortestRoundSeconds ? sample.seconds : kShortestRoundSeconds);
}

} // namespace

std::vector<std::size_t> keptRounds(const std::vector<Sample>& samples)
{
    std::vector<std::size_t> order;
    for (std::size_t index = 0; index < samples.size(); ++index)
        if (rateOf(samples[index]) > 0)
            order.push_back(index);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return rateOf(samples[a]) < rateOf(samples[b]); });
    return trimmed(std::move(order));
}

std::vector<double> robustRates(const std::vector<Sample>& samples)
{
    std::vector<double> rates;
    for (const std::size_t index : keptRounds(samples))
        rates.push_back(rateOf(samples[index]));
    return rates;
}

double robustMeanRate(const std::vector<Sample>& samples) { return mean(robustRates(samples)); }

double robustMeanSeconds(const std::vector<Sample>& samples)
{
    std::vector<double> seconds;
    seconds.reserve(samples.size());
    for (const Sample& sample : samples)
        seconds.push_back(sample.seconds);
    return mean(trimmed(positiveAscending(std::move(seconds))));
}

double coefficientOfVariationPercent(const std::vector<Sample>& samples)
{
    const std::vector<double> rates = robustRates(samples);
    if (rates.size() < 2)
        return 0;
    const double m = mean(rates);
    if (m <= 0)
        return 0;
    double squares = 0;
    for (const double rate : rates)
        squares += (rate - m) * (rate - m);
    return std::sqrt(squares / static_cast<double>(rates.size() - 1)) / m * 100;
}

int workerCount(int activeProcessors) { return std::clamp(activeProcessors, 1, kMostWorkers); }

// Halves round away from zero. Rates are finite and far below the integer
// range; anything else scores 0 rather than an undefined conversion.
std::int64_t score(double rate)
{
    const double points = std::round(rate / kRatePerPoint);
    constexpr double limit = 9.0e18;
    if (!(std::fabs(points) < limit))
        return 0;
    return static_cast<std::int64_t>(points);
}

std::string statusText(double singleCV, double multiCV)
{
    if (singleCV > kSingleVarianceLimit || multiCV > kMultiVarianceLimit)
        return "Complete \u2014 variance detected";
    return "Complete";
}

std::string statusText(const Outcome& outcome, double singleCV, double multiCV)
{
    if (!outcome.singleScored && !outcome.multiScored)
        return "Failed \u2014 no round could run";
    if (!outcome.singleScored)
        return "Failed \u2014 single-thread rounds could not run";
    if (!outcome.multiScored)
        return "Failed \u2014 multi-thread rounds could not run";
    if (outcome.threadsRan < outcome.threadsRequested)
        return "Incomplete \u2014 only " + std::to_string(outcome.threadsRan) + " of " +
               std::to_string(outcome.threadsRequested) + " threads could start";
    return statusText(singleCV, multiCV);
}

std::string stabilityText(double singleCV, double multiCV)
{
    return "single CV " + fixedDecimal(singleCV, 1) + "% / multi CV " + fixedDecimal(multiCV, 1) + "%";
}

std::string singleTimeText(double seconds) { return fixedDecimal(seconds, 2) + " s avg"; }

std::string multiTimeText(double rate) { return fixedDecimal(rate / kRatePerMops, 2) + " Mops/s"; }

} // namespace veltrin::Benchmark
