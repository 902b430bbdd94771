#include "probe/system_probe.h"

#include "core/unicode_text.h"
#include "platform/linux_files.h"
#include "platform/machine.h"
#include "probe/dmi_reader.h"
#include "probe/parsers.h"

#include <functional>
#include <mutex>
#include <system_error>
#include <thread>
#include <type_traits>
#include <utility>

namespace veltrin::SystemProbe {
namespace {

// Runs `job` on its own thread, or right here when no thread can be had.
void startJob(std::vector<std::thread>& jobs, const std::function<void()>& job)
{
    try {
        jobs.emplace_back(job);
    } catch (const std::system_error&) {
        job();
    }
}

// Whatever a tool printed, a field shows one line of a sane length: a flooding
// tool cannot put megabytes into the window, the summary or the JSON. The
// feature-flag list is the one long line real machines print (about 1.5 KB on a
// current x86 processor).
constexpr std::size_t kMaxFieldBytes = 4096;
constexpr std::size_t kMaxFeatureFlagsBytes = 65536;

template <typename Value>
void boundForDisplay(Value& value, std::string_view name)
{
    if constexpr (std::is_same_v<Value, std::string>) {
        value = displayLine(value, name == "features" ? kMaxFeatureFlagsBytes : kMaxFieldBytes);
    } else if constexpr (requires { value.fields(); }) {
        auto fields = value.fields();
        [&]<std::size_t... I>(std::index_sequence<I...>) {
            (boundForDisplay(std::get<I>(fields), Value::fieldNames[I]), ...);
        }(std::make_index_sequence<Value::fieldNames.size()>{});
    } else if constexpr (requires { value.begin(); }) {
        for (auto& element : value)
            boundForDisplay(element, name);
    }
}

} // namespace

MachineReadings readMachine(const Machine& machine)
{
    MachineReadings readings;
    std::mutex lock;
    std::vector<std::thread> jobs;
    // One thread per tool: each blocks in its own run, so the slowest tool alone
    // decides how long the whole read takes.
    for (const ToolCommand& entry : toolCommands()) {
        startJob(jobs, [&, command = &entry] {
            ProcessResult result = machine.run(command->executable, command->arguments, command->timeout);
            const std::lock_guard guard(lock);
            readings.tools.insert_or_assign(command->tool, std::move(result));
        });
    }
    if (auto dmidecode = dmidecodeExecutable(machine)) {
        readings.dmidecodePath = std::move(dmidecode);
        startJob(jobs, [&] {
            ProcessResult result = machine.run(*readings.dmidecodePath, {}, kDmidecodeTimeout);
            const std::lock_guard guard(lock);
            readings.dmidecode = std::move(result);
        });
    }
    KernelValues kernel = readKernelValues(machine);
    // Quick file reads, done here while the tools run.
    FileContents files = machine.platform() == kLinuxPlatform ? readLinuxFiles(machine) : FileContents();
    for (auto& job : jobs)
        job.join();
    readings.platform = machine.platform();
    readings.kernel = std::move(kernel);
    readings.files = std::move(files);
    return readings;
}

SystemSnapshot snapshotFrom(const MachineReadings& readings)
{
    const DMIInfo dmi = dmiInfo(readings);
    SystemSnapshot snapshot;
    snapshot.cpu = cpuInfo(readings);
    snapshot.mainboard = mainboardInfo(readings, dmi);
    snapshot.memory = memoryInfo(readings, dmi);
    snapshot.gpus = graphicsInfo(readings);
    boundForDisplay(snapshot, "");
    return snapshot;
}

SystemSnapshot collect(const Machine& machine) { return snapshotFrom(readMachine(machine)); }

} // namespace veltrin::SystemProbe
