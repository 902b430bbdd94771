// Not read yet: returns the values shown before the first refresh and runs no tool.

#include "probe/parsers.h"

namespace veltrin::SystemProbe {

CPUInfo cpuInfo(const Machine&, std::string_view, std::string_view)
{
    return {"Unknown", "Apple / Intel", "Unknown", "\u2014", "\u2014", "\u2014", "\u2014", "\u2014", "\u2014", "\u2014", "\u2014"};
}

} // namespace veltrin::SystemProbe
