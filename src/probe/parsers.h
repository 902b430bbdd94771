#pragma once

// The per-area parsers that collect() calls, in its order. `hw` is accepted for
// symmetry with the other parsers and is not read.

#include "core/records.h"

#include <string_view>
#include <vector>

namespace veltrin {

class Machine;

namespace SystemProbe {

CPUInfo cpuInfo(const Machine& machine, std::string_view hw, std::string_view hardware);
MainboardInfo mainboardInfo(const Machine& machine, std::string_view hw, std::string_view hardware,
                            std::string_view software, const DMIInfo& dmi);
MemoryInfo memoryInfo(const Machine& machine, std::string_view hw, std::string_view sp, const DMIInfo& dmi);
std::vector<GPUInfo> gpuInfo(std::string_view sp);

} // namespace SystemProbe
} // namespace veltrin
