#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace veltrin::SystemProbe {

// Firmware filler, memory-slot fillers and Veltrin's own placeholders, compared
// with the whole trimmed, lower-cased value.
inline constexpr std::array<std::string_view, 19> kPlaceholderValues{
    "\u2014",
    "to be filled by o.e.m.",
    "default string",
    "system product name",
    "system manufacturer",
    "base board product name",
    "base board manufacturer",
    "none",
    "unknown",
    "not specified",
    "not available",
    "empty",
    "no module installed",
    "no dimm",
    "not installed",
    "ram",
    "dram",
    "other memory",
    "other",
};

// True when the trimmed, lower-cased `value` is one of the placeholder values.
bool isPlaceholderValue(std::string_view loweredTrimmedValue);

// The trimmed value, or absent when it is absent, empty or a placeholder. The
// letter case of a kept value is unchanged.
std::optional<std::string> clean(const std::optional<std::string>& value);

} // namespace veltrin::SystemProbe
