#pragma once

// The one seam between the probe and the computer it inspects: kernel values by
// name, tool runs, the processor's CPUID answers, the few file tests the
// dmidecode search needs, and the files a Linux machine describes itself in.
// The live implementation for the build's platform reads the real machine; the
// replay implementation reads a capture directory written on another machine.

#include "core/process_runner.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin {

// The systems a machine can run, by the names a capture records them under.
inline constexpr std::string_view kMacPlatform = "macos";
inline constexpr std::string_view kLinuxPlatform = "linux";

class Machine {
public:
    virtual ~Machine() = default;

    // The string value of a kernel variable; "" when it does not exist or is empty.
    virtual std::string sysctlValue(std::string_view name) const = 0;
    // The integer value of a kernel variable; absent when it cannot be read.
    virtual std::optional<std::int64_t> sysctlInt(std::string_view name) const = 0;

    // Runs one tool with a time limit; see ProcessRunner::runResult.
    virtual ProcessResult run(const std::string& executable, const std::vector<std::string>& arguments,
                              double timeout) const = 0;

    // The path of a file shipped in the application's own resources, if present.
    virtual std::optional<std::string> resourceFile(std::string_view name) const = 0;
    // True when `path` exists and the current user may execute it.
    virtual bool isExecutableFile(const std::string& path) const = 0;
    // Up to `maxBytes` from the start of the file; absent when it cannot be read.
    virtual std::optional<std::string> readFileHead(const std::string& path, std::size_t maxBytes) const = 0;
    // The names in a directory, sorted; empty when it cannot be listed.
    virtual std::vector<std::string> directoryEntries(const std::string& path) const = 0;
    // kMacPlatform or kLinuxPlatform: which system's files describe this machine.
    virtual std::string_view platform() const = 0;
    // Install locations of dmidecode particular to this platform, searched after the usual ones.
    virtual std::vector<std::string> extraDmidecodeLocations() const { return {}; }
    // What the processor answers to CPUID, in the form cpuid_dump.h gives; empty
    // where it has no such instruction or the machine kept no answers.
    virtual std::string cpuidDump() const { return {}; }
};

// The machine this program runs on.
std::unique_ptr<Machine> makeLiveMachine();

} // namespace veltrin
