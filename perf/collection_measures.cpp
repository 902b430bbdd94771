// How long a refresh takes and how much memory it holds when the tools misbehave.
//
//   collection_measures hung|latency|flood [JSON_OUT]
//
// Every tool Veltrin runs is replaced by a fake one with the same name under a
// scratch root (the machine below runs "<root>/usr/sbin/system_profiler" where the
// live one would run "/usr/sbin/system_profiler"); kernel values stay this
// computer's. One collection and its JSON rendering are timed, and the line
// printed gives the wall time, the peak resident memory of this process, the
// JSON size and how many fake-tool processes were still alive afterwards.
//
//   hung     every tool prints a line, ignores SIGTERM and SIGINT, and leaves a
//            grandchild holding its pipes
//   latency  every tool sleeps for a typical time, then prints a real report;
//            the slowest (the graphics report) takes 1.2 s
//   flood    every tool prints without end

#include "core/json.h"
#include "platform/command_table.h"
#include "platform/machine.h"
#include "probe/system_probe.h"

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

namespace {

using namespace veltrin;
namespace fs = std::filesystem;

// The live machine with every tool path moved under `root`.
class RedirectedMachine final : public Machine {
public:
    RedirectedMachine(std::unique_ptr<Machine> live, std::string root) : live_(std::move(live)), root_(std::move(root))
    {
    }
    std::string sysctlValue(std::string_view name) const override { return live_->sysctlValue(name); }
    std::optional<std::int64_t> sysctlInt(std::string_view name) const override { return live_->sysctlInt(name); }
    ProcessResult run(const std::string& executable, const std::vector<std::string>& arguments,
                      double timeout) const override
    {
        return live_->run(moved(executable), arguments, timeout);
    }
    std::optional<std::string> resourceFile(std::string_view) const override { return std::nullopt; }
    bool isExecutableFile(const std::string& path) const override { return live_->isExecutableFile(moved(path)); }
    std::optional<std::string> readFileHead(const std::string& path, std::size_t maxBytes) const override
    {
        return live_->readFileHead(moved(path), maxBytes);
    }
    std::vector<std::string> directoryEntries(const std::string& path) const override
    {
        return live_->directoryEntries(moved(path));
    }
    std::string_view platform() const override { return live_->platform(); }

private:
    std::string moved(const std::string& path) const { return path.starts_with(root_) ? path : root_ + path; }

    std::unique_ptr<Machine> live_;
    std::string root_;
};

std::string fileText(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void writeExecutable(const fs::path& path, const std::string& script)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << script;
    fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
}

// What each fake tool prints in the latency scenario, and after how long, by its
// capture file name: real reports where the fixtures have one, a typical short
// answer otherwise.
struct Answer {
    double seconds;
    std::string text;
};

std::map<std::string, Answer> typicalAnswers(const fs::path& captures)
{
    const auto capture = [&](const char* machine, const char* file) { return fileText(captures / machine / file); };
    return {
        {"SPHardwareDataType.txt", {0.5, capture("mbp15-1-i7-8750h", "SPHardwareDataType.txt")}},
        {"SPMemoryDataType.txt", {0.35, capture("mbp15-1-i7-8750h", "SPMemoryDataType.txt")}},
        {"SPDisplaysDataType.txt", {1.2, capture("imacpro1-1-vega64", "SPDisplaysDataType.txt")}},
        {"sw_vers.txt", {0.03, "ProductName:\tmacOS\nProductVersion:\t14.6.1\nBuildVersion:\t23G93\n"}},
        {"sw_vers-productVersion.txt", {0.03, "14.6.1\n"}},
        {"sw_vers-buildVersion.txt", {0.03, "23G93\n"}},
        {"uname-m.txt", {0.005, "x86_64\n"}},
        {"uname-r.txt", {0.005, "23.6.0\n"}},
        {"uptime.txt", {0.01, "10:00  up 3 days,  2:04, 2 users, load averages: 1.00 1.00 1.00\n"}},
        {"ioreg-IOPlatformExpertDevice.txt",
         {0.15, capture("opencore-asrock-z390-phantom-itx-i7-9700", "ioreg-IOPlatformExpertDevice.txt")}},
        {"ioreg-IODeviceTree.txt", {0.25, "+-o Root  <class IORegistryEntry>\n"}},
        {"vm_stat.txt", {0.01, capture("apple-silicon-16gb-gem-dota", "vm_stat.txt")}},
        {"memory_pressure.txt", {0.2, "System-wide memory free percentage: 72%\n"}},
        {"dmidecode.txt", {0.1, capture("pc-asrock-z390-phantom-itx-i7-9700", "dmidecode.txt")}},
    };
}

std::string quotedForShell(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Every command line Veltrin may run (dmidecode at its usual place) with the
// name of the file a capture keeps its output in.
std::vector<std::pair<std::string, ToolCommand>> commandLines()
{
    std::vector<std::pair<std::string, ToolCommand>> lines;
    lines.emplace_back("/usr/bin/dmidecode",
                       ToolCommand{Tool::hardwareReport, "/usr/bin/dmidecode", {}, kDmidecodeTimeout,
                                   std::string(kDmidecodeCaptureFile)});
    for (const ToolCommand& command : toolCommands())
        lines.emplace_back(command.executable, command);
    return lines;
}

// One script per executable; it answers by its arguments, as the real tool would.
std::string latencyScript(const std::string& executable, const std::map<std::string, Answer>& answers,
                          const fs::path& root)
{
    std::string script = "#!/bin/sh\ncase \"$*\" in\n";
    for (const auto& [path, command] : commandLines()) {
        const auto answer = answers.find(command.captureFile);
        if (path != executable || answer == answers.end())
            continue;
        std::string arguments;
        for (const std::string& argument : command.arguments)
            arguments += (arguments.empty() ? "" : " ") + argument;
        const fs::path textFile = root / "answers" / command.captureFile;
        fs::create_directories(textFile.parent_path());
        std::ofstream(textFile, std::ios::binary) << answer->second.text;
        script += quotedForShell(arguments) + ") sleep " + std::to_string(answer->second.seconds) + "; cat " +
                  quotedForShell(textFile.string()) + " ;;\n";
    }
    return script + "*) exit 1 ;;\nesac\n";
}

std::string scenarioScript(const std::string& scenario, const std::string& executable,
                           const std::map<std::string, Answer>& answers, const fs::path& root)
{
    if (scenario == "hung")
        return "#!/bin/sh\ntrap '' TERM INT\necho \"hung line\"\n" + quotedForShell((root / "holder").string()) +
               " &\nwhile :; do sleep 1; done\n";
    if (scenario == "flood")
        return "#!/bin/sh\nexec yes 'BANK 0: Size: 8 GB Type: DDR4 Speed: 2400 MHz Chipset Model: X "
               "Resolution: 1 x 1 Processor Name: Y ProductVersion: 1 board-id <00> Handle 0x0001'\n";
    return latencyScript(executable, answers, root);
}

int processesMentioning(const std::string& text)
{
    FILE* listing = ::popen("ps -A -o command=", "r");
    if (listing == nullptr)
        return -1;
    int count = 0;
    char line[4096];
    while (std::fgets(line, sizeof line, listing) != nullptr)
        if (std::string(line).find(text) != std::string::npos && std::string(line).find("ps -A") == std::string::npos)
            ++count;
    ::pclose(listing);
    return count;
}

double peakResidentMebibytes()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
#if defined(__APPLE__)
    return static_cast<double>(usage.ru_maxrss) / (1024.0 * 1024.0); // bytes
#else
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kibibytes
#endif
}

} // namespace

int main(int argc, char** argv)
{
    const std::string scenario = argc > 1 ? argv[1] : "";
    if (scenario != "hung" && scenario != "latency" && scenario != "flood") {
        std::cerr << "usage: collection_measures hung|latency|flood [JSON_OUT]\n";
        return 2;
    }
    char pattern[] = "/tmp/veltrin-measure-XXXXXX";
    if (::mkdtemp(pattern) == nullptr)
        return 1;
    const fs::path root(pattern);
    writeExecutable(root / "holder", "#!/bin/sh\nsleep 600\n");
    const auto answers = typicalAnswers(VELTRIN_CAPTURES);
    for (const auto& [path, command] : commandLines())
        writeExecutable(root.string() + path, scenarioScript(scenario, path, answers, root));

    const RedirectedMachine machine(makeLiveMachine(), root.string());
    const auto start = std::chrono::steady_clock::now();
    const std::string json = toJson(SystemProbe::collect(machine));
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;

    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const int leftovers = processesMentioning(root.string());
    if (argc > 2)
        std::ofstream(argv[2], std::ios::binary) << json << '\n';
    std::printf("%-8s wall %.2f s  peak RSS %.0f MiB  JSON %zu bytes  processes left %d\n", scenario.c_str(),
                wall.count(), peakResidentMebibytes(), json.size(), leftovers);
    std::error_code ignored;
    fs::remove_all(root, ignored);
    return 0;
}
