#include "probe/sources/os_release.h"

#include "core/unicode_text.h"
#include "platform/linux_files.h"

#include <algorithm>

namespace veltrin::SystemProbe {
namespace {

// The value of an os-release assignment: quotes removed, backslash escapes
// inside double quotes resolved, as the shell would read it.
std::string unquoted(std::string_view value)
{
    if (value.size() < 2 || (value.front() != '"' && value.front() != '\'') || value.back() != value.front())
        return std::string(value);
    const char quote = value.front();
    value = value.substr(1, value.size() - 2);
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (quote == '"' && value[i] == '\\' && i + 1 < value.size())
            ++i;
        text += value[i];
    }
    return text;
}

} // namespace

std::string osReleaseName(const FileContents& files)
{
    for (const std::string_view path : LinuxPath::osRelease) {
        const auto found = fileContent(files, path);
        if (!found)
            continue;
        const std::string_view content = *found;
        std::size_t start = 0;
        while (start < content.size()) {
            const std::size_t end = std::min(content.find('\n', start), content.size());
            const std::string line = trimmed(content.substr(start, end - start));
            start = end + 1;
            if (line.starts_with("PRETTY_NAME=")) {
                const std::string name = trimmed(unquoted(std::string_view(line).substr(12)));
                return isValidUtf8(name) && !name.empty() ? name : "Linux";
            }
        }
        return "Linux"; // the name os-release tells readers to assume
    }
    return {};
}

} // namespace veltrin::SystemProbe
