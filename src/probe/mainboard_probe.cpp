// Not read yet: returns the values shown before the first refresh and runs no tool.

#include "probe/parsers.h"

namespace veltrin::SystemProbe {

MainboardInfo mainboardInfo(const Machine&, std::string_view, std::string_view, std::string_view, const DMIInfo&)
{
    MainboardInfo info;
    info.chipset = "Unknown";
    return info;
}

} // namespace veltrin::SystemProbe
