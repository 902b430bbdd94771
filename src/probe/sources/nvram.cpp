#include "probe/sources/nvram.h"

#include "core/unicode_text.h"
#include "probe/sources/filters.h"

#include <limits>

namespace veltrin::SystemProbe {
namespace {

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The rest of the first line that starts with `variable` and a tab.
std::optional<std::string_view> valueAfterName(std::string_view output, std::string_view variable)
{
    for (;;) {
        const auto end = output.find('\n');
        const std::string_view line = output.substr(0, end);
        if (line.size() > variable.size() && line.starts_with(variable) && line[variable.size()] == '\t')
            return line.substr(variable.size() + 1);
        if (end == std::string_view::npos)
            return std::nullopt;
        output.remove_prefix(end + 1);
    }
}

// A "%" that two hexadecimal digits do not follow stays as it is.
std::string unescaped(std::string_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int high = text[i] == '%' && i + 2 < text.size() ? hexDigitValue(text[i + 1]) : -1;
        const int low = high < 0 ? -1 : hexDigitValue(text[i + 2]);
        if (low < 0) {
            bytes += text[i];
            continue;
        }
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return bytes;
}

} // namespace

std::optional<std::string> nvramBytes(const ProcessResult& result, std::string_view variable)
{
    if (result.status != 0)
        return std::nullopt;
    const auto escaped = valueAfterName(result.output, variable);
    if (!escaped)
        return std::nullopt;
    // A value that ends the output has no line break of its own to strip, one
    // that does has it: either way the trailing "\r" of a pasted text is no byte.
    std::string_view value = *escaped;
    if (value.ends_with('\r'))
        value.remove_suffix(1);
    return unescaped(value);
}

std::optional<std::string> nvramValue(const ProcessResult& result, std::string_view variable)
{
    const auto bytes = nvramBytes(result, variable);
    if (!bytes)
        return std::nullopt;
    // As one display line, zero bytes (the padding some writers leave after the
    // text) and every other control byte are gone: a value made only of them would
    // otherwise count as known and show as an empty field.
    return clean(displayLine(utf8Lossy(*bytes), std::numeric_limits<std::size_t>::max()));
}

std::optional<std::uint32_t> littleEndianWord(std::string_view bytes)
{
    if (bytes.size() < 4)
        return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;)
        value = value << 8 | static_cast<unsigned char>(bytes[i]);
    return value;
}

} // namespace veltrin::SystemProbe
