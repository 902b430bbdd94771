#include "platform/capture.h"

#include "core/unicode_text.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <filesystem>
#include <fstream>

namespace veltrin {
namespace {

bool writeFile(const std::filesystem::path& path, const std::string& content)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << content;
    return static_cast<bool>(file);
}

bool writeRun(const std::filesystem::path& folder, const std::string& name, const ProcessResult& result)
{
    if (result.status == ProcessRunner::kLaunchFailedStatus)
        return true;
    if (!writeFile(folder / name, result.output))
        return false;
    return result.status == 0 ||
           writeFile(folder / (name + std::string(kExitStatusSuffix)), std::to_string(result.status) + "\n");
}

// A system file under files/, its folders made as needed.
bool writeSystemFile(const std::string& directory, const std::string& path, const std::string& content)
{
    const auto target = capturedFilePath(directory, path);
    if (!target)
        return false;
    std::error_code error;
    std::filesystem::create_directories(target->parent_path(), error);
    return !error && writeFile(*target, content);
}

} // namespace

std::optional<std::filesystem::path> capturedFilePath(const std::string& directory, std::string_view path)
{
    if (!path.starts_with('/'))
        return std::nullopt;
    while (path.size() > 1 && path.ends_with('/'))
        path.remove_suffix(1); // a folder named with its trailing slash
    const std::filesystem::path relative(path.substr(1));
    for (const auto& part : relative)
        if (part == "." || part == ".." || part.empty())
            return std::nullopt;
    if (relative.empty())
        return std::nullopt;
    return std::filesystem::path(directory) / kFilesFolder / relative;
}

std::vector<std::string> sortedFolderNames(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
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

bool writeCapture(const MachineReadings& readings, const std::string& directory, std::string& error)
{
    const std::filesystem::path folder(directory);
    std::error_code created;
    std::filesystem::create_directories(folder, created);
    if (created || !std::filesystem::is_directory(folder, created)) {
        error = "cannot create capture directory " + directory;
        return false;
    }

    bool written = true;
    for (const ToolCommand& command : toolCommands())
        written = writeRun(folder, command.captureFile, readings.result(command.tool)) && written;
    if (readings.dmidecodePath)
        written = writeRun(folder, std::string(kDmidecodeCaptureFile), readings.dmidecode) && written;
    written = writeFile(folder / kKernelValuesFile, kernelValuesText(readings.kernel)) && written;
    if (!readings.platform.empty())
        written = writeFile(folder / kPlatformFile, readings.platform + "\n") && written;
    for (const auto& [path, content] : readings.files)
        written = writeSystemFile(directory, path, content) && written;
    if (!written)
        error = "cannot write capture files into " + directory;
    return written;
}

std::string kernelValuesText(const KernelValues& values)
{
    std::string text;
    for (const KernelValue& value : kKernelValues) {
        if (value.kind == KernelValueKind::integer) {
            if (const auto number = values.integer(value.name))
                text += std::string(value.name) + ": " + std::to_string(*number) + "\n";
        } else if (std::string line = values.text(value.name); !line.empty()) {
            std::replace(line.begin(), line.end(), '\n', ' '); // one line per value
            text += std::string(value.name) + ": " + line + "\n";
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

std::int32_t parseExitStatus(std::string_view text)
{
    const auto value = parseKernelInteger(text);
    if (!value || *value < INT32_MIN || *value > INT32_MAX)
        return 0;
    return static_cast<std::int32_t>(*value);
}

} // namespace veltrin
