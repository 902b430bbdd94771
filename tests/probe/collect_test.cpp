#include "platform/machine.h"
#include "probe/system_probe.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace veltrin;

namespace {

// A machine where every tool is missing, optionally slowly.
class MissingToolsMachine : public Machine {
public:
    explicit MissingToolsMachine(std::chrono::milliseconds delay = {}) : delay_(delay) {}

    std::string sysctlValue(std::string_view) const override { return {}; }
    std::optional<std::int64_t> sysctlInt(std::string_view) const override { return std::nullopt; }
    ProcessResult run(const std::string&, const std::vector<std::string>&, double) const override
    {
        const int now = ++running_;
        int seen = peak_.load();
        while (now > seen && !peak_.compare_exchange_weak(seen, now)) {
        }
        std::this_thread::sleep_for(delay_);
        --running_;
        ++runs_;
        return {"", -1};
    }
    std::optional<std::string> resourceFile(std::string_view) const override { return std::nullopt; }
    bool isExecutableFile(const std::string&) const override { return false; }
    std::optional<std::string> readFileHead(const std::string&, std::size_t) const override { return std::nullopt; }

    int peak() const { return peak_; }
    int runs() const { return runs_; }

private:
    std::chrono::milliseconds delay_;
    mutable std::atomic<int> running_{0};
    mutable std::atomic<int> peak_{0};
    mutable std::atomic<int> runs_{0};
};

} // namespace

TEST(Collect, ReturnsPromptlyWhenEveryToolIsMissing)
{
    const MissingToolsMachine machine;
    const auto start = std::chrono::steady_clock::now();
    const SystemSnapshot snapshot = SystemProbe::collect(machine);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_FALSE(snapshot.cpu.name.empty());
    EXPECT_GE(machine.runs(), 4);
}

TEST(Collect, RunsTheFourReportJobsConcurrently)
{
    const MissingToolsMachine machine(std::chrono::milliseconds(150));
    SystemProbe::collect(machine);
    EXPECT_GE(machine.peak(), 4);
}
