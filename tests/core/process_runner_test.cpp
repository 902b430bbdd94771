#include "core/process_runner.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <iostream>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace veltrin;
namespace fs = std::filesystem;

namespace {

class ProcessRunnerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() /
                  ("veltrin-runner-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string script(const std::string& name, const std::string& body, bool executable = true)
    {
        const fs::path path = folder_ / name;
        std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
        ::chmod(path.c_str(), executable ? 0755 : 0644);
        return path.string();
    }

    fs::path folder_;
};

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// An orphan whose new parent has not collected it yet is a zombie: it has ended.
// Only Linux shows that in /proc; elsewhere the wait lasts until it is collected.
bool isZombie(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string content;
    if (!std::getline(stat, content))
        return false;
    const auto close = content.rfind(')');
    return close != std::string::npos && content.size() > close + 2 && content[close + 2] == 'Z';
}

bool processIsGone(pid_t pid)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        if ((::kill(pid, 0) != 0 && errno == ESRCH) || isZombie(pid))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

std::set<std::string> openDescriptors()
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator("/dev/fd"))
        names.insert(entry.path().filename().string());
    return names;
}

struct Scenario {
    std::string body;
    double timeout;
    std::int32_t expectedStatus;
};

} // namespace

TEST_F(ProcessRunnerTest, ToolsThatCannotStartFailAtOnce)
{
    const std::string notExecutable = script("plain", "echo never", /*executable=*/false);
    for (const std::string& path : {(folder_ / "missing").string(), notExecutable, folder_.string()}) {
        const auto start = std::chrono::steady_clock::now();
        const ProcessResult result = ProcessRunner::runResult(path, {}, 5.0);
        EXPECT_EQ(result.output, "") << path;
        EXPECT_EQ(result.status, -1) << path;
        EXPECT_LT(secondsSince(start), 0.5) << path;
    }
}

TEST_F(ProcessRunnerTest, ReturnsOutputAndExitStatus)
{
    const ProcessResult result = ProcessRunner::runResult(script("three", "echo 'one line'; exit 3"), {}, 5.0);
    EXPECT_EQ(result.output, "one line\n");
    EXPECT_EQ(result.status, 3);
}

TEST_F(ProcessRunnerTest, PassesArgumentsUnchangedWithoutAShell)
{
    const std::string tool = script("args", "echo $#; for a in \"$@\"; do echo \"[$a]\"; done");
    EXPECT_EQ(ProcessRunner::runResult(tool, {}, 5.0).output, "0\n");
    EXPECT_EQ(ProcessRunner::runResult(tool, {"a b", "$HOME", "*"}, 5.0).output, "3\n[a b]\n[$HOME]\n[*]\n");
}

TEST_F(ProcessRunnerTest, GathersBothStreamsIntoOneText)
{
    const ProcessResult result = ProcessRunner::runResult(script("both", "printf a; printf b >&2"), {}, 5.0);
    EXPECT_EQ(result.output.size(), 2u);
    EXPECT_NE(result.output.find('a'), std::string::npos);
    EXPECT_NE(result.output.find('b'), std::string::npos);
    EXPECT_EQ(result.status, 0);
}

TEST_F(ProcessRunnerTest, StopsAToolAtItsLimitAndKeepsEarlierOutput)
{
    const auto start = std::chrono::steady_clock::now();
    const ProcessResult result = ProcessRunner::runResult(script("slow", "echo early; sleep 30"), {}, 1.0);
    const double elapsed = secondsSince(start);
    EXPECT_EQ(result.status, -9);
    EXPECT_EQ(result.output, "early\n");
    EXPECT_GE(elapsed, 0.95);
    EXPECT_LT(elapsed, 1.5);
}

TEST_F(ProcessRunnerTest, KillsAToolThatIgnoresTerminationAndInterrupt)
{
    const std::string stubborn = script("stubborn", "trap '' TERM INT; echo $$; while :; do sleep 0.01; done");
    const auto start = std::chrono::steady_clock::now();
    const ProcessResult result = ProcessRunner::runResult(stubborn, {}, 0.3);
    EXPECT_EQ(result.status, -9);
    EXPECT_LT(secondsSince(start), 1.0);
    EXPECT_TRUE(processIsGone(std::stoi(result.output)));
}

TEST_F(ProcessRunnerTest, AHelperHoldingThePipesGetsAShortGraceAndTheToolKeepsItsStatus)
{
    // The tool itself ends at once; its helper keeps standard output open.
    const std::string forks = script("forks", "sleep 30 & echo $!; exit 3");
    const auto start = std::chrono::steady_clock::now();
    const ProcessResult result = ProcessRunner::runResult(forks, {}, 10.0);
    EXPECT_LT(secondsSince(start), 1.0);
    EXPECT_EQ(result.status, 3);
    ASSERT_FALSE(result.output.empty());
    EXPECT_TRUE(processIsGone(std::stoi(result.output)));
}

TEST_F(ProcessRunnerTest, AToolThatStopsItselfIsStoppedAtItsLimit)
{
    const auto start = std::chrono::steady_clock::now();
    const ProcessResult result = ProcessRunner::runResult(script("stops", "echo $$; kill -STOP $$"), {}, 0.5);
    EXPECT_EQ(result.status, -9);
    EXPECT_LT(secondsSince(start), 1.5);
    ASSERT_FALSE(result.output.empty());
    EXPECT_TRUE(processIsGone(std::stoi(result.output)));
}

// Our own input is a pipe nobody writes to, and a descriptor without close-on-exec
// is open: the tool must read end of file at once and see neither.
TEST_F(ProcessRunnerTest, AToolGetsNoInputAndOnlyTheStandardDescriptors)
{
    int input[2];
    ASSERT_EQ(::pipe(input), 0);
    const int savedInput = ::dup(STDIN_FILENO);
    ::dup2(input[0], STDIN_FILENO);
    const int stray = ::open("/dev/null", O_RDONLY);
    ASSERT_GT(stray, STDERR_FILENO);

    const std::string reads = script("reads", "cat; [ -e /dev/fd/$1 ] && echo \"inherited $1\"; echo done");
    const ProcessResult result = ProcessRunner::runResult(reads, {std::to_string(stray)}, 2.0);

    ::dup2(savedInput, STDIN_FILENO);
    for (const int fd : {savedInput, stray, input[0], input[1]})
        ::close(fd);
    EXPECT_EQ(result.output, "done\n");
    EXPECT_EQ(result.status, 0);
}

TEST_F(ProcessRunnerTest, HelpersOfATimedOutToolAreStoppedToo)
{
    const std::string tree = script("tree", "sleep 30 & echo $!; wait");
    const ProcessResult result = ProcessRunner::runResult(tree, {}, 0.3);
    EXPECT_EQ(result.status, -9);
    ASSERT_FALSE(result.output.empty());
    EXPECT_TRUE(processIsGone(std::stoi(result.output)));
}

TEST_F(ProcessRunnerTest, InvalidUtf8GivesEmptyTextWithTheRealStatus)
{
    const ProcessResult result = ProcessRunner::runResult(script("binary", "printf 'ok\\377'; exit 4"), {}, 5.0);
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(result.status, 4);
}

TEST_F(ProcessRunnerTest, ALimitOfZeroStopsAnUnfinishedTool)
{
    for (double limit : {0.0, -1.0}) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(ProcessRunner::runResult(script("nap", "sleep 5"), {}, limit).status, -9);
        EXPECT_LT(secondsSince(start), 0.5);
    }
}

TEST_F(ProcessRunnerTest, AFloodOfOutputIsCapped)
{
    const std::string flood = script("flood", "head -c 20000000 /dev/zero | tr '\\000' a; echo finished >&2");
    const ProcessResult result = ProcessRunner::runResult(flood, {}, 20.0);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.output.size(), ProcessRunner::kOutputCapBytes);
    EXPECT_EQ(result.output.find_first_not_of('a'), std::string::npos);
}

TEST_F(ProcessRunnerTest, LeavesNoDescriptorsOrChildrenBehind)
{
    const std::set<std::string> before = openDescriptors();
    const std::string quick = script("quick", "echo hi");
    const std::string slow = script("slow", "sleep 5");
    for (int i = 0; i < 10; ++i) {
        ProcessRunner::runResult(quick, {}, 5.0);
        ProcessRunner::runResult(slow, {}, 0.05);
        ProcessRunner::runResult((folder_ / "missing").string(), {}, 1.0);
    }
    EXPECT_EQ(openDescriptors(), before);
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1); // nothing left to reap
    EXPECT_EQ(errno, ECHILD);
}

// Hundreds of runs, five at a time, of every way a tool can end: afterwards the
// test process holds exactly the descriptors it held before, has no child left
// to reap, and no process started by any run is still alive.
TEST_F(ProcessRunnerTest, HundredsOfRunsFiveAtATimeLeaveNothingBehind)
{
    const std::vector<Scenario> scenarios{
        {"echo $$", 5.0, 0},                                          // normal exit
        {"echo $$; exit 7", 5.0, 7},                                  // failing exit
        {"echo $$; sleep 30", 0.2, -9},                               // time-out
        {"trap '' TERM INT; echo $$; while :; do sleep 0.01; done", 0.2, -9}, // ignores polite stops
        {"sleep 30 & echo $!", 0.2, 0},                               // helper holds the pipes
        {"sleep 30 & echo $!; sleep 30", 0.2, -9},                    // helper outlives a time-out
        {"head -c 3000000 /dev/zero | tr '\\000' x; echo; echo $$", 10.0, 0}, // flood
    };
    std::vector<std::string> tools;
    for (std::size_t i = 0; i < scenarios.size(); ++i)
        tools.push_back(script("tool" + std::to_string(i), scenarios[i].body));

    const std::set<std::string> before = openDescriptors();
    std::vector<pid_t> started;
    constexpr int kRuns = 280;
    constexpr int kAtOnce = 5;
    for (int batch = 0; batch < kRuns / kAtOnce; ++batch) {
        std::vector<std::future<std::pair<std::size_t, ProcessResult>>> running;
        for (int slot = 0; slot < kAtOnce; ++slot) {
            const std::size_t which = static_cast<std::size_t>(batch * kAtOnce + slot) % scenarios.size();
            running.push_back(std::async(std::launch::async, [&, which] {
                return std::make_pair(which, ProcessRunner::runResult(tools[which], {}, scenarios[which].timeout));
            }));
        }
        for (auto& run : running) {
            const auto [which, result] = run.get();
            EXPECT_EQ(result.status, scenarios[which].expectedStatus) << scenarios[which].body;
            const auto lastLine = result.output.find_last_not_of('\n');
            ASSERT_NE(lastLine, std::string::npos) << scenarios[which].body;
            const auto lineStart = result.output.rfind('\n', lastLine);
            started.push_back(std::stoi(result.output.substr(lineStart == std::string::npos ? 0 : lineStart + 1)));
        }
    }

    EXPECT_EQ(openDescriptors(), before);
    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
    for (const pid_t pid : started)
        EXPECT_TRUE(processIsGone(pid)) << pid;
}

namespace {

// Runs `tree` three times at once (each run leaves a helper), stops everything
// from this thread, and says what went wrong: "" when every process ended at
// once and no run could start afterwards.
std::string stopThreeRunningToolTrees(const std::string& tree, const fs::path& folder)
{
    std::vector<std::future<ProcessResult>> runs;
    for (int i = 0; i < 3; ++i)
        runs.push_back(std::async(std::launch::async, [&tree, file = folder / std::to_string(i)] {
            return ProcessRunner::runResult(tree, {file.string()}, 30.0);
        }));
    std::vector<pid_t> started;
    for (int i = 0; i < 3; ++i) {
        const fs::path file = folder / std::to_string(i);
        for (int wait = 0; wait < 500 && !fs::exists(file); ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::ifstream pids(file);
        for (pid_t pid = 0; pids >> pid;)
            started.push_back(pid);
    }
    if (started.size() != 6)
        return "expected six processes, found " + std::to_string(started.size());

    const auto start = std::chrono::steady_clock::now();
    ProcessRunner::stopAllRunning();
    for (auto& run : runs)
        run.get();
    std::string problems;
    if (secondsSince(start) > 2.0)
        problems += "the runs took " + std::to_string(secondsSince(start)) + " s to end; ";
    for (const pid_t pid : started)
        if (!processIsGone(pid))
            problems += "process " + std::to_string(pid) + " still runs; ";
    if (ProcessRunner::runResult(tree, {(folder / "late").string()}, 5.0).status != -1)
        problems += "a run started after the stop; ";
    return problems;
}

} // namespace

// Stopping everything is for a program about to end and refuses later runs, so
// it happens in a child process of its own.
TEST_F(ProcessRunnerTest, StopAllRunningEndsEveryToolGroupAndRefusesLaterRuns)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string tree = script("tree", "sleep 30 & echo $$ $! > \"$1.tmp\"; mv \"$1.tmp\" \"$1\"; wait");
    EXPECT_EXIT(
        {
            const std::string problems = stopThreeRunningToolTrees(tree, folder_);
            fs::remove_all(folder_);
            std::cerr << problems;
            std::_Exit(problems.empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
