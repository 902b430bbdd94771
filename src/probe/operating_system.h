#pragma once

// The operating system: its name and version with the build, the kernel release
// and the time since boot. macOS states only its version (sw_vers); any other
// system names itself (os-release).

#include "platform/readings.h"

#include <string>
#include <string_view>

namespace veltrin::SystemProbe {

// The mainboard record carries these three fields; the collection fills them from here.
struct OperatingSystemInfo {
    std::string os;
    std::string kernel;
    std::string uptime;
};

OperatingSystemInfo operatingSystemInfo(const MachineReadings& readings);

// The duration part of uptime's line ("3 days, 2:04"); without " up ", the
// whole text with doubled spaces made single.
std::string uptimeOnly(std::string_view text);

} // namespace veltrin::SystemProbe
