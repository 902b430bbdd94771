#include "probe/sources/ioreg.h"

#include "core/text_match.h"
#include "core/unicode_text.h"
#include "probe/sources/filters.h"

#include <charconv>

namespace veltrin::SystemProbe {

std::optional<std::string> ioregStringValue(std::string_view key, std::string_view text)
{
    const std::string quotedKey = R"(\")" + escapedPattern(key) + R"(\")";
    // A quoted string is final, even when clean rejects it.
    if (const auto quoted = firstMatch(text, quotedKey + R"(\s*=\s*\"(.+?)\")"))
        return clean(quoted);
    if (auto data = firstMatch(text, quotedKey + R"(\s*=\s*<([0-9a-fA-F\s]+)>)")) {
        std::erase(*data, ' ');
        return hexToASCII(*data);
    }
    return std::nullopt;
}

std::optional<std::string> hexToASCII(std::string_view hex)
{
    std::string bytes;
    for (std::size_t offset = 0; offset < hex.size(); offset += 2) {
        const std::string_view pair = hex.substr(offset, 2);
        unsigned value = 0;
        const auto [end, error] = std::from_chars(pair.data(), pair.data() + pair.size(), value, 16);
        if (error != std::errc() || end != pair.data() + pair.size())
            return std::nullopt;
        if (value != 0)
            bytes += static_cast<char>(value);
    }
    if (!isValidUtf8(bytes))
        return std::nullopt;
    return clean(bytes);
}

std::optional<std::string> ioregBoardID(std::string_view registry)
{
    const auto data = firstMatch(registry, R"(board-id.*?<([0-9a-fA-F]+)>)");
    const auto quoted = firstMatch(registry, R"re(board-id.*?= <?"(.+?)")re");
    return firstUsable({data ? hexToASCII(*data) : std::nullopt, quoted});
}

std::optional<std::string> ioregPlatformSerial(std::string_view registry)
{
    return firstMatch(registry, R"re(IOPlatformSerialNumber.*?= "(.+?)")re");
}

std::optional<std::string> ioregPlatformUUID(std::string_view registry)
{
    return firstMatch(registry, R"re(IOPlatformUUID.*?= "(.+?)")re");
}

} // namespace veltrin::SystemProbe
