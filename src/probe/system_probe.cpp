#include "probe/system_probe.h"

#include "platform/command_table.h"
#include "platform/machine.h"
#include "probe/dmi_reader.h"
#include "probe/parsers.h"

#include <functional>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>

namespace veltrin::SystemProbe {
namespace {

// Runs `job` on its own thread, or right here when no thread can be had.
void startJob(std::vector<std::thread>& jobs, std::function<void()> job)
{
    try {
        jobs.emplace_back(job);
    } catch (const std::system_error&) {
        job();
    }
}

} // namespace

SystemSnapshot collect(const Machine& machine)
{
    std::mutex lock;
    std::map<std::string, std::string> results;
    DMIInfo dmi;
    std::vector<std::thread> jobs;

    const auto start = [&](std::string name, const ToolCommand& command) {
        startJob(jobs, [&, name = std::move(name)] {
            std::string text = runOutput(machine, command);
            const std::lock_guard guard(lock);
            results.insert_or_assign(name, std::move(text));
        });
    };
    start("hardware", Commands::hardwareReport());
    start("memory", Commands::memoryReport());
    start("graphics", Commands::graphicsReport());
    start("software", Commands::softwareVersion());
    startJob(jobs, [&] {
        DMIInfo info = dmiInfo(machine);
        const std::lock_guard guard(lock);
        dmi = std::move(info);
    });
    for (auto& job : jobs)
        job.join();

    const auto text = [&](const std::string& name) {
        const auto found = results.find(name);
        return found == results.end() ? std::string() : found->second;
    };
    const std::string hardware = text("hardware");

    SystemSnapshot snapshot;
    snapshot.cpu = cpuInfo(machine, hardware, hardware);
    snapshot.mainboard = mainboardInfo(machine, hardware, hardware, text("software"), dmi);
    snapshot.memory = memoryInfo(machine, hardware, text("memory"), dmi);
    snapshot.gpus = gpuInfo(text("graphics"));
    return snapshot;
}

} // namespace veltrin::SystemProbe
