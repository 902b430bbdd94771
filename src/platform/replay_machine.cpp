#include "platform/replay_machine.h"

#include "platform/capture.h"
#include "platform/command_table.h"
#include "core/unicode_text.h"

#include <dirent.h>
#include <filesystem>
#include <fstream>

namespace veltrin {
namespace {

// Reads at most `limit` bytes; absent when the file cannot be opened.
std::optional<std::string> readFile(const std::filesystem::path& path, std::size_t limit)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::string content;
    char chunk[64 * 1024];
    while (content.size() < limit && file.read(chunk, sizeof chunk).gcount() > 0)
        content.append(chunk, std::min(static_cast<std::size_t>(file.gcount()), limit - content.size()));
    return content;
}

} // namespace

std::unique_ptr<ReplayMachine> ReplayMachine::open(const std::string& directory, std::string& error)
{
    DIR* handle = ::opendir(directory.c_str());
    if (handle == nullptr) {
        error = "cannot read capture directory " + directory;
        return nullptr;
    }
    ::closedir(handle);
    const auto sysctl = readFile(std::filesystem::path(directory) / kKernelValuesFile, ProcessRunner::kOutputCapBytes);
    auto values = parseKernelValues(sysctl.value_or(""));
    // Captures were Mac-only before they named their platform.
    const bool isLinux =
        trimmed(readFile(std::filesystem::path(directory) / kPlatformFile, 64).value_or("")) == kLinuxPlatform;
    return std::unique_ptr<ReplayMachine>(
        new ReplayMachine(directory, std::move(values), std::string(isLinux ? kLinuxPlatform : kMacPlatform)));
}

ReplayMachine::ReplayMachine(std::string directory, std::map<std::string, std::string, std::less<>> kernelValues,
                             std::string platform)
    : directory_(std::move(directory)), kernelValues_(std::move(kernelValues)), platform_(std::move(platform))
{
}

std::string ReplayMachine::sysctlValue(std::string_view name) const
{
    const auto found = kernelValues_.find(name);
    return found == kernelValues_.end() ? std::string() : found->second;
}

std::optional<std::int64_t> ReplayMachine::sysctlInt(std::string_view name) const
{
    const auto found = kernelValues_.find(name);
    if (found == kernelValues_.end())
        return std::nullopt;
    return parseKernelInteger(found->second);
}

ProcessResult ReplayMachine::run(const std::string& executable, const std::vector<std::string>& arguments,
                                 double) const
{
    const auto file = captureFileFor(executable, arguments);
    if (!file)
        return {"", ProcessRunner::kLaunchFailedStatus};
    const std::filesystem::path path = std::filesystem::path(directory_) / *file;
    auto output = readFile(path, ProcessRunner::kOutputCapBytes);
    if (!output)
        return {"", ProcessRunner::kLaunchFailedStatus};
    const auto status = readFile(path.string() + std::string(kExitStatusSuffix), 64);
    if (!isValidUtf8(*output))
        output->clear();
    return {std::move(*output), status ? parseExitStatus(*status) : 0};
}

std::optional<std::string> ReplayMachine::resourceFile(std::string_view) const { return std::nullopt; }

// The captured machine had dmidecode exactly when its output was captured; any
// install location then stands for it.
bool ReplayMachine::isExecutableFile(const std::string& path) const
{
    if (captureFileFor(path, {}) != std::string(kDmidecodeCaptureFile))
        return false;
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::path(directory_) / kDmidecodeCaptureFile, error);
}

// System files are served from files/; dmidecode itself is never captured, so a
// candidate's head is unreadable and the candidate accepted.
std::optional<std::string> ReplayMachine::readFileHead(const std::string& path, std::size_t maxBytes) const
{
    const auto captured = capturedFilePath(directory_, path);
    return captured ? readFile(*captured, maxBytes) : std::nullopt;
}

std::vector<std::string> ReplayMachine::directoryEntries(const std::string& path) const
{
    const auto captured = capturedFilePath(directory_, path);
    return captured ? sortedFolderNames(*captured) : std::vector<std::string>();
}

} // namespace veltrin
