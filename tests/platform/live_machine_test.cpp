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
    const auto memory = machine->sysctlInt("hw.memsize");
    ASSERT_TRUE(memory);
    EXPECT_GT(*memory, 64LL * 1024 * 1024);
    EXPECT_EQ(machine->sysctlValue("no.such.value"), "");
    EXPECT_EQ(machine->sysctlInt("no.such.value"), std::nullopt);
#if defined(__x86_64__) || defined(__i386__)
    // Leaf 0 first: the highest basic leaf and the vendor.
    EXPECT_TRUE(machine->cpuidDump().starts_with("00000000 00000000: ")) << machine->cpuidDump().substr(0, 80);
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
