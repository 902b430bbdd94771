#pragma once

// Graphics adapters: one record per "Chipset Model:" piece of the graphics
// report; on Linux, which has no such report, the PCI display controllers.

#include "core/records.h"
#include "platform/readings.h"

#include <string_view>
#include <vector>

namespace veltrin::SystemProbe {

// The graphics report's adapters, or the "GPU" placeholder when it names none.
std::vector<GPUInfo> gpuInfo(std::string_view sp);

// The graphics report's adapters, else the PCI display controllers Linux lists,
// else the placeholder.
std::vector<GPUInfo> graphicsInfo(const MachineReadings& readings);

} // namespace veltrin::SystemProbe
