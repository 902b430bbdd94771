#include "probe/sources/system_file.h"

#include "core/unicode_text.h"

#include <algorithm>

namespace veltrin::SystemProbe {
namespace {

bool hasControlCharacter(std::string_view text)
{
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F; });
}

} // namespace

std::optional<std::string> systemFileText(const FileContents& files, std::string_view path)
{
    const auto content = fileContent(files, path);
    if (!content)
        return std::nullopt;
    const std::string value = trimmed(content->substr(0, content->find_first_of(std::string_view("\n\r\0", 3))));
    if (value.empty() || !isValidUtf8(value) || hasControlCharacter(value))
        return std::nullopt;
    return value;
}

} // namespace veltrin::SystemProbe
