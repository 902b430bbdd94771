// Parsers whose areas are not read yet: each returns the values shown before the
// first refresh and runs no tool.

#include "probe/parsers.h"

namespace veltrin::SystemProbe {

CPUInfo cpuInfo(const Machine&, std::string_view, std::string_view)
{
    return {"Unknown", "Apple / Intel", "Unknown", "\u2014", "\u2014", "\u2014", "\u2014", "\u2014", "\u2014", "\u2014", "\u2014"};
}

MainboardInfo mainboardInfo(const Machine&, std::string_view, std::string_view, std::string_view, const DMIInfo&)
{
    MainboardInfo info;
    info.chipset = "Unknown";
    return info;
}

MemoryInfo memoryInfo(const Machine&, std::string_view, std::string_view, const DMIInfo&)
{
    return {"\u2014", "\u2014", "\u2014", "\u2014", "\u2014", "\u2014", {}};
}

std::vector<GPUInfo> gpuInfo(std::string_view) { return {}; }

} // namespace veltrin::SystemProbe
