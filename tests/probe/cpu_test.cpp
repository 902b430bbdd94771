#include "core/unicode_text.h"
#include "platform/machine.h"
#include "probe/cpu.h"
#include "probe/system_probe.h"

#include "scripted_machine.h"

#include <gtest/gtest.h>

using namespace veltrin;

TEST(CpuVendor, FirstVendorWordInTableOrderWins)
{
    const std::vector<std::array<std::string, 5>> cases{
        {"AMD Ryzen 9 7950X", "x86_64", "", "", "AuthenticAMD"},
        {"Ryzen Threadripper 3990X", "", "", "", "AuthenticAMD"},
        {"Apple M2 Max", "arm64", "", "", "Apple Silicon / ARM64"},
        {"Apple", "M1", "", "", "Apple Silicon / ARM64"}, // the texts are joined with spaces
        {"", "", "", "Chip: Apple M1", "Apple Silicon / ARM64"},
        {"Apple M2", "arm64", "", "Graphics: INTEL Iris", "GenuineIntel"}, // "intel" anywhere wins
        {"AMD Ryzen 7 5800X", "aarch64", "", "", "AuthenticAMD"},
        {"PowerPC G5", "ppc", "", "", "Unknown"},
    };
    for (const auto& [from, architecture, features, hardware, vendor] : cases)
        EXPECT_EQ(SystemProbe::cpuVendor(from, architecture, features, hardware), vendor) << from << hardware;
}

TEST(CpuInfo, EachFieldTakesItsNextSourceOrItsFallback)
{
    const std::string em = "\u2014";
    scripted::ScriptedMachine machine;
    machine.kernel = {{"hw.model", "MacBookPro15,2"}, {"machdep.cpu.leaf7_features", "AVX2"}, {"hw.l1dcachesize", "0"}};
    machine.answer(Tool::machineArchitecture, " x86_64\n");
    machine.answer(Tool::hardwareReport, "Processor Name: Intel Core i5\nProcessor Speed: 2,3 GHz");
    EXPECT_EQ(scripted::named(SystemProbe::cpuInfo(scripted::readings(machine))),
              scripted::named(CPUInfo{"Intel Core i5", "GenuineIntel", "x86_64", "0", "0", "2,3 GHz", em, em, em, em,
                                      "AVX2"}));
    machine.answer(Tool::hardwareReport, "");
    EXPECT_EQ(SystemProbe::cpuInfo(scripted::readings(machine)).name, "MacBookPro15,2");

    // Nothing readable, and labels with nothing after them: still no blank field,
    // and never the next line's text.
    scripted::ScriptedMachine nothing;
    nothing.answer(Tool::hardwareReport, "Processor Name:\nProcessor Speed:   \nNumber Of Processors: 1\n");
    EXPECT_EQ(scripted::named(SystemProbe::cpuInfo(scripted::readings(nothing))),
              scripted::named(CPUInfo{"Unknown CPU", "Unknown", "Unknown", "0", "0", em, em, em, em, em, em}));
}

TEST(CpuInfo, KernelValuesOutsidePhysicalSenseShowThePlaceholder)
{
    const std::string em = "\u2014";
    scripted::ScriptedMachine machine;
    machine.kernel = {{"hw.physicalcpu", "-1"},          {"hw.logicalcpu", "9999999"},
                      {"hw.cpufrequency", "-1"},         {"hw.l1icachesize", "9223372036854775807"},
                      {"hw.l2cachesize", "1048576"},     {"hw.memsize", "9223372036854775807"}};
    machine.answer(Tool::hardwareReport, "Processor Speed: 3.2 GHz\n");
    const SystemSnapshot snapshot = SystemProbe::collect(machine);
    EXPECT_EQ((std::vector<std::string>{snapshot.cpu.physicalCores, snapshot.cpu.logicalCores, snapshot.cpu.frequency,
                                        snapshot.cpu.l1i, snapshot.cpu.l2, snapshot.memory.total}),
              (std::vector<std::string>{em, em, "3.2 GHz", em, "1 MB", em}));
}

TEST(CpuInfo, ClustersForSeveralKindsOfCoreOnlyAndAtMostFour)
{
    // An M1 on macOS 12 (values of a real `sysctl hw`, see tests/fixtures/README.md): levels without names.
    scripted::ScriptedMachine machine;
    machine.kernel = {{"hw.nperflevels", "2"},
                      {"hw.perflevel0.physicalcpu", "4"},
                      {"hw.perflevel0.l2cachesize", "12582912"},
                      {"hw.perflevel1.physicalcpu", "4"},
                      {"hw.perflevel1.l2cachesize", "4194304"}};
    const auto clusters = [&] { return SystemProbe::cpuInfo(scripted::readings(machine)).clusters; };
    const std::string em = "\u2014";
    EXPECT_EQ(scripted::shown(clusters()), "Level 0 / 4 / " + em + " / " + em + " / 12 MB; Level 1 / 4 / " + em +
                                               " / " + em + " / 4 MB");
    machine.kernel["hw.nperflevels"] = "1";
    EXPECT_TRUE(clusters().empty());
    machine.kernel["hw.nperflevels"] = "9"; // no chip has as many
    EXPECT_EQ(clusters().size(), 4u);
}

// What every computer has, read through the live machine as a refresh reads it:
// on Linux from the processor's files and its CPUID answers.
TEST(CpuInfo, LiveProcessorHasTheBasics)
{
    const CPUInfo cpu = SystemProbe::collect(*makeLiveMachine()).cpu;
    ASSERT_NE(cpu.logicalCores, "0");
    EXPECT_GE(std::stoi(cpu.logicalCores), 1);
    EXPECT_GE(std::stoi(cpu.physicalCores), 1);
    EXPECT_LE(std::stoi(cpu.physicalCores), std::stoi(cpu.logicalCores));
#if defined(__x86_64__)
    EXPECT_NE(cpu.name, "Unknown CPU");
    // Linux lists the flags in lower case, macOS in upper case.
    EXPECT_NE(lowercased(cpu.features).find("sse2"), std::string::npos);
    EXPECT_NE(cpu.l1d, "\u2014") << "neither sysfs nor CPUID described the L1 data cache";
#endif
}
