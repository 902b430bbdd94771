#include "platform/live_machine.h"

#include "platform/capture.h"
#include "platform/cpuid_dump.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#if defined(__APPLE__)
#include <mach-o/dyld.h>
#endif

namespace veltrin {
namespace {

std::filesystem::path executablePath()
{
#if defined(__APPLE__)
    char buffer[4096];
    uint32_t size = sizeof buffer;
    if (_NSGetExecutablePath(buffer, &size) == 0)
        return std::filesystem::weakly_canonical(buffer);
    return {};
#else
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error);
#endif
}

} // namespace

std::string applicationResourcesDirectory()
{
    const std::filesystem::path executable = executablePath();
    if (executable.empty())
        return {};
    const std::filesystem::path folder = executable.parent_path();
    if (folder.filename() == "MacOS" && folder.parent_path().filename() == "Contents")
        return (folder.parent_path() / "Resources").string();
    return (folder / "Veltrin.app" / "Contents" / "Resources").string();
}

ProcessResult LiveMachine::run(const std::string& executable, const std::vector<std::string>& arguments,
                               double timeout) const
{
    return ProcessRunner::runResult(executable, arguments, timeout);
}

std::optional<std::string> LiveMachine::resourceFile(std::string_view name) const
{
    const std::string folder = applicationResourcesDirectory();
    if (folder.empty())
        return std::nullopt;
    const std::filesystem::path candidate = std::filesystem::path(folder) / std::string(name);
    std::error_code error;
    if (!std::filesystem::exists(candidate, error))
        return std::nullopt;
    return candidate.string();
}

bool LiveMachine::isExecutableFile(const std::string& path) const
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0;
}

// Read in chunks: kernel files report no useful size, and a generous limit for a
// large file must not cost that much memory for every small one.
std::optional<std::string> LiveMachine::readFileHead(const std::string& path, std::size_t maxBytes) const
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::string head;
    char chunk[16 * 1024];
    while (head.size() < maxBytes) {
        const auto wanted = std::min(sizeof chunk, maxBytes - head.size());
        file.read(chunk, static_cast<std::streamsize>(wanted));
        head.append(chunk, static_cast<std::size_t>(file.gcount()));
        if (!file)
            break;
    }
    if (file.bad())
        return std::nullopt;
    return head;
}

std::vector<std::string> LiveMachine::directoryEntries(const std::string& path) const
{
    return sortedFolderNames(path);
}

std::string LiveMachine::cpuidDump() const { return veltrin::cpuidDump(); }

} // namespace veltrin
