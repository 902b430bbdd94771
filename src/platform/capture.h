#pragma once

// The capture format, written here and read back by ReplayMachine: one file per
// command holding what the tool printed (named in the command table), beside it
// an optional <file>.status with its exit status when that was not 0, and
// sysctl.txt with one "name: value" line per kernel value. A tool that could not
// be started leaves no file. platform.txt names the machine's platform (a capture
// without it is a Mac's), and every system file the refresh read is kept as it
// was read under files/<its absolute path> (the PCI ID database only as the lines
// naming the machine's own adapters).

#include "platform/readings.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin {

inline constexpr std::string_view kKernelValuesFile = "sysctl.txt";
inline constexpr std::string_view kExitStatusSuffix = ".status";
inline constexpr std::string_view kPlatformFile = "platform.txt";
inline constexpr std::string_view kFilesFolder = "files";

// Where a capture in `directory` keeps the system file at `path`; absent unless
// `path` is absolute and names no "." or ".." component, so nothing lands outside.
std::optional<std::filesystem::path> capturedFilePath(const std::string& directory, std::string_view path);

// The names in a folder, sorted; empty when it cannot be listed.
std::vector<std::string> sortedFolderNames(const std::filesystem::path& folder);

// Writes `readings` into `directory` as a capture. False, with `error` set to a
// one-line reason, when the directory or a file cannot be written.
bool writeCapture(const MachineReadings& readings, const std::string& directory, std::string& error);

// The text of sysctl.txt for these values, one line each.
std::string kernelValuesText(const KernelValues& values);

// Parses sysctl.txt text: "name: value" per line; the value keeps its own spacing.
std::map<std::string, std::string, std::less<>> parseKernelValues(std::string_view text);

// An integer kernel value as sysctl.txt holds it: decimal, nothing around it but blanks.
std::optional<std::int64_t> parseKernelInteger(std::string_view text);

// Reads an exit status file: a decimal integer, 0 when it is anything else.
std::int32_t parseExitStatus(std::string_view text);

} // namespace veltrin
