#pragma once

// /proc/meminfo: how much of its memory the Linux kernel has in use.

#include <optional>
#include <string>
#include <string_view>

namespace veltrin::SystemProbe {

// Memory in use (total less available) as a byte count, and the available share
// of the total as a whole percentage ("72%"); both empty without the file or
// when its figures make no sense.
struct MemoryUse {
    std::string used{};
    std::string pressure{};
};
MemoryUse linuxMemoryUse(std::optional<std::string_view> meminfo);

} // namespace veltrin::SystemProbe
