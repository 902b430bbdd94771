#pragma once

// The one trusted path to the physical BIOS, system and baseboard strings: an
// external dmidecode, found and run once per collection with the other tools,
// then parsed here.

#include "core/records.h"
#include "platform/readings.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin {

class Machine;

namespace SystemProbe {

inline constexpr std::string_view kBundledDmidecodeSource = "Bundled Acidanthera dmidecode";
inline constexpr std::string_view kExternalDmidecodeSource = "External dmidecode";
inline constexpr std::string_view kUnreadableDmidecodeSource = "dmidecode found but could not read SMBIOS";

// The path of the first usable dmidecode, or absent: the application's own copy,
// then the usual install locations, then the platform's own. A placeholder text
// file standing where the tool should be is passed over.
std::optional<std::string> dmidecodeExecutable(const Machine& machine);

// What dmidecode's run says; never fails. Empty when none was found; the source
// names which copy was read, or that the one found could not read the tables.
DMIInfo dmiInfo(const MachineReadings& readings);

// dmidecode output split into record blocks, header lines dropped.
std::vector<std::string> dmiBlocks(std::string_view text);

// The value of `key` in the first block containing `handle` that has that key,
// taken from the key's own line only, so a key with nothing but blanks after its
// colon gives no usable value.
std::optional<std::string> dmiValue(std::string_view text, std::string_view handle, std::string_view key);

} // namespace SystemProbe
} // namespace veltrin
