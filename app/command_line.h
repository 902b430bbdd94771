#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin {

enum class Mode { window, json, summary, bench, benchHistory, capture, screenshots, report, diff, help, version };

// How --report writes: as its file's name says (Markdown unless it ends in .html), or as --format says.
enum class ReportFormatChoice { byFileName, markdown, html };

struct CommandLine {
    Mode mode = Mode::window;
    bool json = false;
    std::optional<std::string> replayDirectory;
    std::string outputDirectory; // for capture and screenshots
    bool replaceCapture = false; // --capture may replace a finished capture
    std::optional<std::string> reportFile; // --report FILE; standard output without one
    ReportFormatChoice reportFormat = ReportFormatChoice::byFileName;
    bool unmasked = false;                 // --report and --diff show identifiers whole
    std::vector<std::string> diffSources;  // --diff A B: two capture folders or --json files
};

// Parses the arguments after the program name. Absent, with `error` set to a
// one-line message, when an option is unknown, lacks its directory, file or value,
// comes twice, or does not go with the others. Finder's "-psn_…" argument is ignored.
std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& arguments, std::string& error);

// `text` with every control character (C0, DEL and C1) written as \xHH, so a
// message quoting an argument cannot drive the terminal it is printed on.
std::string escapedControlCharacters(std::string_view text);

extern const char* const kUsage;

} // namespace veltrin
