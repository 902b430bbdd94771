#include "core/process_runner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

using namespace veltrin;
namespace fs = std::filesystem;

namespace {

std::set<std::string> openDescriptors()
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator("/proc/self/fd"))
        names.insert(entry.path().filename().string());
    return names;
}

bool processIsGone(pid_t pid)
{
    for (int attempt = 0; attempt < 200; ++attempt) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string content;
        if (!std::getline(stat, content))
            return true;
        const auto close = content.rfind(')');
        if (close != std::string::npos && content.size() > close + 2 && content[close + 2] == 'Z')
            return true; // only an orphan's zombie, waiting for its new parent
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

struct Scenario {
    std::string body;
    double timeout;
    std::int32_t expectedStatus;
};

} // namespace

// Hundreds of runs, five at a time, of every way a tool can end: afterwards the
// test process holds exactly the descriptors it held before, has no child left
// to reap, and no process started by any run is still alive.
TEST(ProcessRunnerStress, LeavesNothingBehind)
{
    const fs::path folder = fs::temp_directory_path() / ("veltrin-stress-" + std::to_string(::getpid()));
    fs::create_directories(folder);
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
    for (std::size_t i = 0; i < scenarios.size(); ++i) {
        const fs::path path = folder / ("tool" + std::to_string(i));
        std::ofstream(path) << "#!/bin/sh\n" << scenarios[i].body << "\n";
        ::chmod(path.c_str(), 0755);
        tools.push_back(path.string());
    }

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
    fs::remove_all(folder);
}
