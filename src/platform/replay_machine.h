#pragma once

// A machine read back from a capture directory (the format is in capture.h).

#include "platform/machine.h"

#include <map>
#include <memory>
#include <string>

namespace veltrin {

class ReplayMachine final : public Machine {
public:
    // Absent, with `error` set to a one-line reason, when `directory` cannot be read.
    static std::unique_ptr<ReplayMachine> open(const std::string& directory, std::string& error);

    std::string sysctlValue(std::string_view name) const override;
    std::optional<std::int64_t> sysctlInt(std::string_view name) const override;
    ProcessResult run(const std::string& executable, const std::vector<std::string>& arguments,
                      double timeout) const override;
    std::optional<std::string> resourceFile(std::string_view name) const override;
    bool isExecutableFile(const std::string& path) const override;
    std::optional<std::string> readFileHead(const std::string& path, std::size_t maxBytes) const override;
    std::vector<std::string> directoryEntries(const std::string& path) const override;
    std::string_view platform() const override { return platform_; }

private:
    ReplayMachine(std::string directory, std::map<std::string, std::string, std::less<>> kernelValues,
                  std::string platform);

    std::string directory_;
    std::map<std::string, std::string, std::less<>> kernelValues_;
    std::string platform_;
};

} // namespace veltrin
