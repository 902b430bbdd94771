#include "probe/sources/opencore_nvram.h"

#include "platform/command_table.h"

#include <algorithm>
#include <array>
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
