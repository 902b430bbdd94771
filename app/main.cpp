#include "command_line.h"

#include "bench/benchmark.h"
#include "bench/result_text.h"
#include "core/json.h"
#include "platform/machine.h"
#include "platform/replay_machine.h"
#include "probe/capture.h"
#include "probe/system_probe.h"
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

// One refresh through the store, exactly as the window's first refresh runs.
int printSummary(int argc, char** argv, std::shared_ptr<const Machine> machine)
{
    QCoreApplication application(argc, argv);
    SystemInfoStore store([machine] { return SystemProbe::collect(*machine); }, [] { return Benchmark::run(); });
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
    const BenchRun run = Benchmark::runWithDetails(progress);
    if (showProgress)
        std::cerr << "\r\x1b[K" << std::flush;
    std::cout << (json ? benchRunJson(run) + '\n' : benchResultLines(run.result));
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
        // The benchmark always measures the processor it runs on, whatever machine is inspected.
        return runBenchmark(line->json);
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
        return runDesktopApplication(argc, argv, [machine] { return SystemProbe::collect(*machine); },
                                     [] { return Benchmark::run(); }, screenshots);
    }
#else
    case Mode::window:
        return printSummary(argc, argv, machine);
#endif
    default:
        return fail("this mode is not available in this build");
    }
}
