#include "core/process_runner.h"

#include "core/unicode_text.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <mutex>
#include <poll.h>
#include <set>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#if defined(__linux__)
#include <sys/syscall.h>
#elif defined(__APPLE__)
#include <sys/event.h>
#endif

extern char** environ;

namespace veltrin::ProcessRunner {
namespace {

using Clock = std::chrono::steady_clock;

// Without a process descriptor to wait on, a child that exits while something
// else still holds its pipes is noticed within this interval.
constexpr auto kExitCheckInterval = std::chrono::milliseconds(5);
constexpr std::size_t kReadChunkBytes = 64 * 1024;
constexpr double kLongestTimeoutSeconds = 1.0e7;
// Once the tool has exited, what it wrote is already in the pipes and is read
// without waiting; only a helper it left behind can still be writing. A fifth of a
// second covers a helper that is finishing (a few scheduling rounds on a busy
// machine) while keeping a refresh whose every tool leaves one (about fifteen
// runs) to about three seconds instead of the sum of their limits.
constexpr double kGraceAfterExitSeconds = 0.2;

// The process groups of the tools running now, so that a program that is ending
// can stop them. Process-wide by nature: the signal that ends the program does
// not know which threads are running tools.
class RunningGroups {
public:
    // Starts a tool with `spawn` and records its group, both under the lock, so a
    // stop cannot fall between the two. Once stopped, starts nothing and gives -1.
    pid_t start(const std::function<pid_t()>& spawn)
    {
        const std::lock_guard lock(mutex_);
        if (stopped_)
            return -1;
        const pid_t group = spawn();
        if (group > 0)
            groups_.insert(group);
        return group;
    }

    // Called before the group's leader is reaped: until then the leader's zombie
    // keeps the group id from being given to anyone else.
    void forget(pid_t group)
    {
        const std::lock_guard lock(mutex_);
        groups_.erase(group);
    }

    void stopAll()
    {
        const std::lock_guard lock(mutex_);
        stopped_ = true;
        if (groups_.empty())
            return;
        for (const pid_t group : groups_)
            ::kill(-group, SIGTERM);
        std::this_thread::sleep_for(std::chrono::duration<double>(kTerminatePauseSeconds));
        for (const pid_t group : groups_)
            ::kill(-group, SIGKILL);
    }

private:
    std::mutex mutex_;
    std::set<pid_t> groups_;
    bool stopped_ = false;
};

// Never destroyed: a tool may still be finishing on a detached thread while the
// program's static objects are torn down.
RunningGroups& runningGroups()
{
    static RunningGroups& groups = *new RunningGroups;
    return groups;
}

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

// Close-on-exec from the start where the platform can (Linux). Elsewhere a tool
// started on another thread between pipe() and fcntl() could inherit the pipe,
// which is why the spawn itself also closes every descriptor it was not given.
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

// A descriptor that becomes readable when the child exits: a process descriptor on
// Linux, a kqueue watching for the exit on macOS. Without one (an old kernel, or a
// child already gone) the wait looks every few milliseconds instead.
int openExitWatch(pid_t pid)
{
#if defined(__linux__) && defined(SYS_pidfd_open)
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#elif defined(__APPLE__)
    const int queue = ::kqueue();
    if (queue < 0)
        return -1;
    struct kevent change;
    EV_SET(&change, pid, EVFILT_PROC, EV_ADD, NOTE_EXIT, 0, nullptr);
    if (::kevent(queue, &change, 1, nullptr, 0, nullptr) != 0) {
        ::close(queue);
        return -1;
    }
    return queue;
#else
    (void)pid;
    return -1;
#endif
}

// Some kernels (macOS) also report a stopped or continued child to a wait for
// exits; only these codes mean the process is gone.
bool endsTheProcess(int code) { return code == CLD_EXITED || code == CLD_KILLED || code == CLD_DUMPED; }

class ChildRun {
public:
    ChildRun(pid_t pid, Pipe& out, Pipe& err) : pid_(pid), processFd_(openExitWatch(pid))
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
            exited_ = info.si_pid == pid_ && endsTheProcess(info.si_code);
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
        runningGroups().forget(pid_);
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
        const std::size_t kept = std::min(count, kOutputCapBytes - buffer_.size());
        // An output that outgrows any ordinary report gets the whole cap at once.
        // Doubling would hold the old and the new copy at every step and end near
        // twice the cap, and a refresh runs every tool at the same time.
        if (buffer_.size() + kept > buffer_.capacity() && buffer_.size() + kept > kOrdinaryOutputBytes)
            buffer_.reserve(kOutputCapBytes);
        buffer_.append(bytes, kept);
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
    // A tool that reads its input gets end of file at once instead of waiting on ours.
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out.writeEnd, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err.writeEnd, STDERR_FILENO);
    // Nothing else reaches the tool, whichever descriptors this process (or another
    // run on another thread) has open without close-on-exec.
    short flags = POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
#if defined(__APPLE__)
    flags |= POSIX_SPAWN_CLOEXEC_DEFAULT;
#elif defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
#endif

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
    posix_spawnattr_setflags(&attributes, flags);

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

    const pid_t pid = runningGroups().start([&] { return spawnChild(executable, arguments, out, err); });
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
        // Output still in flight is read to end of file, but a helper that
        // inherited the pipes gets only a short grace, never past the deadline.
        child.pump(std::min(deadline, pauseAfter(kGraceAfterExitSeconds)), /*stopAtExit=*/false);
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

void stopAllRunning() { runningGroups().stopAll(); }

} // namespace veltrin::ProcessRunner
