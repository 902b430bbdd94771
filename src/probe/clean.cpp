#include "probe/clean.h"

#include "core/unicode_text.h"

#include <algorithm>

namespace veltrin::SystemProbe {

bool isPlaceholderValue(std::string_view loweredTrimmedValue)
{
    return std::find(kPlaceholderValues.begin(), kPlaceholderValues.end(), loweredTrimmedValue) !=
           kPlaceholderValues.end();
}

std::optional<std::string> clean(const std::optional<std::string>& value)
{
    if (!value)
        return std::nullopt;
    std::string text = trimmed(*value);
    if (text.empty() || isPlaceholderValue(lowercased(text)))
        return std::nullopt;
    return text;
}

} // namespace veltrin::SystemProbe
