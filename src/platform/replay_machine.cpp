#include "platform/replay_machine.h"

#include "platform/command_table.h"
#include "core/unicode_text.h"

#include <charconv>
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

std::optional<std::int64_t> parseDecimal(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    std::int64_t value = 0;
    const auto* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end)
        return std::nullopt;
    return value;
}

} // namespace

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

std::int32_t parseExitStatus(std::string_view text)
{
    const auto value = parseDecimal(trimmed(text));
    if (!value || *value < INT32_MIN || *value > INT32_MAX)
        return 0;
    return static_cast<std::int32_t>(*value);
}

std::unique_ptr<ReplayMachine> ReplayMachine::open(const std::string& directory, std::string& error)
{
    DIR* handle = ::opendir(directory.c_str());
    if (handle == nullptr) {
        error = "cannot read capture directory " + directory;
        return nullptr;
    }
    ::closedir(handle);
    const auto sysctl = readFile(std::filesystem::path(directory) / "sysctl.txt", ProcessRunner::kOutputCapBytes);
    auto values = parseKernelValues(sysctl.value_or(""));
    return std::unique_ptr<ReplayMachine>(new ReplayMachine(directory, std::move(values)));
}

ReplayMachine::ReplayMachine(std::string directory, std::map<std::string, std::string, std::less<>> kernelValues)
    : directory_(std::move(directory)), kernelValues_(std::move(kernelValues))
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
    return parseDecimal(trimmed(found->second));
}

ProcessResult ReplayMachine::run(const std::string& executable, const std::vector<std::string>& arguments,
                                 double) const
{
    const auto file = Commands::captureFileFor(executable, arguments);
    if (!file)
        return {"", ProcessRunner::kLaunchFailedStatus};
    const std::filesystem::path path = std::filesystem::path(directory_) / *file;
    auto output = readFile(path, ProcessRunner::kOutputCapBytes);
    if (!output)
        return {"", ProcessRunner::kLaunchFailedStatus};
    const auto status = readFile(path.string() + ".status", 64);
    if (!isValidUtf8(*output))
        output->clear();
    return {std::move(*output), status ? parseExitStatus(*status) : 0};
}

std::optional<std::string> ReplayMachine::resourceFile(std::string_view) const { return std::nullopt; }

// The captured machine had dmidecode exactly when its output was captured; any
// install location then stands for it.
bool ReplayMachine::isExecutableFile(const std::string& path) const
{
    if (Commands::captureFileFor(path, {}) != std::string(Commands::kDmidecodeCaptureFile))
        return false;
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::path(directory_) / Commands::kDmidecodeCaptureFile, error);
}

std::optional<std::string> ReplayMachine::readFileHead(const std::string&, std::size_t) const
{
    return std::nullopt; // the tool itself was not captured; an unreadable candidate is accepted
}

} // namespace veltrin
