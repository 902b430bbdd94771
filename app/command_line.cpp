#include "command_line.h"

namespace veltrin {

const char* const kUsage =
    "Usage: veltrin [--replay DIR] [MODE]\n"
    "\n"
    "With no mode, Veltrin opens its window (or prints the summary when there is no display).\n"
    "\n"
    "Modes:\n"
    "  --json             collect once and print the hardware snapshot as JSON\n"
    "  --summary          collect once and print the plain-text hardware summary\n"
    "  --bench            run the CPU benchmark and print its result (add --json for JSON)\n"
    "  --bench-history    print the recorded benchmark runs (add --json for JSON)\n"
    "  --capture DIR      run every tool once and save what it printed into DIR\n"
    "  --screenshots DIR  render every tab off screen into DIR/<tab>.png\n"
    "  --help             show this text\n"
    "  --version          show the version\n"
    "\n"
    "Options:\n"
    "  --replay DIR       read the machine from a capture directory instead of this computer\n";

std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& arguments, std::string& error)
{
    CommandLine line;
    bool modeGiven = false;
    const auto setMode = [&](Mode mode) {
        if (modeGiven && line.mode != mode) {
            error = "only one mode may be given";
            return false;
        }
        line.mode = mode;
        modeGiven = true;
        return true;
    };

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const auto directory = [&]() -> std::optional<std::string> {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
                error = argument + " needs a directory";
                return std::nullopt;
            }
            return arguments[++i];
        };

        if (argument == "--help" || argument == "-h") {
            if (!setMode(Mode::help))
                return std::nullopt;
        } else if (argument == "--version") {
            if (!setMode(Mode::version))
                return std::nullopt;
        } else if (argument == "--json") {
            line.json = true;
        } else if (argument == "--summary") {
            if (!setMode(Mode::summary))
                return std::nullopt;
        } else if (argument == "--bench") {
            if (!setMode(Mode::bench))
                return std::nullopt;
        } else if (argument == "--bench-history") {
            if (!setMode(Mode::benchHistory))
                return std::nullopt;
        } else if (argument == "--replay") {
            line.replayDirectory = directory();
            if (!line.replayDirectory)
                return std::nullopt;
        } else if (argument == "--capture" || argument == "--screenshots") {
            if (!setMode(argument == "--capture" ? Mode::capture : Mode::screenshots))
                return std::nullopt;
            const auto folder = directory();
            if (!folder)
                return std::nullopt;
            line.outputDirectory = *folder;
        } else {
            error = "unknown option " + argument;
            return std::nullopt;
        }
    }
    // --json alone is the JSON snapshot; with --bench or --bench-history it selects their JSON form.
    if (line.json && !modeGiven)
        line.mode = Mode::json;
    return line;
}

} // namespace veltrin
