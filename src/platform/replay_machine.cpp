#include "platform/replay_machine.h"

#include "platform/capture.h"
#include "platform/command_table.h"
#include "core/unicode_text.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace veltrin {
namespace {

namespace fs = std::filesystem;

// The folder's own path with every link resolved; a file is inside it when its
// resolved path starts with this one.
std::string resolvedFolder(const std::string& directory)
{
    std::error_code error;
    const fs::path resolved = fs::canonical(directory, error);
    return error ? std::string() : resolved.string() + "/";
}

} // namespace

std::unique_ptr<ReplayMachine> ReplayMachine::open(const std::string& directory, std::string& error, Warning warn)
{
    DIR* handle = ::opendir(directory.c_str());
    if (handle == nullptr) {
        error = "cannot read capture directory " + directory;
        return nullptr;
    }
    ::closedir(handle);
    std::unique_ptr<ReplayMachine> machine(new ReplayMachine(directory, std::move(warn)));
    const auto kernelValues = machine->readCaptureFile(std::string(kKernelValuesFile), ProcessRunner::kOutputCapBytes);
    machine->kernelValues_ = parseKernelValues(kernelValues.value_or(""));
    // Captures were Mac-only before they named their platform.
    const bool isLinux = trimmed(machine->readCaptureFile(std::string(kPlatformFile), 64).value_or("")) == kLinuxPlatform;
    machine->platform_ = std::string(isLinux ? kLinuxPlatform : kMacPlatform);
    return machine;
}

ReplayMachine::ReplayMachine(std::string directory, Warning warn)
    : directory_(std::move(directory)), folder_(resolvedFolder(directory_)), warn_(std::move(warn))
{
}

// Every file of a capture is read here. A capture may come from anywhere (and
// replay may run as root), so only regular files inside the folder are read, at
// most `limit` bytes each: a FIFO, a device, a folder or a link out of the
// capture counts as absent, with a warning, instead of blocking, flooding memory
// or showing another file's content. A missing file is simply absent.
std::optional<std::string> ReplayMachine::readCaptureFile(const std::string& name, std::size_t limit) const
{
    const std::string path = (fs::path(directory_) / name).string();
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0)
        return std::nullopt;
    const auto refuse = [&](const char* why) -> std::optional<std::string> {
        if (warn_)
            warn_(path + " " + why + "; read as absent");
        return std::nullopt;
    };
    std::error_code error;
    const std::string resolved = fs::canonical(path, error).string();
    if (error || folder_.empty() || !resolved.starts_with(folder_))
        return refuse("leads out of the capture folder");

    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return refuse("cannot be opened");
    struct stat file {};
    if (::fstat(descriptor, &file) != 0 || !S_ISREG(file.st_mode)) {
        ::close(descriptor);
        return refuse("is not a regular file");
    }
    std::string content;
    char chunk[64 * 1024];
    while (content.size() < limit) {
        const ssize_t got = ::read(descriptor, chunk, std::min(sizeof chunk, limit - content.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        content.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(descriptor);
    return content;
}

bool ReplayMachine::holdsCaptureFiles() const
{
    std::vector<std::string> names{std::string(kKernelValuesFile), std::string(kPlatformFile),
                                   std::string(kDmidecodeCaptureFile), std::string(kCpuidFile)};
    for (const ToolCommand& command : toolCommands())
        names.push_back(command.captureFile);
    return std::ranges::any_of(names, [&](const std::string& name) { return readCaptureFile(name, 0).has_value(); });
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
    auto output = readCaptureFile(*file, ProcessRunner::kOutputCapBytes);
    if (!output)
        return {"", ProcessRunner::kLaunchFailedStatus};
    if (!isValidUtf8(*output))
        output->clear();
    // No status file means the tool succeeded; one that says nothing sensible
    // still says it did not.
    const auto statusText = readCaptureFile(*file + std::string(kExitStatusSuffix), 64);
    const std::int32_t status = statusText ? parseExitStatus(*statusText).value_or(kUnreadableExitStatus) : 0;
    return {std::move(*output), status};
}

std::optional<std::string> ReplayMachine::resourceFile(std::string_view) const { return std::nullopt; }

// The captured machine had a tool exactly when the output of its run without
// arguments was captured (dmidecode, kextstat); any install location of
// dmidecode then stands for it.
bool ReplayMachine::isExecutableFile(const std::string& path) const
{
    const auto captured = captureFileFor(path, {});
    if (!captured)
        return false;
    struct stat file {};
    return ::lstat((fs::path(directory_) / *captured).c_str(), &file) == 0 &&
           (S_ISREG(file.st_mode) || S_ISLNK(file.st_mode));
}

// System files are served from files/; dmidecode itself is never captured, so a
// candidate's head is unreadable and the candidate accepted.
std::optional<std::string> ReplayMachine::readFileHead(const std::string& path, std::size_t maxBytes) const
{
    const auto captured = capturedFileName(path);
    return captured ? readCaptureFile(*captured, maxBytes) : std::nullopt;
}

// A capture without cpuid.txt comes from a processor without CPUID, or from
// before its answers were kept.
std::string ReplayMachine::cpuidDump() const
{
    return readCaptureFile(std::string(kCpuidFile), ProcessRunner::kOutputCapBytes).value_or("");
}

// Only folders inside the capture are listed, as only files inside it are read.
std::vector<std::string> ReplayMachine::directoryEntries(const std::string& path) const
{
    const auto captured = capturedFileName(path);
    if (!captured)
        return {};
    const fs::path folder = fs::path(directory_) / *captured;
    std::error_code error;
    const std::string resolved = fs::canonical(folder, error).string() + "/";
    if (error || folder_.empty() || !resolved.starts_with(folder_))
        return {};
    return sortedFolderNames(folder);
}

} // namespace veltrin
