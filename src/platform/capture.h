#pragma once

// The capture format, written here and read back by ReplayMachine: one file per
// command holding what the tool printed (named in the command table), beside it
// an optional <file>.status with its exit status when that was not 0, and
// sysctl.txt with one "name: value" line per kernel value. A tool that could not
// be started leaves no file. platform.txt names the machine's platform (a capture
// without it is a Mac's), and every system file the refresh read is kept as it
// was read under files/<its absolute path> (the PCI ID database only as the lines
// naming the machine's own adapters). cpuid.txt keeps the processor's CPUID
// answers in the form cpuid_dump.h gives, where it answered any. A folder
// holding sysctl.txt is a finished capture.

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
inline constexpr std::string_view kCpuidFile = "cpuid.txt";

// Where a capture keeps the system file at `path`, relative to the capture
// folder ("files/<path>"); absent unless `path` is absolute and names no "." or
// ".." component, so nothing lands outside.
std::optional<std::string> capturedFileName(std::string_view path);

// The most names a folder listing gives: far more than any real folder a
// refresh lists holds.
inline constexpr std::size_t kMostFolderNames = 4096;

// The names in a folder, sorted, at most kMostFolderNames; empty when it cannot be listed.
std::vector<std::string> sortedFolderNames(const std::filesystem::path& folder);

// Whether a capture may be written to `directory`: it is new, an empty folder,
// or (with `replace`) a finished capture. False, with `error` set to a one-line
// reason, otherwise.
bool captureTargetUsable(const std::string& directory, bool replace, std::string& error);

// Writes `readings` as a capture into a new folder beside `directory` and renames
// it into place once complete. False, with `error` set to a one-line reason, when
// the target is not usable or a file cannot be written; nothing is left behind then.
bool writeCapture(const MachineReadings& readings, const std::string& directory, bool replace, std::string& error);

// The text of sysctl.txt for these values, one line each.
std::string kernelValuesText(const KernelValues& values);

// Parses sysctl.txt text: "name: value" per line; the value keeps its own spacing.
std::map<std::string, std::string, std::less<>> parseKernelValues(std::string_view text);

// An integer kernel value as sysctl.txt holds it: decimal, nothing around it but blanks.
std::optional<std::int64_t> parseKernelInteger(std::string_view text);

// The status a replayed run gets when its status file says nothing sensible: a failure.
inline constexpr std::int32_t kUnreadableExitStatus = 1;

// Reads an exit status file: the decimal status of a tool (0 to 255) or of the
// runner (-1 not started, -9 stopped at its limit); absent for anything else.
std::optional<std::int32_t> parseExitStatus(std::string_view text);

} // namespace veltrin
