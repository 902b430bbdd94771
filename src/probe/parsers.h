#pragma once

// The per-area parsers, in the order a snapshot is made. Each is a pure function
// of finished tool outputs and kernel values: none runs a tool or waits.

#include "core/records.h"
#include "platform/readings.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace veltrin::SystemProbe {

// The most memory modules or graphics adapters one snapshot lists. The largest
// servers have a few hundred DIMM slots; a report that seems to list more is
// not a real one, and parsing it on would only cost time and memory.
inline constexpr std::size_t kMaxListedDevices = 256;

CPUInfo cpuInfo(const MachineReadings& readings);
MainboardInfo mainboardInfo(const MachineReadings& readings, const DMIInfo& dmi);
MemoryInfo memoryInfo(const MachineReadings& readings, const DMIInfo& dmi);
// The graphics report's adapters, or the "GPU" placeholder when it names none.
std::vector<GPUInfo> gpuInfo(std::string_view sp);
// The graphics report's adapters, else the PCI display controllers Linux lists,
// else the placeholder.
std::vector<GPUInfo> graphicsInfo(const MachineReadings& readings);

} // namespace veltrin::SystemProbe
