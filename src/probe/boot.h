#pragma once

// The boot: on a Mac the boot arguments NVRAM holds, System Integrity
// Protection's state and stored configuration, and the kernel extensions loaded;
// on Linux the kernel command line, Secure Boot and the kernel modules.

#include "core/records.h"
#include "platform/readings.h"

#include <cstdint>
#include <string>

namespace veltrin::SystemProbe {

// The Mac's sources where they answered, else Linux's files.
BootInfo bootInfo(const MachineReadings& readings);

// "0x77", "0x87F": upper-case hexadecimal without leading zeros.
std::string sipValueText(std::uint32_t configuration);

} // namespace veltrin::SystemProbe
