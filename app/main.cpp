#include "command_line.h"

#include "bench/benchmark.h"
#include "bench/result_text.h"
#include "core/json.h"
#include "core/process_runner.h"
#include "platform/machine.h"
#include "platform/replay_machine.h"
#include "platform/capture.h"
#include "probe/system_probe.h"
#include "state/bench_history.h"
#include "state/event_loop.h"
#include "state/report.h"
#include "state/snapshot_diff.h"
#include "state/snapshot_file.h"
#include "state/system_info_store.h"
#if VELTRIN_HAS_UI
#include "ui/desktop_application.h"
#endif

#include <QCoreApplication>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <system_error>
#include <thread>

#include <pthread.h>
#include <unistd.h>

using namespace veltrin;

namespace {

constexpr int kUsageError = 2;

int fail(const std::string& message)
{
    std::cerr << "veltrin: " << escapedControlCharacters(message) << '\n';
    return kUsageError;
}

// SIGINT, SIGTERM and SIGHUP stop every running tool's process group, then end
// the program with the status a shell expects (128 + the signal number). The
// signals are blocked before any other thread exists, so every thread inherits the
// mask and only the watcher, waiting in sigwait, receives them: nothing runs
// inside a signal handler.
// The ending signal the watcher has received; 0 while none has come.
std::atomic<int>& endingSignal()
{
    static std::atomic<int> signal{0};
    return signal;
}

void stopToolsOnEndingSignals()
{
    sigset_t ending;
    sigemptyset(&ending);
    bool any = false;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        // Started with a signal ignored (nohup, a script's background job): it stays ignored.
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN)
            continue;
        sigaddset(&ending, signal);
        any = true;
    }
    if (!any || ::pthread_sigmask(SIG_BLOCK, &ending, nullptr) != 0)
        return;
    try {
        std::thread([ending] {
            int signal = 0;
            while (::sigwait(&ending, &signal) != 0) {
            }
            endingSignal() = signal;
            ProcessRunner::stopAllRunning();
            std::_Exit(128 + signal);
        }).detach();
    } catch (const std::system_error&) {
        ::pthread_sigmask(SIG_UNBLOCK, &ending, nullptr); // no watcher: the signals end the program as before
    }
}

// The screenshots folder is made before any window, so that its errors read and
// exit like those of a capture folder.
bool prepareOutputFolder(const std::string& directory, std::string& error)
{
    std::error_code code;
    std::filesystem::create_directories(directory, code);
    if (!std::filesystem::is_directory(directory, code)) {
        error = "cannot create " + directory;
        return false;
    }
    if (::access(directory.c_str(), W_OK | X_OK) != 0) {
        error = "cannot write into " + directory;
        return false;
    }
    return true;
}

// The benchmark always measures the processor it runs on, whatever machine is
// inspected, and every run that scored goes into the history.
SystemInfoStore::BenchmarkRunner benchmarkRecordingTo(const BenchHistoryFile& history)
{
    return [history](const Benchmark::Progress& progress) {
        const BenchRun run = Benchmark::runWithDetails(progress);
        return BenchmarkOutcome{run, recordBenchRun(history, run, VELTRIN_VERSION, *makeLiveMachine())};
    };
}

void reportHistoryProblem(const BenchHistoryRead& history)
{
    if (!history.problem.empty())
        std::cerr << "veltrin: " << history.problem << '\n';
}

// One refresh through the store, exactly as the window's first refresh runs.
int printSummary(int argc, char** argv, std::shared_ptr<const Machine> machine)
{
    QCoreApplication application(argc, argv);
    SystemInfoStore store([machine] { return SystemProbe::collect(*machine); },
                          benchmarkRecordingTo(BenchHistoryFile(BenchHistoryFile::defaultPath())));
    waitInEventLoop(store.refreshAll());
    std::cout << store.summaryText() << '\n';
    return 0;
}

// Progress goes to standard error only when a person is watching it; piped or
// redirected output stays exactly the result.
int runBenchmark(bool json)
{
    Benchmark::Progress progress;
    const bool showProgress = isatty(fileno(stderr)) == 1;
    if (showProgress) {
        progress = [](Benchmark::Phase phase, int round, int) {
            std::cerr << '\r' << benchProgressText(phase, round) << "\x1b[K" << std::flush;
        };
    }
    const BenchmarkOutcome outcome = benchmarkRecordingTo(BenchHistoryFile(BenchHistoryFile::defaultPath()))(progress);
    if (showProgress)
        std::cerr << "\r\x1b[K" << std::flush;
    reportHistoryProblem(outcome.history);
    std::cout << (json ? benchRunJson(outcome.run) + '\n' : benchResultLines(outcome.run.result));
    return 0;
}

int printBenchHistory(bool json)
{
    const BenchHistoryRead history = BenchHistoryFile(BenchHistoryFile::defaultPath()).read();
    reportHistoryProblem(history);
    std::cout << (json ? benchHistoryJson(history.runs) + '\n' : benchHistoryTable(history.runs));
    return 0;
}

// The history a report or the screenshots show, only ever read: a capture's own copy
// when replaying one, else the user's.
BenchHistoryFile historyToShow(const std::optional<std::string>& replayDirectory)
{
    return replayDirectory ? BenchHistoryFile(*replayDirectory + "/bench-history.json", false)
                           : BenchHistoryFile(BenchHistoryFile::defaultPath(), false);
}

ReportFormat reportFormat(const CommandLine& line)
{
    switch (line.reportFormat) {
    case ReportFormatChoice::html: return ReportFormat::html;
    case ReportFormatChoice::markdown: return ReportFormat::markdown;
    case ReportFormatChoice::byFileName: break;
    }
    return line.reportFile ? reportFormatFor(*line.reportFile) : ReportFormat::markdown;
}

int writeReport(const CommandLine& line, const Machine& machine)
{
    const BenchHistoryRead history = historyToShow(line.replayDirectory).read();
    reportHistoryProblem(history);
    const ReportContext context{VELTRIN_VERSION, reportDateNow(), reportSource(line.replayDirectory),
                                latestRun(history.runs), !line.unmasked};
    const std::string text = reportText(SystemProbe::collect(machine), context, reportFormat(line));
    std::string error;
    if (!line.reportFile)
        std::cout << text;
    else if (!writeReportFile(*line.reportFile, text, error))
        return fail(error);
    return 0;
}

// Exit status as diff(1)'s: 0 when nothing differs, 1 when something does, 2 when a
// side cannot be read.
int printDifferences(const CommandLine& line)
{
    const auto warn = [](const std::string& warning) {
        std::cerr << "veltrin: " + escapedControlCharacters(warning) + "\n";
    };
    std::vector<SystemSnapshot> sides;
    for (const std::string& source : line.diffSources) {
        SnapshotRead read = readSnapshot(source, warn);
        if (!read.snapshot)
            return fail(read.problem);
        sides.push_back(std::move(*read.snapshot));
    }
    const std::vector<SnapshotDifference> differences = snapshotDifferences(sides[0], sides[1], !line.unmasked);
    std::cout << (line.json ? differencesJson(differences) + '\n' : differenceLines(differences));
    return differences.empty() ? 0 : 1;
}

// The work of one run of the program; main adds how a stop signal ends it.
int runVeltrin(int argc, char** argv)
{
    std::string error;
    const auto line = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!line)
        return fail(error);

    switch (line->mode) {
    case Mode::help:
        std::cout << kUsage;
        return 0;
    case Mode::version:
        std::cout << "Veltrin " << VELTRIN_VERSION << '\n';
        return 0;
    case Mode::bench:
        return runBenchmark(line->json);
    case Mode::benchHistory:
        return printBenchHistory(line->json);
    case Mode::diff:
        return printDifferences(*line);
    default:
        break;
    }
#if VELTRIN_HAS_UI
    const bool window = line->mode == Mode::window && desktopAvailable();
#else
    const bool window = false;
#endif
    // A window quits through its menus; the other modes end on these signals.
    if (!window)
        stopToolsOnEndingSignals();

    std::shared_ptr<const Machine> machine;
    if (line->replayDirectory) {
        machine = ReplayMachine::open(*line->replayDirectory, error, [](const std::string& warning) {
            std::cerr << "veltrin: " + escapedControlCharacters(warning) + "\n";
        });
        if (!machine)
            return fail(error);
    } else {
        machine = makeLiveMachine();
    }

    switch (line->mode) {
    case Mode::capture:
        // Refused before any tool runs, and checked again when the capture is put in place.
        if (!captureTargetUsable(line->outputDirectory, line->replaceCapture, error) ||
            !writeCapture(readMachine(*machine), line->outputDirectory, line->replaceCapture, error))
            return fail(error);
        return 0;
    case Mode::summary:
        return printSummary(argc, argv, machine);
    case Mode::json:
        std::cout << toJson(SystemProbe::collect(*machine)) << '\n';
        return 0;
    case Mode::report:
        return writeReport(*line, *machine);
#if VELTRIN_HAS_UI
    case Mode::window:
    case Mode::screenshots: {
        if (line->mode == Mode::window && !window)
            return printSummary(argc, argv, machine);
        std::optional<std::string> screenshots;
        if (line->mode == Mode::screenshots) {
            if (!prepareOutputFolder(line->outputDirectory, error))
                return fail(error);
            screenshots = line->outputDirectory;
        }
        // Screenshots only read a history: a capture's own copy when replaying one.
        const BenchHistoryFile history =
            screenshots ? historyToShow(line->replayDirectory) : BenchHistoryFile(BenchHistoryFile::defaultPath());
        const int status = runDesktopApplication(argc, argv, [machine] { return SystemProbe::collect(*machine); },
                                                 benchmarkRecordingTo(history), [history] { return history.read(); },
                                                 screenshots, reportSource(line->replayDirectory));
        // A refresh may still be running tools on its detached thread.
        ProcessRunner::stopAllRunning();
        return status;
    }
#else
    case Mode::window:
        return printSummary(argc, argv, machine);
#endif
    default:
        return fail("this mode is not available in this build");
    }
}

} // namespace

int main(int argc, char** argv)
{
    const int status = runVeltrin(argc, argv);
    // Stopping the tools can let the work finish before the watcher ends the
    // program; a stop that came still decides how it ends (128 + the signal).
    while (endingSignal() != 0)
        std::this_thread::sleep_for(std::chrono::seconds(1));
    return status;
}
