#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace veltrin {

// What one tool run gave: standard output and standard error gathered into one
// text in arrival order (empty when the bytes are not valid UTF-8), and the exit
// status, or -1 when the tool could not be started, or -9 when it was stopped at
// its time limit.
struct ProcessResult {
    std::string output;
    std::int32_t status = 0;
};

namespace ProcessRunner {

inline constexpr std::int32_t kLaunchFailedStatus = -1;
inline constexpr std::int32_t kTimedOutStatus = -9;
inline constexpr double kTerminatePauseSeconds = 0.08;
inline constexpr double kInterruptPauseSeconds = 0.05;
// A hostile or broken tool cannot make a refresh hold more than this; later bytes
// are read and thrown away so the tool never blocks on a full pipe. The largest
// real output seen is under 40 KB, a large server's dmidecode under 1 MiB.
inline constexpr std::size_t kOutputCapBytes = 4u * 1024u * 1024u;
// More than any report but a large dmidecode prints; past it the buffer takes the whole cap.
inline constexpr std::size_t kOrdinaryOutputBytes = 256u * 1024u;

// Runs `executable` (an absolute path, no search path, no shell) with `arguments`
// and a time limit in seconds. Never throws. The tool runs in its own process
// group; at the limit the group gets SIGTERM, then SIGINT, then SIGKILL, and no
// process of the group outlives the call.
// Every tool's standard input is /dev/null, and it inherits no descriptor but the
// three standard ones. Once the tool itself has exited, helpers still holding its
// output get a short grace before its group is stopped; the tool's status stands.
ProcessResult runResult(const std::string& executable, const std::vector<std::string>& arguments,
                        double timeout);

// For a program about to end: stops the process group of every tool running now
// (SIGTERM, a short pause, SIGKILL) and refuses every later run (status -1), so no
// tool outlives the program. It takes a lock, so call it from an ordinary thread,
// such as one waiting in sigwait, never from inside a signal handler.
void stopAllRunning();

} // namespace ProcessRunner
} // namespace veltrin
