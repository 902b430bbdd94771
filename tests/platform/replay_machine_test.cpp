#include "platform/command_table.h"
#include "platform/capture.h"
#include "platform/replay_machine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sys/stat.h>

using namespace veltrin;
namespace fs = std::filesystem;

namespace {

class ReplayMachineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() /
                  ("veltrin-replay-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    void write(const std::string& name, const std::string& content)
    {
        std::ofstream(folder_ / name, std::ios::binary) << content;
    }
    std::unique_ptr<ReplayMachine> open()
    {
        std::string error;
        auto machine = ReplayMachine::open(folder_.string(), error);
        EXPECT_TRUE(machine) << error;
        return machine;
    }

    fs::path folder_;
};

} // namespace

TEST_F(ReplayMachineTest, ReadsKernelValuesAsMacOSPrintsThem)
{
    write("sysctl.txt", "machdep.cpu.brand_string: AMD Ryzen 9 7950X 16-Core Processor            \n"
                        "hw.memsize: 17179869184\r\n"
                        "hw.logicalcpu: -4\n"
                        "hw.model:\n"
                        "hw.cpufrequency: 3.6 GHz\n"
                        "not a value line\n");
    const auto machine = open();
    EXPECT_EQ(machine->sysctlValue("machdep.cpu.brand_string"), "AMD Ryzen 9 7950X 16-Core Processor            ");
    EXPECT_EQ(machine->sysctlInt("hw.memsize"), 17179869184);
    EXPECT_EQ(machine->sysctlInt("hw.logicalcpu"), -4);
    EXPECT_EQ(machine->sysctlValue("hw.model"), "");
    EXPECT_EQ(machine->sysctlInt("hw.cpufrequency"), std::nullopt);
    EXPECT_EQ(machine->sysctlValue("hw.l3cachesize"), "");
    EXPECT_EQ(machine->sysctlInt("hw.l3cachesize"), std::nullopt);
}

TEST_F(ReplayMachineTest, ReplaysToolOutputAndStatus)
{
    write("uname-m.txt", "x86_64\n");
    write("uname-r.txt", "23.6.0\n");
    write("uname-r.txt.status", "3\n");
    write("sw_vers.txt", "bad \xff bytes");
    write("sw_vers.txt.status", "not a number");
    const auto machine = open();

    const ProcessResult architecture = machine->run("/usr/bin/uname", {"-m"}, 2.0);
    EXPECT_EQ(architecture.output, "x86_64\n");
    EXPECT_EQ(architecture.status, 0);
    EXPECT_EQ(machine->run("/usr/bin/uname", {"-r"}, 1.0).status, 3);
    EXPECT_EQ(machine->run("/usr/bin/sw_vers", {}, 1.0).output, "");
    EXPECT_EQ(machine->run("/usr/bin/sw_vers", {}, 1.0).status, kUnreadableExitStatus);

    const ProcessResult missing = machine->run("/usr/bin/uptime", {}, 1.0);
    EXPECT_EQ(missing.output, "");
    EXPECT_EQ(missing.status, -1);
    EXPECT_EQ(machine->run("/bin/sh", {"-c", "true"}, 1.0).status, -1);
}

TEST_F(ReplayMachineTest, DmidecodeIsFoundExactlyWhenItsOutputWasCaptured)
{
    const auto without = open();
    EXPECT_FALSE(without->isExecutableFile("/usr/local/bin/dmidecode"));
    write("dmidecode.txt", "# dmidecode 3.5\n");
    const auto with = open();
    EXPECT_TRUE(with->isExecutableFile("/usr/local/bin/dmidecode"));
    EXPECT_TRUE(with->isExecutableFile("/usr/bin/dmidecode"));
    EXPECT_FALSE(with->isExecutableFile("/usr/bin/uname"));
    EXPECT_EQ(with->readFileHead("/usr/local/bin/dmidecode", 160), std::nullopt);
    EXPECT_EQ(with->resourceFile("dmidecode"), std::nullopt);
    EXPECT_EQ(with->run("/opt/homebrew/bin/dmidecode", {}, 2.5).output, "# dmidecode 3.5\n");
}

TEST_F(ReplayMachineTest, RefusesADirectoryThatCannotBeRead)
{
    std::string error;
    EXPECT_EQ(ReplayMachine::open((folder_ / "absent").string(), error), nullptr);
    EXPECT_NE(error.find("absent"), std::string::npos);
    write("file", "x");
    error.clear();
    EXPECT_EQ(ReplayMachine::open((folder_ / "file").string(), error), nullptr);
    EXPECT_FALSE(error.empty());
}

TEST_F(ReplayMachineTest, SystemFilesComeBackAsTheyWereRead)
{
    MachineReadings readings;
    readings.platform = std::string(kLinuxPlatform);
    readings.files = {
        {"/sys/class/dmi/id/board_name", "PRIME X570-PRO\n"},
        {"/run/udev/data/+dmi:id", "E:MEMORY_DEVICE_0_SIZE=8589934592\n"},
        {"/sys/bus/pci/devices/0000:0b:00.0/class", "0x030000\n"},
        {"/sys/class/drm/card0-DP-1/edid", std::string("\x00\xff\xff\x00\x0a\x00", 6)},
    };
    std::string error;
    ASSERT_TRUE(writeCapture(readings, folder_.string(), false, error)) << error;
    const auto machine = open();
    EXPECT_EQ(machine->platform(), kLinuxPlatform);
    for (const auto& [path, content] : readings.files)
        EXPECT_EQ(machine->readFileHead(path, 1 << 20), content) << path;
    EXPECT_EQ(machine->readFileHead("/sys/class/drm/card0-DP-1/edid", 2), std::string("\x00\xff", 2));
    EXPECT_EQ(machine->directoryEntries("/sys/bus/pci/devices/"), std::vector<std::string>{"0000:0b:00.0"});
    EXPECT_EQ(machine->readFileHead("/sys/class/dmi/id/board_vendor", 64), std::nullopt);
    EXPECT_EQ(machine->readFileHead("/sys/class/dmi/../../../sysctl.txt", 64), std::nullopt); // stays inside files/

    readings.files = {{"/etc/../../escaped", "x"}};
    EXPECT_FALSE(writeCapture(readings, (folder_ / "second").string(), false, error));
    EXPECT_FALSE(fs::exists(folder_ / "second" / "escaped"));
}

TEST_F(ReplayMachineTest, ACaptureThatNamesNoPlatformIsAMac)
{
    EXPECT_EQ(open()->platform(), kMacPlatform);
    write("platform.txt", "linux\n");
    EXPECT_EQ(open()->platform(), kLinuxPlatform);
}

TEST(CommandTable, EveryCommandHasItsOwnCaptureFile)
{
    std::set<std::string> files;
    std::set<Tool> tools;
    for (const ToolCommand& command : toolCommands()) {
        EXPECT_TRUE(files.insert(command.captureFile).second) << command.captureFile;
        EXPECT_TRUE(tools.insert(command.tool).second) << command.captureFile;
        EXPECT_EQ(captureFileFor(command.executable, command.arguments), command.captureFile);
        EXPECT_EQ(command.executable.front(), '/');
        EXPECT_GT(command.timeout, 0.0);
    }
    EXPECT_EQ(files.size(), 26u);
    EXPECT_EQ(captureFileFor("/usr/sbin/ioreg", {"-l"}), std::nullopt);
    EXPECT_EQ(captureFileFor("/x/dmidecode", {}), "dmidecode.txt");
    EXPECT_EQ(captureFileFor("/x/dmidecode", {"-t", "2"}), std::nullopt);
}

TEST(KernelValues, ParseStatusAndValueLines)
{
    const std::vector<std::pair<std::string, std::optional<std::int32_t>>> statuses{
        {" 42\n", 42}, {"-9", -9}, {"-1", -1}, {"0", 0}, {"255", 255},
        // Nothing a tool or the runner reports: the run counts as failed.
        {"256", std::nullopt}, {"-2", std::nullopt}, {"4294967296", std::nullopt}, {"99999999999", std::nullopt},
        {"", std::nullopt}, {"killed", std::nullopt}, {"3 4", std::nullopt}};
    for (const auto& [text, status] : statuses)
        EXPECT_EQ(parseExitStatus(text), status) << text;
    const auto values = parseKernelValues("a: 1\nb:2\nc: x: y\n: orphan\n");
    EXPECT_EQ(values.at("a"), "1");
    EXPECT_EQ(values.at("b"), "2");
    EXPECT_EQ(values.at("c"), "x: y");
    EXPECT_EQ(values.size(), 3u);
}
