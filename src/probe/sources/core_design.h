#pragma once

// The core design Apple's kernel reports as hw.cpufamily, by the name of its
// CPUFAMILY_ARM_* constant.

#include <cstdint>
#include <optional>
#include <string_view>

namespace veltrin::SystemProbe {

// "Firestorm / Icestorm" for 0x1B588BB3; absent for a value the table does not
// hold (an Intel design, or a chip newer than the table). Only the low 32 bits
// count: sysctl prints the value signed.
std::optional<std::string_view> armCoreDesign(std::int64_t cpuFamily);

} // namespace veltrin::SystemProbe
