// The processor as Linux states it in its files, read from a capture of a real
// machine: every value, and each fallback the same machine's files allow.

#include "platform/command_table.h"
#include "platform/linux_files.h"
#include "platform/replay_machine.h"
#include "probe/sources/linux_processor.h"

#include "../scripted_machine.h"

#include <gtest/gtest.h>

#include <regex>

using namespace veltrin;
using SystemProbe::linuxProcessorValues;

namespace {

// A two-processor KVM guest on an AMD EPYC (Zen 4) host; tests/fixtures/README.md.
MachineReadings epycGuest()
{
    std::string error;
    const auto machine =
        ReplayMachine::open(std::string(VELTRIN_FIXTURES) + "/captures/linux-kvm-epyc-2vcpu", error);
    EXPECT_TRUE(machine) << error;
    return machine ? readMachine(*machine) : MachineReadings{};
}

std::map<std::string, std::string> shown(const KernelValues& values)
{
    std::map<std::string, std::string> all(values.texts.begin(), values.texts.end());
    for (const auto& [name, number] : values.integers)
        all[name] = std::to_string(number);
    all.erase(std::string(KernelName::features));
    return all;
}

} // namespace

TEST(LinuxProcessor, EveryValueAndEachFallbackOfARealMachine)
{
    const MachineReadings guest = epycGuest();
    const std::map<std::string, std::string> expected{
        {"machdep.cpu.brand_string", "AMD EPYC"},
        {"hw.logicalcpu", "2"},
        {"hw.physicalcpu", "2"},
        {"hw.cpufrequency", "2596128000"}, // no cpufreq driver in the guest: "cpu MHz"
        {"hw.l1icachesize", "32768"},
        {"hw.l1dcachesize", "32768"},
        {"hw.l2cachesize", "1048576"},
        {"hw.l3cachesize", "33554432"},
        // "cpu family: 25", "model: 17" split as macOS splits them; "microcode: 0x1000065"
        {"machdep.cpu.family", "15"},
        {"machdep.cpu.extfamily", "10"},
        {"machdep.cpu.model", "17"},
        {"machdep.cpu.extmodel", "1"},
        {"machdep.cpu.stepping", "1"},
        {"machdep.cpu.microcode_version", "16777317"},
    };
    const KernelValues values = linuxProcessorValues(guest.files, guest.cpuid);
    EXPECT_EQ(shown(values), expected);
    EXPECT_TRUE(values.text(KernelName::features).starts_with("fpu vme de pse tsc"));

    const auto without = [&](const std::string& prefix) {
        FileContents files = guest.files;
        std::erase_if(files, [&](const auto& file) { return file.first.starts_with(prefix); });
        return files;
    };
    // Without the cache folders the processor's own CPUID answers size the same caches.
    EXPECT_EQ(shown(linuxProcessorValues(without(std::string(LinuxPath::cacheFolder)), guest.cpuid)), expected);
    // Without the online list, each /proc/cpuinfo entry is one logical processor.
    EXPECT_EQ(shown(linuxProcessorValues(without(std::string(LinuxPath::onlineProcessors)), guest.cpuid)), expected);
    // Where /proc/cpuinfo states no core ids (ARM), each processor's topology files count the cores.
    FileContents anonymous = guest.files;
    std::string& cpuinfo = anonymous[std::string(LinuxPath::cpuInfo)];
    cpuinfo = std::regex_replace(cpuinfo, std::regex("(physical|core) id\t*: [0-9]+\n"), "");
    EXPECT_EQ(shown(linuxProcessorValues(anonymous, guest.cpuid)), expected);
    // Nothing at all: no value rather than a guess.
    EXPECT_TRUE(shown(linuxProcessorValues({}, "")).empty());
}

TEST(LinuxProcessor, OnlineListsAsTheKernelWritesThem)
{
    const std::vector<std::pair<std::string, std::optional<std::int64_t>>> lists{
        {"0\n", 1},     {"0-7\n", 8},         {"0-3,5,7-8\n", 7}, {"0,2-3", 3},
        {"", 2},        {"3-1\n", 2},         {"0-x\n", 2},       {"0-9999999999\n", 2}, // nonsense: /proc/cpuinfo decides
    };
    const MachineReadings guest = epycGuest();
    for (const auto& [list, count] : lists) {
        FileContents files = guest.files;
        files[std::string(LinuxPath::onlineProcessors)] = list;
        EXPECT_EQ(linuxProcessorValues(files, "").integer(KernelName::logicalCores), count) << list;
    }
}
