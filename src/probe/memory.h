#pragma once

// Memory: the installed total from the kernel, modules from the memory report or
// else from the DMI tables (never both), memory use, and a technology that is
// read where it is stated and only inferred, and marked so, where it is not.

#include "core/records.h"
#include "platform/readings.h"
#include "probe/sources/dmidecode.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin::SystemProbe {

// Qualifiers dmidecode and firmware put around the technology name.
inline constexpr std::array<std::string_view, 3> kTechnologyQualifiers{"Synchronous", "Unbuffered", "Registered"};

inline constexpr std::string_view kStatedTechnologyPattern = "(?i)\\b(LPDDR[2-6]X?|DDR[2-6])\\b";

struct SpeedRange {
    int lowest;
    int highest;
    std::string_view technology;
};

// Walked in order; the gap 4401 to 4799 is deliberate: DDR4 overclocks and DDR5
// base speeds meet there, so no guess is made.
inline constexpr std::array<SpeedRange, 4> kTechnologyBySpeed{{
    {4800, 9000, "DDR5 (inferred)"},
    {2133, 4400, "DDR4 (inferred)"},
    {800, 2132, "DDR3 (inferred)"},
    {400, 799, "DDR2 (inferred)"},
}};

struct ChipsetTechnology {
    std::string_view chipset;
    std::string_view technology;
};

// Lower-case substrings, walked in order, first hit wins: the DDR5 boards come
// first so a text naming boards of both generations counts as DDR5.
inline constexpr std::array<ChipsetTechnology, 17> kTechnologyByChipset{{
    {"z890", "DDR5 (inferred)"},
    {"z790", "DDR5 (inferred)"},
    {"z690", "DDR5 (inferred)"},
    {"b860", "DDR5 (inferred)"},
    {"x870", "DDR5 (inferred)"},
    {"x670", "DDR5 (inferred)"},
    {"b650", "DDR5 (inferred)"},
    {"z590", "DDR4 (inferred)"},
    {"z490", "DDR4 (inferred)"},
    {"z390", "DDR4 (inferred)"},
    {"z370", "DDR4 (inferred)"},
    {"b760", "DDR4 (inferred)"},
    {"b660", "DDR4 (inferred)"},
    {"b560", "DDR4 (inferred)"},
    {"b460", "DDR4 (inferred)"},
    {"x570", "DDR4 (inferred)"},
    {"b550", "DDR4 (inferred)"},
}};

// The first technology a candidate states ("DDR4", "LPDDR5X"), else the one the
// speed suggests, else absent.
std::optional<std::string> memoryTechnology(const std::vector<std::optional<std::string>>& candidates,
                                            std::string_view speed);

std::optional<std::string> inferredMemoryTechnologyFromSpeed(std::string_view speed);
std::optional<std::string> inferredMemoryTechnologyFromPlatformText(std::string_view text);

MemoryInfo memoryInfo(const MachineReadings& readings, const DMIInfo& dmi);

} // namespace veltrin::SystemProbe
