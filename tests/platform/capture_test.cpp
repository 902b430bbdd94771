// Capture and replay of folders a hostile user may have prepared: capture never
// writes through a link or into a folder it would mix with, and replay reads
// only regular files inside the capture folder.

#include "platform/capture.h"
#include "platform/replay_machine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace veltrin;
namespace fs = std::filesystem;

namespace {

class CaptureFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("veltrin-capture-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
        readings_.tools[Tool::machineArchitecture] = {"arm64\n", 0};
        readings_.tools[Tool::kernelRelease] = {"23.6.0\n", 3};
        readings_.kernel.integers.emplace(KernelName::memorySize, 17179869184);
    }
    void TearDown() override { fs::remove_all(root_); }

    static void write(const fs::path& path, const std::string& content)
    {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }
    static std::string read(const fs::path& path)
    {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }
    bool capture(const fs::path& target, bool replace, std::string& error) const
    {
        return writeCapture(readings_, target.string(), replace, error);
    }
    // Nothing but the target (and what the test put there) is left beside it.
    std::size_t entries() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(root_), {})); }

    fs::path root_;
    MachineReadings readings_;
};

} // namespace

TEST_F(CaptureFolderTest, WritesANewFolderThatReplaysTheSame)
{
    std::string error;
    ASSERT_TRUE(capture(root_ / "new" / "machine/", false, error)) << error;
    const fs::path folder = root_ / "new" / "machine";
    EXPECT_EQ(read(folder / "uname-m.txt"), "arm64\n");
    EXPECT_EQ(read(folder / "uname-r.txt.status"), "3\n");
    EXPECT_FALSE(fs::exists(folder / "uptime.txt")); // never started: no file
    const auto machine = ReplayMachine::open(folder.string(), error);
    ASSERT_TRUE(machine) << error;
    EXPECT_EQ(machine->sysctlInt("hw.memsize"), 17179869184);
    EXPECT_EQ(machine->run("/usr/bin/uname", {"-r"}, 1.0).status, 3);
    EXPECT_EQ(std::distance(fs::directory_iterator(root_ / "new"), {}), 1);
}

TEST_F(CaptureFolderTest, RefusesTargetsItWouldWriteThroughOrMixWith)
{
    write(root_ / "victim", "keep me");
    fs::create_symlink(root_ / "victim", root_ / "link");
    fs::create_symlink(root_ / "nowhere", root_ / "dangling");
    write(root_ / "file", "x");
    write(root_ / "stale" / "uname-m.txt", "ppc\n"); // an old run's file, no finished capture
    fs::create_directories(root_ / "empty");

    const std::vector<std::tuple<std::string, bool, std::string>> cases{
        {"link", true, "exists and is not a folder"},
        {"dangling", true, "exists and is not a folder"},
        {"file", true, "exists and is not a folder"},
        {"stale", true, "is not empty and holds no capture"},
    };
    for (const auto& [name, replace, why] : cases) {
        std::string error;
        EXPECT_FALSE(capture(root_ / name, replace, error)) << name;
        EXPECT_NE(error.find(why), std::string::npos) << error;
    }
    EXPECT_EQ(read(root_ / "victim"), "keep me");
    EXPECT_FALSE(fs::exists(root_ / "nowhere"));
    EXPECT_EQ(read(root_ / "stale" / "uname-m.txt"), "ppc\n");

    std::string error;
    EXPECT_TRUE(capture(root_ / "empty", false, error)) << error;
    EXPECT_EQ(read(root_ / "empty" / "uname-m.txt"), "arm64\n");
    EXPECT_EQ(entries(), 6u); // no staging folder left behind
}

TEST_F(CaptureFolderTest, ReplacesAFinishedCaptureOnlyWhenAsked)
{
    std::string error;
    ASSERT_TRUE(capture(root_ / "machine", false, error)) << error;
    write(root_ / "machine" / "extra.txt", "from before");
    EXPECT_FALSE(capture(root_ / "machine", false, error));
    EXPECT_NE(error.find("--replace"), std::string::npos) << error;
    EXPECT_TRUE(fs::exists(root_ / "machine" / "extra.txt"));

    readings_.tools[Tool::machineArchitecture] = {"x86_64\n", 0};
    ASSERT_TRUE(capture(root_ / "machine", true, error)) << error;
    EXPECT_EQ(read(root_ / "machine" / "uname-m.txt"), "x86_64\n");
    EXPECT_FALSE(fs::exists(root_ / "machine" / "extra.txt")); // replaced whole, never mixed
    EXPECT_EQ(entries(), 1u);
}

TEST_F(CaptureFolderTest, ReplayReadsOnlyRegularFilesInsideTheFolder)
{
    const fs::path folder = root_ / "capture";
    write(root_ / "outside.txt", "root:x:0:0:root:/root:/bin/bash\n");
    write(folder / "sysctl.txt", "hw.memsize: 1024\n");
    write(folder / "uname-m.txt", "x86_64\n");
    fs::create_symlink(folder / "uname-m.txt", folder / "uptime.txt");                  // inside: read
    fs::create_symlink(root_ / "outside.txt", folder / "uname-r.txt");                   // out of the folder
    fs::create_symlink("/dev/zero", folder / "vm_stat.txt");                             // a device
    ASSERT_EQ(::mkfifo((folder / "sw_vers.txt").c_str(), 0600), 0);                      // would block
    fs::create_directories(folder / "memory_pressure.txt");                              // a folder
    write(folder / "SPHardwareDataType.txt", std::string(5u * 1024 * 1024, 'a'));        // over the cap

    std::vector<std::string> warnings;
    std::string error;
    const auto machine =
        ReplayMachine::open(folder.string(), error, [&](const std::string& line) { warnings.push_back(line); });
    ASSERT_TRUE(machine) << error;
    EXPECT_EQ(machine->run("/usr/bin/uptime", {}, 1.0).output, "x86_64\n");
    for (const auto& [executable, arguments] : std::vector<std::pair<std::string, std::vector<std::string>>>{
             {"/usr/bin/uname", {"-r"}}, {"/usr/bin/vm_stat", {}}, {"/usr/bin/sw_vers", {}},
             {"/usr/bin/memory_pressure", {}}}) {
        const ProcessResult result = machine->run(executable, arguments, 1.0);
        EXPECT_EQ(result.output, "") << executable;
        EXPECT_EQ(result.status, -1) << executable;
    }
    EXPECT_EQ(warnings.size(), 4u);
    for (const std::string& warning : warnings)
        EXPECT_EQ(warning.find('\n'), std::string::npos) << warning;
    EXPECT_EQ(machine->run("/usr/sbin/system_profiler", {"SPHardwareDataType", "-detailLevel", "mini"}, 4.0)
                  .output.size(),
              ProcessRunner::kOutputCapBytes);
}

// The derived Rosetta capture is written as a capture writes: every fixed value,
// then each level's. Replayed and written again, it comes out the same.
TEST(CaptureKernelValues, RoundTripWithEveryLevel)
{
    const fs::path folder = fs::path(VELTRIN_FIXTURES) / "captures" / "m3max-12p4e-rosetta";
    std::ifstream file(folder / "sysctl.txt", std::ios::binary);
    std::string error;
    const auto machine = ReplayMachine::open(folder.string(), error);
    ASSERT_TRUE(machine) << error;
    EXPECT_EQ(kernelValuesText(readKernelValues(*machine)), std::string(std::istreambuf_iterator<char>(file), {}));
}
