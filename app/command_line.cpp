#include "command_line.h"

#include <array>
#include <cstdio>
#include <utility>

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
    "  --capture DIR      run every tool once and save what it printed into DIR (new or empty)\n"
    "  --screenshots DIR  render every tab off screen into DIR/<tab>.png\n"
    "  --report [FILE]    collect once and write a report to post, serial numbers and UUIDs masked:\n"
    "                     Markdown, or HTML when FILE ends in .html (standard output without FILE)\n"
    "  --diff A B         print the fields that differ between two capture folders or --json files\n"
    "                     (add --json for JSON); exit status 0 when none differ, 1 when some do\n"
    "  --help             show this text\n"
    "  --version          show the version\n"
    "\n"
    "Options:\n"
    "  --replay DIR       read the machine from a capture directory instead of this computer\n"
    "  --replace          let --capture replace the finished capture already in DIR\n"
    "  --format FORMAT    write the --report as html or markdown, whatever its FILE is called\n"
    "  --unmasked         let --report and --diff show serial numbers and UUIDs whole\n";

namespace {

constexpr std::array<std::pair<std::string_view, Mode>, 6> kPlainModes{{
    {"--help", Mode::help},
    {"-h", Mode::help},
    {"--version", Mode::version},
    {"--summary", Mode::summary},
    {"--bench", Mode::bench},
    {"--bench-history", Mode::benchHistory},
}};

constexpr std::array<std::pair<std::string_view, Mode>, 2> kFolderModes{{
    {"--capture", Mode::capture},
    {"--screenshots", Mode::screenshots},
}};

template <std::size_t N>
const Mode* modeNamed(const std::array<std::pair<std::string_view, Mode>, N>& table, std::string_view argument)
{
    for (const auto& [name, mode] : table)
        if (name == argument)
            return &mode;
    return nullptr;
}

// A report's file or a compared source: any argument that is not an option.
bool isOperand(const std::vector<std::string>& arguments, std::size_t index)
{
    return index < arguments.size() && !arguments[index].empty() && arguments[index].front() != '-';
}

// Finder adds a process serial number ("-psn_0_1234") to a first launch of an
// app bundle. It carries nothing Veltrin needs.
bool isProcessSerialNumber(std::string_view argument) { return argument.starts_with("-psn_"); }

} // namespace

std::string escapedControlCharacters(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size());
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    for (std::size_t i = 0; i < text.size(); ++i) {
        // C1 controls arrive in UTF-8 as C2 80 … C2 9F; terminals act on them too.
        const std::size_t length =
            byteAt(i) < 0x20 || byteAt(i) == 0x7F                                                   ? 1
            : byteAt(i) == 0xC2 && i + 1 < text.size() && byteAt(i + 1) >= 0x80 && byteAt(i + 1) <= 0x9F ? 2
                                                                                                      : 0;
        if (length == 0) {
            escaped += text[i];
            continue;
        }
        for (std::size_t k = 0; k < length; ++k) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", byteAt(i + k));
            escaped += hex;
        }
        i += length - 1;
    }
    return escaped;
}

std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& arguments, std::string& error)
{
    CommandLine line;
    bool modeGiven = false;
    bool formatGiven = false;
    const auto refuse = [&](std::string message) {
        error = std::move(message);
        return std::nullopt;
    };

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const Mode* plain = modeNamed(kPlainModes, argument);
        const Mode* folderMode = modeNamed(kFolderModes, argument);

        if (isProcessSerialNumber(argument))
            continue;
        if (argument == "--json") {
            line.json = true;
            continue;
        }
        if (argument == "--replace") {
            line.replaceCapture = true;
            continue;
        }
        if (argument == "--unmasked") {
            line.unmasked = true;
            continue;
        }
        if (argument == "--format") {
            if (formatGiven)
                return refuse("--format may be given only once");
            const std::string value = i + 1 < arguments.size() ? arguments[++i] : std::string();
            if (value != "html" && value != "markdown")
                return refuse("--format takes html or markdown");
            line.reportFormat = value == "html" ? ReportFormatChoice::html : ReportFormatChoice::markdown;
            formatGiven = true;
            continue;
        }
        if (argument == "--report" || argument == "--diff") {
            const Mode mode = argument == "--report" ? Mode::report : Mode::diff;
            if (modeGiven)
                return refuse(line.mode == mode ? argument + " may be given only once" : "only one mode may be given");
            line.mode = mode;
            modeGiven = true;
            if (mode == Mode::report && isOperand(arguments, i + 1))
                line.reportFile = arguments[++i];
            if (mode == Mode::diff) {
                if (!isOperand(arguments, i + 1) || !isOperand(arguments, i + 2))
                    return refuse("--diff needs two capture folders or JSON files");
                line.diffSources = {arguments[i + 1], arguments[i + 2]};
                i += 2;
            }
            continue;
        }
        if (!plain && !folderMode && argument != "--replay")
            return refuse("unknown option " + argument);

        // Every option left takes a directory or sets the mode; none may come twice
        // with different meanings, and a repeated directory is a mistake, not a choice.
        if (argument == "--replay" && line.replayDirectory)
            return refuse("--replay may be given only once");
        const Mode* mode = plain ? plain : folderMode;
        if (mode && modeGiven && (line.mode != *mode || folderMode))
            return refuse(line.mode == *mode ? argument + " may be given only once" : "only one mode may be given");
        if (mode) {
            line.mode = *mode;
            modeGiven = true;
        }
        if (plain)
            continue;

        if (i + 1 >= arguments.size() || arguments[i + 1].empty())
            return refuse(argument + " needs a directory");
        const std::string& folder = arguments[++i];
        if (argument == "--replay")
            line.replayDirectory = folder;
        else
            line.outputDirectory = folder;
    }
    if (line.replaceCapture && line.mode != Mode::capture)
        return refuse("--replace only goes with --capture");
    if (formatGiven && line.mode != Mode::report)
        return refuse("--format only goes with --report");
    if (line.unmasked && line.mode != Mode::report && line.mode != Mode::diff)
        return refuse("--unmasked goes with --report or --diff");
    // Each side of a comparison names its own capture.
    if (line.replayDirectory && line.mode == Mode::diff)
        return refuse("--replay does not go with --diff, which reads both sides itself");
    // --json alone is the JSON snapshot; with --bench, --bench-history or --diff it selects their JSON
    // form. Every other mode prints something else, so a --json beside it would be ignored silently.
    if (line.json && modeGiven && line.mode != Mode::bench && line.mode != Mode::benchHistory && line.mode != Mode::diff)
        return refuse("--json goes with --bench, --bench-history, --diff or alone");
    if (line.json && !modeGiven)
        line.mode = Mode::json;
    return line;
}

} // namespace veltrin
