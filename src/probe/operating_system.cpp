#include "probe/operating_system.h"

#include "core/text_match.h"
#include "core/unicode_text.h"
#include "platform/command_table.h"
#include "probe/sources/filters.h"
#include "probe/sources/os_release.h"

namespace veltrin::SystemProbe {
namespace {

std::string textOf(const std::optional<std::string>& value) { return value.value_or(std::string()); }

// The sw_vers report's value, else the bare value of sw_vers run for that part
// alone (started with the rest, read only here).
std::string versionPart(std::string_view software, std::string_view pattern, std::string_view alone)
{
    if (auto reported = clean(firstMatch(software, pattern)))
        return *std::move(reported);
    return textOf(clean(std::string(alone)));
}

std::string osText(const std::string& product, const std::string& build)
{
    return build.empty() ? product : product + " (" + build + ")";
}

} // namespace

std::string uptimeOnly(std::string_view text)
{
    const std::string whole = trimmed(text);
    if (whole.empty())
        return {};
    const auto up = whole.find(" up ");
    if (up == std::string::npos) {
        std::string single;
        for (std::size_t i = 0; i < whole.size(); ++i) {
            single += whole[i];
            if (whole[i] == ' ' && i + 1 < whole.size() && whole[i + 1] == ' ')
                ++i;
        }
        return trimmed(single);
    }

    std::string duration;
    std::string_view rest = std::string_view(whole).substr(up + 4);
    while (!rest.empty()) {
        const auto comma = rest.find(',');
        const std::string piece = trimmed(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        const std::string lowered = lowercased(piece);
        if (contains(lowered, "user") || contains(lowered, "load average"))
            break;
        if (piece.empty())
            continue;
        if (!duration.empty())
            duration += ", ";
        duration += piece;
    }
    return duration.empty() ? whole : duration;
}

OperatingSystemInfo operatingSystemInfo(const MachineReadings& readings)
{
    const std::string_view software = readings.output(Tool::softwareVersion);
    const std::string product =
        versionPart(software, R"(ProductVersion:[ \t]*(.+))", readings.output(Tool::productVersion));
    const std::string build = versionPart(software, R"(BuildVersion:[ \t]*(.+))", readings.output(Tool::buildVersion));
    const std::string macOS = osText(product, build);
    return {
        .os = macOS.empty() ? osReleaseName(readings.files) : macOS,
        .kernel = textOf(clean(std::string(readings.output(Tool::kernelRelease)))),
        .uptime = uptimeOnly(readings.output(Tool::uptime)),
    };
}

} // namespace veltrin::SystemProbe
