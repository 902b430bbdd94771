#pragma once

#include <optional>
#include <string>
#include <vector>

namespace veltrin {

enum class Mode { window, json, summary, bench, benchHistory, capture, screenshots, help, version };

struct CommandLine {
    Mode mode = Mode::window;
    bool json = false;
    std::optional<std::string> replayDirectory;
    std::string outputDirectory; // for capture and screenshots
};

// Parses the arguments after the program name. Absent, with `error` set to a
// one-line message, when an option is unknown or lacks its directory.
std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& arguments, std::string& error);

extern const char* const kUsage;

} // namespace veltrin
