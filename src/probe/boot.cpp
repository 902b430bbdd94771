#include "probe/boot.h"

#include "core/fixed_decimal.h"
#include "platform/command_table.h"
#include "platform/linux_files.h"
#include "probe/sources/csrutil.h"
#include "probe/sources/kext_listing.h"
#include "probe/sources/linux_boot.h"
#include "probe/sources/nvram.h"
#include "probe/sources/system_file.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace veltrin::SystemProbe {
namespace {

constexpr std::string_view kBootArgumentsVariable = "boot-args";
constexpr std::string_view kSipConfigurationVariable = "csr-active-config";

// kextstat where it exists; kmutil, which a refresh runs only where it does not.
std::vector<KernelExtension> macExtensions(const MachineReadings& readings)
{
    std::vector<KernelExtension> extensions = loadedExtensions(readings.output(Tool::loadedExtensions));
    return extensions.empty() ? loadedExtensions(readings.output(Tool::loadedExtensionsKmutil)) : extensions;
}

std::size_t countOf(const std::vector<KernelExtension>& extensions, std::string_view origin)
{
    return static_cast<std::size_t>(std::ranges::count(extensions, origin, &KernelExtension::origin));
}

// "12 third-party, 187 Apple": each origin with its count, in the order given,
// one whose count may be zero left out when it is.
std::string summary(const std::vector<KernelExtension>& extensions,
                    std::initializer_list<std::pair<std::string_view, bool>> origins)
{
    if (extensions.empty())
        return {};
    std::string text;
    for (const auto& [origin, always] : origins) {
        const std::size_t count = countOf(extensions, origin);
        if (count == 0 && !always)
            continue;
        text += (text.empty() ? "" : ", ") + std::to_string(count) + " " + std::string(origin);
    }
    return text;
}

} // namespace

std::string sipValueText(std::uint32_t configuration)
{
    return hexText(configuration, true);
}

BootInfo bootInfo(const MachineReadings& readings)
{
    BootInfo boot;
    boot.bootArguments = nvramValue(readings.result(Tool::bootArguments), kBootArgumentsVariable)
                             .value_or(systemFileText(readings.files, LinuxPath::kernelCommandLine).value_or(""));
    boot.sipStatus = sipStatusWords(readings.output(Tool::sipStatus));
    if (const auto bytes = nvramBytes(readings.result(Tool::sipConfiguration), kSipConfigurationVariable)) {
        if (const auto configuration = littleEndianWord(*bytes)) {
            boot.sipValue = sipValueText(*configuration);
            boot.sipFlags = csrFlagNames(*configuration);
        }
    }
    boot.secureBoot = secureBootState(readings.files);

    boot.extensions = macExtensions(readings);
    if (!boot.extensions.empty()) {
        boot.extensionSummary = summary(boot.extensions, {{kThirdPartyOrigin, true}, {kAppleOrigin, true}});
    } else {
        boot.extensions = kernelModules(readings.files);
        boot.extensionSummary =
            summary(boot.extensions, {{kOutOfTreeOrigin, true}, {kUnsignedOrigin, false}, {kInTreeOrigin, true}});
    }
    return boot;
}

} // namespace veltrin::SystemProbe
