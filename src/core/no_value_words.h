#pragma once

// Every list of words that stand where a value is missing, side by side. They
// differ on purpose: each serves one decision, and a word in one list may be a
// real value for another ("Other" is filler for a board, a memory type for a
// module; "none" hides a field but is a fine boot argument). All are compared
// with the trimmed, lower-cased value.

#include <array>
#include <string_view>

namespace veltrin::NoValueWords {

// clean(): any candidate value of any tool; whole-value equality. Firmware
// filler, memory-slot filler and Veltrin's own placeholders.
inline constexpr std::array<std::string_view, 19> kPlaceholders{
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

// veltrinShouldHideField(): a row of the interface hides a value that equals one
// of these, or (next list) contains one of the fragments.
inline constexpr std::array<std::string_view, 13> kHiddenValues{
    "\u2014",       "-",       "n/a",  "na",       "not exposed", "not available", "not exposed by macos",
    "unknown",      "not detected", "empty", "no module installed", "not installed", "smbios fallback"};
inline constexpr std::array<std::string_view, 6> kHiddenFragments{
    "not exposed", "not available", "smbios fallback", "apple/efi", "to be filled", "default string"};

// trustedBoardValue(): OEM filler in a board, system or asset-tag string; whole-value equality.
inline constexpr std::array<std::string_view, 11> kBoardFiller{
    "to be filled by o.e.m.", "to be filled by oem", "default string", "system product name",
    "base board product name", "base board version", "none", "null", "0", "1.0", "not specified",
};

// trustedSerialValue(): a serial number containing one of these is filler.
inline constexpr std::array<std::string_view, 3> kSerialFiller{"serial", "o.e.m", "oem"};

// isEmptyMemorySlot(): a module size or type equal to one of these, or containing
// the fragment, marks a slot that holds no module.
inline constexpr std::array<std::string_view, 4> kEmptySlots{
    "empty", "no module installed", "not installed", "no dimm",
};
inline constexpr std::string_view kEmptySlotFragment = "no module";

// cleanMemoryTypeValue(): words that name memory without naming its technology.
inline constexpr std::array<std::string_view, 6> kGenericMemory{
    "ram", "dram", "sdram", "unknown", "other", "other memory",
};

} // namespace veltrin::NoValueWords
