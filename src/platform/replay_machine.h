#pragma once

// A machine read back from a capture directory (the format is in capture.h).

#include "platform/machine.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace veltrin {

class ReplayMachine final : public Machine {
public:
    // Told, one line each, about capture files that are read as absent because
    // they are not regular files inside the capture folder.
    using Warning = std::function<void(const std::string&)>;

    // Absent, with `error` set to a one-line reason, when `directory` cannot be read.
    static std::unique_ptr<ReplayMachine> open(const std::string& directory, std::string& error, Warning warn = {});

    std::string sysctlValue(std::string_view name) const override;
    std::optional<std::int64_t> sysctlInt(std::string_view name) const override;
    ProcessResult run(const std::string& executable, const std::vector<std::string>& arguments,
                      double timeout) const override;
    std::optional<std::string> resourceFile(std::string_view name) const override;
    bool isExecutableFile(const std::string& path) const override;
    std::optional<std::string> readFileHead(const std::string& path, std::size_t maxBytes) const override;
    std::vector<std::string> directoryEntries(const std::string& path) const override;
    std::string_view platform() const override { return platform_; }
    std::string cpuidDump() const override;

    // The content of one file of the capture (`name` relative to its folder), at
    // most `limit` bytes; absent when it is missing or not a regular file inside
    // the folder.
    std::optional<std::string> readCaptureFile(const std::string& name, std::size_t limit) const;

    // Whether the folder holds any file a capture writes: a tool's output, the kernel
    // values or the platform's name. Any folder replays (as a machine that printed
    // nothing); one without such a file is no capture.
    bool holdsCaptureFiles() const;

private:
    ReplayMachine(std::string directory, Warning warn);

    std::string directory_;
    std::string folder_; // resolved, with a final slash
    Warning warn_;
    std::map<std::string, std::string, std::less<>> kernelValues_;
    std::string platform_;
};

} // namespace veltrin
