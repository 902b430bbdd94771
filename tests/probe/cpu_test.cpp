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

// Without CPUID answers (a capture without cpuid.txt, a Mac that is not x86) the
// kernel's values fill the processor's fields, read as macOS means them: the
// base family (or, from an older or patched kernel, the full one) and the full
// model, except where the kernel left the extended model out.
TEST(CpuInfo, KernelViewWhereTheProcessorWasNotAsked)
{
    using Row = std::vector<std::string>;
    const std::vector<std::pair<std::map<std::string, std::string, std::less<>>, Row>> cases{
        // The `sysctl machdep.cpu` of an OS X 10.9 guest shown an Ivy Bridge (workhorsy/py-cpuinfo,
        // tests/test_osx_10_9_x86_64.py): the decimal microcode revision in hex, the L2 as xnu has it.
        {{{"machdep.cpu.family", "6"}, {"machdep.cpu.model", "58"}, {"machdep.cpu.extmodel", "3"},
          {"machdep.cpu.extfamily", "0"}, {"machdep.cpu.stepping", "9"}, {"machdep.cpu.microcode_version", "25"},
          {"machdep.cpu.cache.L2_associativity", "8"}, {"machdep.cpu.cache.linesize", "64"}},
         {"6", "A", "9", "6", "3A", "0x19", "8-way", "64 bytes"}},
        // A Ryzen 9 3900X: base family with its extension, the model unfolded or folded.
        {{{"machdep.cpu.family", "15"}, {"machdep.cpu.extfamily", "8"}, {"machdep.cpu.model", "1"},
          {"machdep.cpu.extmodel", "7"}, {"machdep.cpu.stepping", "0"}, {"machdep.cpu.cache.L2_associativity", "65535"}},
         {"F", "1", "0", "17", "71", "", "fully associative", ""}},
        {{{"machdep.cpu.family", "23"}, {"machdep.cpu.model", "113"}, {"machdep.cpu.stepping", "0"},
          {"hw.cachelinesize", "64"}},
         {"F", "1", "0", "17", "71", "", "", "64 bytes"}},
        // A family before the extensions: the extended model is not the model's.
        {{{"machdep.cpu.family", "5"}, {"machdep.cpu.model", "8"}, {"machdep.cpu.extmodel", "3"},
          {"machdep.cpu.stepping", "12"}},
         {"5", "8", "C", "5", "8", "", "", ""}},
        // No processor has these: nothing rather than a wrong identity.
        {{{"machdep.cpu.family", "-1"}, {"machdep.cpu.model", "158"}, {"machdep.cpu.stepping", "10"},
          {"machdep.cpu.microcode_version", "-5"}, {"machdep.cpu.cache.L2_associativity", "0"},
          {"machdep.cpu.cache.linesize", "99999"}},
         {"", "", "", "", "", "", "", ""}},
    };
    for (const auto& [kernel, expected] : cases) {
        scripted::ScriptedMachine machine;
        machine.kernel = kernel;
        const CPUInfo cpu = SystemProbe::cpuInfo(scripted::readings(machine));
        EXPECT_EQ((Row{cpu.family, cpu.model, cpu.stepping, cpu.extFamily, cpu.extModel, cpu.microcode, cpu.l2Ways,
                       cpu.cacheLine}),
                  expected)
            << kernel.begin()->second;
        EXPECT_EQ(cpu.kernelSignature, "");
    }
}

// The core design is Apple Silicon's alone: an Intel kernel's value is not named.
TEST(CpuInfo, CoreDesignOnAppleSiliconOnly)
{
    const std::vector<std::array<std::string, 3>> cases{
        {"458787763", "arm64", "Firestorm / Icestorm"},
        {"-634136515", "arm64", "Blizzard / Avalanche"}, // sysctl prints it signed
        {"3660830781", "arm64", "Blizzard / Avalanche"}, // a 4-byte read into 8 bytes: the same value
        {"123456789", "arm64", "0x75BCD15"},             // a chip newer than the table
        {"260141638", "x86_64", ""},                      // CPUFAMILY_INTEL_KABYLAKE
    };
    for (const auto& [family, architecture, design] : cases) {
        scripted::ScriptedMachine machine;
        machine.kernel = {{"hw.cpufamily", family}};
        machine.answer(Tool::machineArchitecture, architecture + "\n");
        EXPECT_EQ(SystemProbe::cpuInfo(scripted::readings(machine)).coreDesign, design) << family;
    }
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
    // The processor answers for itself, and the kernel saw the same processor.
    EXPECT_NE(cpu.extFamily, "");
    EXPECT_NE(cpu.l1dWays, "");
    EXPECT_EQ(cpu.cacheLine, "64 bytes");
    EXPECT_EQ(cpu.kernelSignature, "");
#endif
}
