#include "probe/sources/opencore_nvram.h"

#include "core/unicode_text.h"
#include "platform/command_table.h"
#include "probe/sources/filters.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

namespace veltrin::SystemProbe {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kBuildKinds{{
    {"REL", "release"},
    {"DBG", "debug"},
    {"NPT", "no-opt"},
}};
// What each character of OpenCore's version text is: K the build kind, 9 an ASCII
// digit, anything else itself. The three version digits are one component each.
constexpr std::string_view kVersionLayout = "KKK-999-9999-99-99";

constexpr std::array<Tool, 5> kVariableTools{Tool::oemVendor, Tool::oemProduct, Tool::oemBoard,
                                             Tool::openCoreVersion, Tool::legacyPatcherVersion};

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

// nvram prints every byte that is not printable ASCII as %xx. A "%" that two
// hexadecimal digits do not follow stays as it is.
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

bool fitsVersionLayout(std::string_view text)
{
    if (text.size() != kVersionLayout.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char shape = kVersionLayout[i];
        if (shape == '9' ? text[i] < '0' || text[i] > '9' : shape != 'K' && text[i] != shape)
            return false;
    }
    return true;
}

} // namespace

std::optional<std::string> nvramValue(const ProcessResult& result, std::string_view variable)
{
    if (result.status != 0)
        return std::nullopt;
    const auto escaped = valueAfterName(result.output, variable);
    if (!escaped)
        return std::nullopt;
    // As one display line, zero bytes (the padding some writers leave after the
    // text) and every other control byte are gone: a value made only of them would
    // otherwise count as known and show as an empty field.
    return clean(displayLine(utf8Lossy(unescaped(*escaped)), std::numeric_limits<std::size_t>::max()));
}

std::string openCoreVersionText(const std::string& version)
{
    if (!fitsVersionLayout(version))
        return version;
    const std::string_view kindCode = std::string_view(version).substr(0, 3);
    const auto kind = std::ranges::find(kBuildKinds, kindCode, &std::pair<std::string_view, std::string_view>::first);
    if (kind == kBuildKinds.end())
        return version;
    return std::string{version[4], '.', version[5], '.', version[6]} + " (" + std::string(kind->second) + ", " +
           version.substr(8) + ")";
}

OpenCoreVariables openCoreVariables(const MachineReadings& readings)
{
    const auto value = [&readings](Tool tool) {
        return nvramValue(readings.result(tool), toolCommand(tool).arguments.front());
    };
    return {
        .oemVendor = value(Tool::oemVendor),
        .oemProduct = value(Tool::oemProduct),
        .oemBoard = value(Tool::oemBoard),
        .version = value(Tool::openCoreVersion),
        .legacyPatcherVersion = value(Tool::legacyPatcherVersion),
        .anyRead = std::ranges::any_of(kVariableTools,
                                       [&readings](Tool tool) {
                                           return readings.result(tool).status != ProcessRunner::kLaunchFailedStatus;
                                       }),
    };
}

} // namespace veltrin::SystemProbe
