#include "platform/machine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <sys/stat.h>

using namespace veltrin;

// The live machine answers for the computer running the tests; what it must
// always give is what every computer has.
TEST(LiveMachine, ReportsTheBasicsOfThisComputer)
{
    const auto machine = makeLiveMachine();
    const auto logical = machine->sysctlInt("hw.logicalcpu");
    ASSERT_TRUE(logical);
    EXPECT_GE(*logical, 1);
    const auto physical = machine->sysctlInt("hw.physicalcpu");
    ASSERT_TRUE(physical);
    EXPECT_GE(*physical, 1);
    EXPECT_LE(*physical, *logical);
    const auto memory = machine->sysctlInt("hw.memsize");
    ASSERT_TRUE(memory);
    EXPECT_GT(*memory, 64LL * 1024 * 1024);
    EXPECT_EQ(machine->sysctlValue("no.such.value"), "");
    EXPECT_EQ(machine->sysctlInt("no.such.value"), std::nullopt);
#if defined(__x86_64__)
    EXPECT_FALSE(machine->sysctlValue("machdep.cpu.brand_string").empty());
    // Linux lists the flags in lower case, macOS in upper case.
    std::string features = machine->sysctlValue("machdep.cpu.features");
    std::transform(features.begin(), features.end(), features.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    EXPECT_NE(features.find("sse2"), std::string::npos);
    const auto l1d = machine->sysctlInt("hw.l1dcachesize");
    ASSERT_TRUE(l1d) << "neither sysfs nor CPUID described the L1 data cache";
    EXPECT_GE(*l1d, 8 * 1024);
#endif
}

TEST(LiveMachine, RunsRealToolsAndTestsFiles)
{
    const auto machine = makeLiveMachine();
    const ProcessResult architecture = machine->run("/usr/bin/uname", {"-m"}, 2.0);
    EXPECT_EQ(architecture.status, 0);
    EXPECT_FALSE(architecture.output.empty());
    EXPECT_TRUE(machine->isExecutableFile("/bin/sh"));
    const std::string plain = ::testing::TempDir() + "veltrin-plain-file";
    std::ofstream(plain) << "data";
    ::chmod(plain.c_str(), 0644);
    EXPECT_FALSE(machine->isExecutableFile(plain));
    std::remove(plain.c_str());
    EXPECT_FALSE(machine->isExecutableFile("/no/such/tool"));
    EXPECT_EQ(machine->readFileHead("/no/such/file", 160), std::nullopt);
    const auto head = machine->readFileHead("/bin/sh", 4);
    ASSERT_TRUE(head);
    EXPECT_EQ(head->size(), 4u);
}
