#pragma once

// systemd's udev record of the DMI device (/run/udev/data/+dmi:id): the memory
// devices of the SMBIOS tables, readable without root where dmidecode is not.

#include "core/records.h"

#include <string_view>
#include <vector>

namespace veltrin::SystemProbe {

// One module per populated memory device of the record ("E:MEMORY_DEVICE_<n>_SIZE=8589934592",
// …_LOCATOR, …_TYPE, …), in device order; devices marked not present, without a
// size, or non-volatile (firmware flash) are left out.
std::vector<MemoryModule> udevMemoryModules(std::string_view record);

} // namespace veltrin::SystemProbe
