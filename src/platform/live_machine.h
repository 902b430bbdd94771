#pragma once

// What every live machine shares: real tool runs, real file tests and the
// application's resources folder. The platform files add the kernel values.

#include "platform/machine.h"

namespace veltrin {

class LiveMachine : public Machine {
public:
    ProcessResult run(const std::string& executable, const std::vector<std::string>& arguments,
                      double timeout) const override;
    std::optional<std::string> resourceFile(std::string_view name) const override;
    bool isExecutableFile(const std::string& path) const override;
    std::optional<std::string> readFileHead(const std::string& path, std::size_t maxBytes) const override;
    std::vector<std::string> directoryEntries(const std::string& path) const override;
    std::string cpuidDump() const override;
};

// The folder of files shipped with the application. Inside a macOS bundle it is
// Contents/Resources; elsewhere a Veltrin.app/Contents/Resources folder beside
// the executable, so a shipped dmidecode is recognised the same way everywhere.
std::string applicationResourcesDirectory();

} // namespace veltrin
