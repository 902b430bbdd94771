#include "platform/capture.h"

#include "core/unicode_text.h"

#include "core/uuid.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace veltrin {
namespace {

namespace fs = std::filesystem;

enum class Target { absent, empty, finishedCapture, otherFolder, notAFolder };

Target targetKind(const fs::path& target)
{
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? Target::absent : Target::notAFolder;
    if (!S_ISDIR(info.st_mode))
        return Target::notAFolder; // a link included: a capture never goes through one
    std::error_code error;
    if (fs::is_empty(target, error) && !error)
        return Target::empty;
    struct stat kernelValues {};
    const bool finished = ::lstat((target / kKernelValuesFile).c_str(), &kernelValues) == 0 &&
                          S_ISREG(kernelValues.st_mode);
    return finished ? Target::finishedCapture : Target::otherFolder;
}

// "out/" names the folder "out".
fs::path targetPath(const std::string& directory)
{
    fs::path target = fs::path(directory).lexically_normal();
    if (target.filename().empty() && target.has_parent_path())
        target = target.parent_path();
    return target;
}

// A sibling of `target` that nothing else has: ".<name>.<purpose>-<random>".
fs::path siblingPath(const fs::path& target, std::string_view purpose)
{
    const fs::path parent = target.has_parent_path() ? target.parent_path() : fs::path(".");
    return parent / ("." + target.filename().string() + "." + std::string(purpose) + "-" +
                     Uuid::random().toString().substr(0, 8));
}

std::string systemError() { return std::strerror(errno); }

// A new folder beside the target that takes the target's place only once every
// file in it is complete, and is removed otherwise: an interrupted or failed
// capture never leaves a folder that looks finished. Every file is created new
// (never through a link, never over an existing file), so running as root
// cannot be turned into writing somewhere else.
class StagingFolder {
public:
    explicit StagingFolder(fs::path target) : target_(std::move(target))
    {
        for (int attempt = 0; attempt < 8 && path_.empty(); ++attempt) {
            const fs::path candidate = siblingPath(target_, "capture");
            if (::mkdir(candidate.c_str(), 0777) == 0)
                path_ = candidate;
            else if (errno != EEXIST)
                break;
        }
    }
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;
    ~StagingFolder()
    {
        std::error_code ignored;
        if (!path_.empty() && !committed_)
            fs::remove_all(path_, ignored);
    }

    bool created() const { return !path_.empty(); }

    // `name` is relative to the folder; the folders it names are made here (the
    // staging folder is new and only this process writes into it).
    bool write(const std::string& name, std::string_view content)
    {
        std::error_code madeFolders;
        if (const fs::path parent = fs::path(name).parent_path(); !parent.empty())
            fs::create_directories(path_ / parent, madeFolders);
        if (madeFolders)
            return false;
        const int descriptor =
            ::open((path_ / name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (descriptor < 0)
            return false;
        bool complete = true;
        while (complete && !content.empty()) {
            const ssize_t written = ::write(descriptor, content.data(), content.size());
            if (written < 0 && errno == EINTR)
                continue;
            complete = written > 0;
            if (complete)
                content.remove_prefix(static_cast<std::size_t>(written));
        }
        // The reason a write stopped outlives the close, which may set errno too.
        const int writeError = errno;
        const bool closed = ::close(descriptor) == 0;
        if (!complete)
            errno = writeError;
        return complete && closed;
    }

    // Puts the finished folder where the target was; an existing capture there
    // is moved aside first and removed once the new one is in place.
    bool commit(Target existing)
    {
        fs::path previous;
        if (existing == Target::finishedCapture) {
            previous = siblingPath(target_, "replaced");
            if (::rename(target_.c_str(), previous.c_str()) != 0)
                return false;
        }
        if (::rename(path_.c_str(), target_.c_str()) != 0) {
            const int saved = errno;
            if (!previous.empty())
                ::rename(previous.c_str(), target_.c_str());
            errno = saved;
            return false;
        }
        committed_ = true;
        std::error_code ignored;
        if (!previous.empty())
            fs::remove_all(previous, ignored);
        return true;
    }

private:
    fs::path target_;
    fs::path path_;
    bool committed_ = false;
};

bool writeRun(StagingFolder& folder, const std::string& name, const ProcessResult& result)
{
    if (result.status == ProcessRunner::kLaunchFailedStatus)
        return true; // a tool that could not be started leaves no file, which replays as -1
    return folder.write(name, result.output) &&
           (result.status == 0 ||
            folder.write(name + std::string(kExitStatusSuffix), std::to_string(result.status) + "\n"));
}

} // namespace

bool captureTargetUsable(const std::string& directory, bool replace, std::string& error)
{
    switch (targetKind(targetPath(directory))) {
    case Target::absent:
    case Target::empty:
        return true;
    case Target::finishedCapture:
        if (replace)
            return true;
        error = directory + " already holds a capture; add --replace to replace it";
        return false;
    case Target::otherFolder:
        error = directory + " is not empty and holds no capture; choose a new or empty folder";
        return false;
    case Target::notAFolder:
        break;
    }
    error = directory + " exists and is not a folder";
    return false;
}

bool writeCapture(const MachineReadings& readings, const std::string& directory, bool replace, std::string& error)
{
    if (!captureTargetUsable(directory, replace, error))
        return false;
    const fs::path target = targetPath(directory);
    std::error_code ignored;
    if (target.has_parent_path())
        fs::create_directories(target.parent_path(), ignored);
    StagingFolder folder(target);
    if (!folder.created()) {
        error = "cannot create a folder beside " + directory + ": " + systemError();
        return false;
    }

    bool written = true;
    for (const ToolCommand& command : toolCommands())
        written = written && writeRun(folder, command.captureFile, readings.result(command.tool));
    if (readings.dmidecodePath)
        written = written && writeRun(folder, std::string(kDmidecodeCaptureFile), readings.dmidecode);
    written = written && folder.write(std::string(kKernelValuesFile), kernelValuesText(readings.kernel));
    if (!readings.platform.empty())
        written = written && folder.write(std::string(kPlatformFile), readings.platform + "\n");
    if (!readings.cpuid.empty())
        written = written && folder.write(std::string(kCpuidFile), readings.cpuid);
    for (const auto& [path, content] : readings.files) {
        const auto name = capturedFileName(path);
        if (!name) {
            error = "cannot keep " + path + " in a capture: not a plain absolute path";
            return false;
        }
        written = written && folder.write(*name, content);
    }
    if (!written) {
        error = "cannot write capture files for " + directory + ": " + systemError();
        return false;
    }
    if (!folder.commit(targetKind(target))) {
        error = "cannot put the capture in place at " + directory + ": " + systemError();
        return false;
    }
    return true;
}

std::optional<std::string> capturedFileName(std::string_view path)
{
    if (!path.starts_with('/'))
        return std::nullopt;
    while (path.size() > 1 && path.ends_with('/'))
        path.remove_suffix(1); // a folder named with its trailing slash
    const fs::path relative(path.substr(1));
    for (const auto& part : relative)
        if (part == "." || part == ".." || part.empty())
            return std::nullopt;
    if (relative.empty())
        return std::nullopt;
    return (fs::path(kFilesFolder) / relative).string();
}

std::vector<std::string> sortedFolderNames(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end && names.size() < kMostFolderNames;
         entry.increment(error))
        names.push_back(entry->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::int64_t> parseKernelInteger(std::string_view whole)
{
    const std::string trimmedText = trimmed(whole);
    std::string_view text = trimmedText;
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    std::int64_t value = 0;
    const auto* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end)
        return std::nullopt;
    return value;
}

std::string kernelValuesText(const KernelValues& values)
{
    std::string text;
    for (const NamedKernelValue& value : kernelValueList(values.integer(KernelName::perfLevelCount))) {
        if (value.kind == KernelValueKind::integer) {
            if (const auto number = values.integer(value.name))
                text += value.name + ": " + std::to_string(*number) + "\n";
        } else if (std::string line = values.text(value.name); !line.empty()) {
            std::replace(line.begin(), line.end(), '\n', ' '); // one line per value
            text += value.name + ": " + line + "\n";
        }
    }
    return text;
}

std::map<std::string, std::string, std::less<>> parseKernelValues(std::string_view text)
{
    std::map<std::string, std::string, std::less<>> values;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const auto colon = line.find(':');
        if (colon == std::string_view::npos || colon == 0)
            continue;
        std::string_view value = line.substr(colon + 1);
        if (!value.empty() && value.front() == ' ')
            value.remove_prefix(1);
        values.insert_or_assign(std::string(line.substr(0, colon)), std::string(value));
    }
    return values;
}

std::optional<std::int32_t> parseExitStatus(std::string_view text)
{
    const auto value = parseKernelInteger(text);
    const bool meaningful = value && ((*value >= 0 && *value <= 255) || *value == ProcessRunner::kLaunchFailedStatus ||
                                      *value == ProcessRunner::kTimedOutStatus);
    if (!meaningful)
        return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

} // namespace veltrin
