#include "platform/readings.h"

#include "core/unicode_text.h"
#include "platform/linux_files.h"
#include "platform/machine.h"

#include <array>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace veltrin {
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

// The usual install locations, searched after the application's own copy.
constexpr std::array<std::string_view, 3> kDmidecodeLocations{
    "/usr/local/bin/dmidecode",
    "/opt/homebrew/bin/dmidecode",
    "/usr/bin/dmidecode",
};

// A stand-in file that a build ships where no real dmidecode could be bundled.
// Only a readable text head can say so; anything else may be the tool.
bool isPlaceholderFile(const Machine& machine, const std::string& path)
{
    const auto head = machine.readFileHead(path, 160);
    return head && isValidUtf8(*head) && containsIgnoringCase(*head, "placeholder");
}

} // namespace

std::string KernelValues::text(std::string_view name) const
{
    const auto found = texts.find(name);
    return found == texts.end() ? std::string() : found->second;
}

std::optional<std::int64_t> KernelValues::integer(std::string_view name) const
{
    const auto found = integers.find(name);
    return found == integers.end() ? std::nullopt : std::optional(found->second);
}

KernelValues readKernelValues(const Machine& machine)
{
    KernelValues values;
    for (const NamedKernelValue& value : kernelValueList(machine.sysctlInt(KernelName::perfLevelCount))) {
        if (value.kind == KernelValueKind::integer) {
            if (const auto number = machine.sysctlInt(value.name))
                values.integers.emplace(value.name, *number);
        } else if (std::string text = machine.sysctlValue(value.name); !text.empty()) {
            values.texts.emplace(value.name, std::move(text));
        }
    }
    return values;
}

ProcessResult MachineReadings::result(Tool tool) const
{
    const auto found = tools.find(tool);
    return found == tools.end() ? ProcessResult{"", ProcessRunner::kLaunchFailedStatus} : found->second;
}

std::string_view MachineReadings::output(Tool tool) const
{
    const auto found = tools.find(tool);
    return found == tools.end() ? std::string_view() : std::string_view(found->second.output);
}

std::optional<std::string_view> fileContent(const FileContents& files, std::string_view path)
{
    const auto found = files.find(path);
    return found == files.end() ? std::nullopt : std::optional<std::string_view>(found->second);
}

std::optional<std::string_view> MachineReadings::file(std::string_view path) const { return fileContent(files, path); }

std::optional<std::string> dmidecodeExecutable(const Machine& machine)
{
    std::vector<std::string> candidates;
    if (auto bundled = machine.resourceFile("dmidecode"))
        candidates.push_back(*std::move(bundled));
    candidates.insert(candidates.end(), kDmidecodeLocations.begin(), kDmidecodeLocations.end());
    for (std::string& extra : machine.extraDmidecodeLocations())
        candidates.push_back(std::move(extra));

    for (const std::string& candidate : candidates)
        if (machine.isExecutableFile(candidate) && !isPlaceholderFile(machine, candidate))
            return candidate;
    return std::nullopt;
}

MachineReadings readMachine(const Machine& machine)
{
    MachineReadings readings;
    std::mutex lock;
    std::vector<std::thread> jobs;
    // One thread per tool: each blocks in its own run, so the slowest tool alone
    // decides how long the whole read takes.
    for (const ToolCommand& entry : toolCommands()) {
        if (!entry.onlyWithout.empty() && machine.isExecutableFile(entry.onlyWithout))
            continue;
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
    std::string cpuid = machine.cpuidDump();
    // Quick file reads, done here while the tools run.
    FileContents files = machine.platform() == kLinuxPlatform ? readLinuxFiles(machine) : FileContents();
    for (auto& job : jobs)
        job.join();
    readings.platform = machine.platform();
    readings.kernel = std::move(kernel);
    readings.files = std::move(files);
    readings.cpuid = std::move(cpuid);
    return readings;
}

} // namespace veltrin
