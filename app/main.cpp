#include "command_line.h"

#include "bench/benchmark.h"
#include "bench/result_text.h"
#include "core/json.h"
#include "platform/machine.h"
#include "platform/replay_machine.h"
#include "probe/capture.h"
#include "probe/system_probe.h"
#include "state/bench_history.h"
#include "state/event_loop.h"
#include "state/system_info_store.h"
#if VELTRIN_HAS_UI
#include "ui/desktop_application.h"
#endif

#include <QCoreApplication>

#include <cstdio>
#include <iostream>
#include <memory>

#include <unistd.h>

using namespace veltrin;

namespace {

constexpr int kUsageError = 2;

int fail(const std::string& message)
{
    std::cerr << "veltrin: " << message << '\n';
    return kUsageError;
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

} // namespace

int main(int argc, char** argv)
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
    default:
        break;
    }

    std::shared_ptr<const Machine> machine;
    if (line->replayDirectory) {
        machine = ReplayMachine::open(*line->replayDirectory, error);
        if (!machine)
            return fail(error);
    } else {
        machine = makeLiveMachine();
    }

    switch (line->mode) {
    case Mode::capture:
        if (!SystemProbe::writeCapture(*machine, line->outputDirectory, error))
            return fail(error);
        return 0;
    case Mode::summary:
        return printSummary(argc, argv, machine);
    case Mode::json:
        std::cout << toJson(SystemProbe::collect(*machine)) << '\n';
        return 0;
#if VELTRIN_HAS_UI
    case Mode::window:
    case Mode::screenshots: {
        if (line->mode == Mode::window && !desktopAvailable())
            return printSummary(argc, argv, machine);
        std::optional<std::string> screenshots;
        if (line->mode == Mode::screenshots)
            screenshots = line->outputDirectory;
        // Screenshots only read a history: a capture's own copy when replaying one.
        const BenchHistoryFile history =
            !screenshots ? BenchHistoryFile(BenchHistoryFile::defaultPath())
            : line->replayDirectory ? BenchHistoryFile(*line->replayDirectory + "/bench-history.json", false)
                                    : BenchHistoryFile(BenchHistoryFile::defaultPath(), false);
        return runDesktopApplication(argc, argv, [machine] { return SystemProbe::collect(*machine); },
                                     benchmarkRecordingTo(history), [history] { return history.read(); },
                                     screenshots);
    }
#else
    case Mode::window:
        return printSummary(argc, argv, machine);
#endif
    default:
        return fail("this mode is not available in this build");
    }
}
