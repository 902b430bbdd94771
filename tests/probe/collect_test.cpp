#include "core/json.h"
#include "platform/command_table.h"
#include "platform/machine.h"
#include "probe/system_probe.h"

#include "scripted_machine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <type_traits>
#include <utility>

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
    std::vector<std::string> directoryEntries(const std::string&) const override { return {}; }
    std::string_view platform() const override { return kMacPlatform; }

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
    EXPECT_EQ(machine.runs(), static_cast<int>(toolCommands().size()));
}

TEST(Collect, StartsEveryToolAtOnce)
{
    const MissingToolsMachine machine(std::chrono::milliseconds(150));
    SystemProbe::collect(machine);
    EXPECT_EQ(machine.peak(), static_cast<int>(toolCommands().size()));
    EXPECT_EQ(machine.runs(), static_cast<int>(toolCommands().size()));
}

// Whatever the tools print, every field is one short line and the lists stay
// short, so the JSON, the summary and the window stay small.
TEST(Collect, FloodingToolsGiveBoundedFields)
{
    std::string flood;
    while (flood.size() < 1024 * 1024)
        flood += "BANK 0: Size: 8 GB Type: DDR4 Chipset Model: X Resolution: 1 x 1 ProductVersion: 1\x01\n";
    scripted::ScriptedMachine machine;
    for (const ToolCommand& command : toolCommands())
        machine.answer(command.tool, flood);
    for (const KernelValue& value : kKernelValues)
        machine.kernel[std::string(value.name)] = flood;

    const SystemSnapshot snapshot = SystemProbe::collect(machine);
    EXPECT_LT(toJson(snapshot).size(), 2u * 1024 * 1024);
    EXPECT_EQ(snapshot.memory.modules.size(), kMaxListedDevices);
    EXPECT_EQ(snapshot.gpus.size(), kMaxListedDevices);
    const auto expectBounded = [](const auto& record) {
        const auto fields = record.fields();
        [&]<std::size_t... I>(std::index_sequence<I...>) {
            const auto check = [&](std::string_view name, const auto& value) {
                if constexpr (std::is_same_v<std::decay_t<decltype(value)>, std::string>) {
                    EXPECT_LE(value.size(), name == "features" ? 65536u : 4096u) << name;
                    EXPECT_EQ(value.find_first_of(std::string("\n\t\x01\0", 4)), std::string::npos) << name;
                }
            };
            (check(std::decay_t<decltype(record)>::fieldNames[I], std::get<I>(fields)), ...);
        }(std::make_index_sequence<std::decay_t<decltype(record)>::fieldNames.size()>{});
    };
    expectBounded(snapshot.cpu);
    expectBounded(snapshot.mainboard);
    expectBounded(snapshot.memory);
    expectBounded(snapshot.memory.modules.front());
    expectBounded(snapshot.gpus.front());
    EXPECT_GT(snapshot.cpu.features.size(), 4096u); // the flag list may be longer than other fields
}
