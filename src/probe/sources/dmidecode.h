#pragma once

// dmidecode's dump of the SMBIOS tables: the one trusted path to the physical
// BIOS, system and baseboard strings and to the memory devices.

#include "core/process_runner.h"
#include "core/records.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin::SystemProbe {

// What the DMI tables said, once per collection. The optional values are exactly
// as extracted (placeholders included); the consumers filter them.
struct DMIInfo {
    std::string source{};
    std::string raw{};
    std::optional<std::string> systemManufacturer{};
    std::optional<std::string> systemProduct{};
    std::optional<std::string> systemSerial{};
    std::optional<std::string> systemVersion{};
    std::optional<std::string> baseboardManufacturer{};
    std::optional<std::string> baseboardProduct{};
    std::optional<std::string> baseboardVersion{};
    std::optional<std::string> baseboardSerial{};
    std::optional<std::string> boardAssetTag{};
    std::optional<std::string> biosVendor{};
    std::optional<std::string> biosVersion{};
    std::optional<std::string> biosDate{};
    std::vector<MemoryModule> memoryModules{};
};

inline constexpr std::string_view kBundledDmidecodeSource = "Bundled Acidanthera dmidecode";
inline constexpr std::string_view kExternalDmidecodeSource = "External dmidecode";
inline constexpr std::string_view kUnreadableDmidecodeSource = "dmidecode found but could not read SMBIOS";

// What the run of the dmidecode at `path` says: its strings and memory devices
// when it read the tables, else only the source saying it could not.
DMIInfo dmidecodeInfo(std::string_view path, const ProcessResult& result);

// dmidecode output split into record blocks, header lines dropped.
std::vector<std::string> dmiBlocks(std::string_view text);

// The value of `key` in the first block containing `handle` that has that key,
// taken from the key's own line only, so a key with nothing but blanks after its
// colon gives no usable value.
std::optional<std::string> dmiValue(std::string_view text, std::string_view handle, std::string_view key);

// One module per populated "Memory Device" block, in the dump's order.
std::vector<MemoryModule> dmiMemoryModules(std::string_view text);

} // namespace veltrin::SystemProbe
