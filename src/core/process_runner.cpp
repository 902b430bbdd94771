#include "core/process_runner.h"

#include "core/unicode_text.h"

#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace veltrin::ProcessRunner {
namespace {

using Clock = std::chrono::steady_clock;

// Without a process descriptor to wait on, a child that exits while something
// else still holds its pipes is noticed within this interval.
constexpr auto kExitCheckInterval = std::chrono::milliseconds(5);
constexpr std::size_t kReadChunkBytes = 64 * 1024;
constexpr double kLongestTimeoutSeconds = 1.0e7;

struct Pipe {
    int readEnd = -1;
    int writeEnd = -1;
};

void closeQuietly(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// Closes the reading end, then the writing end, of each pipe in order; an end that
// is already closed is not a fault.
void closePipes(Pipe* pipes, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        closeQuietly(pipes[i].readEnd);
        closeQuietly(pipes[i].writeEnd);
    }
}

// A close-on-exec descriptor numbered above the standard three, so that wiring it
// to standard output or error in the child can never be a no-op dup2.
bool liftAboveStandardStreams(int& fd)
{
    if (fd > STDERR_FILENO)
        return true;
    const int lifted = ::fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    ::close(fd);
    fd = lifted;
    return fd >= 0;
}

bool openPipe(Pipe& pipe)
{
    int fds[2];
#if defined(__linux__)
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return false;
#else
    if (::pipe(fds) != 0)
        return false;
    ::fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    ::fcntl(fds[1], F_SETFD, FD_CLOEXEC);
#endif
    pipe.readEnd = fds[0];
    pipe.writeEnd = fds[1];
    return liftAboveStandardStreams(pipe.readEnd) && liftAboveStandardStreams(pipe.writeEnd);
}

// A descriptor that becomes readable when the child exits, where the kernel offers one.
int openProcessDescriptor(pid_t pid)
{
#if defined(__linux__) && defined(SYS_pidfd_open)
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}

class ChildRun {
public:
    ChildRun(pid_t pid, Pipe& out, Pipe& err) : pid_(pid), processFd_(openProcessDescriptor(pid))
    {
        streams_[0] = out.readEnd;
        streams_[1] = err.readEnd;
        for (int fd : streams_)
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    ~ChildRun() { closeQuietly(processFd_); }
    ChildRun(const ChildRun&) = delete;
    ChildRun& operator=(const ChildRun&) = delete;

    // True once the child has ended. The child is left a zombie until reap(), so
    // its process group id cannot be reused while stragglers are being stopped.
    bool hasExited()
    {
        if (exited_)
            return true;
        siginfo_t info{};
        if (::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0) {
            exited_ = info.si_pid == pid_;
        } else if (errno == ECHILD) {
            exited_ = true; // reaped behind our back (SIGCHLD ignored): nothing left to wait for
        }
        return exited_;
    }

    // Reads output until `until`, returning early once the child has exited when
    // `stopAtExit` is set, or once every stream has reached end of file.
    void pump(Clock::time_point until, bool stopAtExit)
    {
        for (;;) {
            if (stopAtExit && hasExited())
                return;
            const auto now = Clock::now();
            if (now >= until)
                return;
            if (!stopAtExit && !streamsOpen())
                return;
            auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(until - now) +
                        std::chrono::milliseconds(1);
            if (stopAtExit && processFd_ < 0)
                wait = std::min<std::chrono::milliseconds>(wait, kExitCheckInterval);

            pollfd fds[3];
            nfds_t count = 0;
            for (int fd : streams_)
                if (fd >= 0)
                    fds[count++] = pollfd{fd, POLLIN, 0};
            if (stopAtExit && processFd_ >= 0)
                fds[count++] = pollfd{processFd_, POLLIN, 0};
            const int ready = ::poll(fds, count, static_cast<int>(std::min<long long>(wait.count(), 60'000)));
            if (ready > 0)
                readAvailable();
        }
    }

    // Takes whatever the streams hold right now without waiting for more.
    void readAvailable()
    {
        for (int& fd : streams_) {
            while (fd >= 0) {
                char chunk[kReadChunkBytes];
                const ssize_t got = ::read(fd, chunk, sizeof chunk);
                if (got > 0) {
                    append(chunk, static_cast<std::size_t>(got));
                    continue;
                }
                if (got < 0 && errno == EINTR)
                    continue;
                if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                    break;
                closeQuietly(fd); // end of file or a broken stream
            }
        }
    }

    bool streamsOpen() const { return streams_[0] >= 0 || streams_[1] >= 0; }

    void signalGroup(int signal) const
    {
        if (::kill(-pid_, signal) != 0)
            ::kill(pid_, signal);
    }

    // Collects the child and returns its status as the platform reports it.
    std::int32_t reap()
    {
        int raw = 0;
        pid_t got;
        do {
            got = ::waitpid(pid_, &raw, 0);
        } while (got < 0 && errno == EINTR);
        if (got != pid_)
            return 0;
        if (WIFEXITED(raw))
            return WEXITSTATUS(raw);
        if (WIFSIGNALED(raw))
            return WTERMSIG(raw);
        return raw;
    }

    std::string takeOutput()
    {
        for (int& fd : streams_)
            closeQuietly(fd);
        if (!isValidUtf8(buffer_))
            return {};
        return std::move(buffer_);
    }

private:
    void append(const char* bytes, std::size_t count)
    {
        if (buffer_.size() >= kOutputCapBytes)
            return;
        buffer_.append(bytes, std::min(count, kOutputCapBytes - buffer_.size()));
    }

    pid_t pid_;
    int processFd_;
    int streams_[2]{-1, -1};
    bool exited_ = false;
    std::string buffer_;
};

Clock::time_point deadlineAfter(Clock::time_point start, double seconds)
{
    if (!(seconds > 0))
        return start;
    seconds = std::min(seconds, kLongestTimeoutSeconds);
    return start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

Clock::time_point pauseAfter(double seconds)
{
    return Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

pid_t spawnChild(const std::string& executable, const std::vector<std::string>& arguments, Pipe& out,
                 Pipe& err)
{
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 2);
    argv.push_back(const_cast<char*>(executable.c_str()));
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_adddup2(&actions, out.writeEnd, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err.writeEnd, STDERR_FILENO);

    // Own process group, so the stop signals reach helpers the tool starts; clean
    // signal state, whatever the calling thread had blocked or ignored.
    sigset_t noSignals;
    sigemptyset(&noSignals);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal : {SIGPIPE, SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGCHLD})
        sigaddset(&defaults, signal);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setsigmask(&attributes, &noSignals);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = -1;
    const int failed = ::posix_spawn(&pid, executable.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    return failed == 0 ? pid : -1;
}

} // namespace

ProcessResult runResult(const std::string& executable, const std::vector<std::string>& arguments,
                        double timeout)
{
    Pipe pipes[2];
    Pipe& out = pipes[0];
    Pipe& err = pipes[1];
    if (!openPipe(out) || !openPipe(err)) {
        closePipes(pipes, 2);
        return {"", kLaunchFailedStatus};
    }

    const pid_t pid = spawnChild(executable, arguments, out, err);
    if (pid < 0) {
        closePipes(pipes, 2);
        return {"", kLaunchFailedStatus};
    }
    const auto deadline = deadlineAfter(Clock::now(), timeout);
    // Only the child may hold the writing ends, or end of file would never come.
    closeQuietly(out.writeEnd);
    closeQuietly(err.writeEnd);

    ChildRun child(pid, out, err);
    out.readEnd = -1; // owned by `child` from here on
    err.readEnd = -1;

    child.pump(deadline, /*stopAtExit=*/true);

    if (child.hasExited()) {
        // Output still in flight is read to end of file, but never past the
        // deadline: a helper that inherited the pipes cannot hold the refresh.
        child.pump(deadline, /*stopAtExit=*/false);
        child.readAvailable();
        if (child.streamsOpen())
            child.signalGroup(SIGKILL);
        const std::int32_t status = child.reap();
        return {child.takeOutput(), status};
    }

    child.signalGroup(SIGTERM);
    child.pump(pauseAfter(kTerminatePauseSeconds), /*stopAtExit=*/true);
    if (!child.hasExited())
        child.signalGroup(SIGINT);
    child.pump(pauseAfter(kInterruptPauseSeconds), /*stopAtExit=*/true);
    if (!child.hasExited())
        child.signalGroup(SIGKILL);
    while (!child.hasExited())
        child.pump(pauseAfter(1.0), /*stopAtExit=*/true);
    // The zombie leader still pins the group id: sweep helpers that outlived it.
    child.signalGroup(SIGKILL);
    child.readAvailable();
    child.reap();
    return {child.takeOutput(), kTimedOutStatus};
}

} // namespace veltrin::ProcessRunner
