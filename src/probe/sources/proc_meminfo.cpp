#include "probe/sources/proc_meminfo.h"

#include "core/byte_count.h"
#include "core/unicode_text.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace veltrin::SystemProbe {
namespace {

// The kilobyte count of one /proc/meminfo line ("MemTotal:  16318084 kB").
std::optional<std::int64_t> meminfoKilobytes(std::string_view meminfo, std::string_view key)
{
    std::size_t start = 0;
    while (start < meminfo.size()) {
        const std::size_t end = std::min(meminfo.find('\n', start), meminfo.size());
        const std::string_view line = meminfo.substr(start, end - start);
        start = end + 1;
        if (!line.starts_with(key) || line.substr(key.size(), 1) != ":")
            continue;
        std::string number = trimmed(line.substr(key.size() + 1));
        if (number.ends_with(" kB"))
            number.resize(number.size() - 3);
        return decimalDigitsValue(trimmed(number));
    }
    return std::nullopt;
}

} // namespace

MemoryUse linuxMemoryUse(std::optional<std::string_view> meminfo)
{
    if (!meminfo)
        return {};
    const auto total = meminfoKilobytes(*meminfo, "MemTotal");
    const auto available = meminfoKilobytes(*meminfo, "MemAvailable");
    constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max() / 1024;
    if (!total || !available || *total <= 0 || *available > *total || *total > kLargest)
        return {};
    return {
        .used = formatByteCount((*total - *available) * 1024),
        .pressure = std::to_string(static_cast<std::int64_t>(static_cast<double>(*available) * 100.0 /
                                                             static_cast<double>(*total))) +
                    "%",
    };
}

} // namespace veltrin::SystemProbe
