#pragma once

// The processor record: name, vendor, architecture, core counts, clock, the four
// caches, the feature flags, each kind of core of a chip that has several, and
// whether Veltrin runs translated by Rosetta. The kernel values macOS names are
// the sources; on Linux its processor files stand in for them.

#include "core/records.h"
#include "platform/readings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace veltrin::SystemProbe {

CPUInfo cpuInfo(const MachineReadings& readings);

// "GenuineIntel", "AuthenticAMD", "Apple Silicon / ARM64" or "Unknown", from the
// first vendor word found anywhere in the four texts. Intel words are looked for
// first, so "intel" anywhere (even in the report of an arm64 machine) wins.
std::string cpuVendor(std::string_view from, std::string_view architecture, std::string_view features,
                      std::string_view hardware);

// A cache size in bytes as shown ("32 KB", "12 MB"), or "—" when unknown or no real cache's size.
std::string cacheSizeText(std::optional<std::int64_t> bytes);

// A clock in hertz as "3.60 GHz", with "." as the separator in every locale.
std::string gigahertzText(std::int64_t hertz);

} // namespace veltrin::SystemProbe
