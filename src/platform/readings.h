#pragma once

// Everything one refresh reads from a machine: every kernel value by its kind,
// every tool's result, dmidecode's when one was found, and on Linux the files the
// system describes itself in. It is gathered in one go before any parser runs,
// so the parsers only read finished text.

#include "core/process_runner.h"
#include "platform/command_table.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace veltrin {

class Machine;

struct KernelValues {
    std::map<std::string, std::string, std::less<>> texts; // text values, only the non-empty ones
    std::map<std::string, std::int64_t, std::less<>> integers; // integer values, only the readable ones

    // "" when the value does not exist or is empty.
    std::string text(std::string_view name) const;
    // Absent when the value cannot be read.
    std::optional<std::int64_t> integer(std::string_view name) const;
};

// Every value of kernelValueList for the machine's own level count, each read as its kind says.
KernelValues readKernelValues(const Machine& machine);

// File contents by absolute path, each as far as it was read; a file that could
// not be read is not there.
using FileContents = std::map<std::string, std::string, std::less<>>;

// The content read from `path`; absent when the file was not read.
std::optional<std::string_view> fileContent(const FileContents& files, std::string_view path);

struct MachineReadings {
    std::string platform{}; // the machine's platform name (machine.h)
    KernelValues kernel{};
    std::map<Tool, ProcessResult> tools{}; // a tool that was not run counts as one that could not start
    std::optional<std::string> dmidecodePath{};
    ProcessResult dmidecode{"", ProcessRunner::kLaunchFailedStatus};
    FileContents files{}; // linux_files.h says which
    std::string cpuid{}; // the processor's CPUID answers (cpuid_dump.h), empty where none were read

    // What the tool printed, whatever its status; empty when it was not run.
    std::string_view output(Tool tool) const;
    ProcessResult result(Tool tool) const;
    // The content read from `path`; absent when the file was not read.
    std::optional<std::string_view> file(std::string_view path) const;
};

// Starts every tool of the command table at once (a fallback row only where the
// executable it stands in for is missing), each with its own time limit,
// together with dmidecode when one is found, and reads the kernel values, the
// processor's CPUID answers and (on Linux) the system files while they run;
// returns when the last tool has ended. The only place a refresh starts tools: a
// refresh takes as long as its slowest tool.
MachineReadings readMachine(const Machine& machine);

// The path of the first usable dmidecode, or absent: the application's own copy,
// then the usual install locations, then the platform's own. A placeholder text
// file standing where the tool should be is passed over.
std::optional<std::string> dmidecodeExecutable(const Machine& machine);

} // namespace veltrin
