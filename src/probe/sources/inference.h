#pragma once

// Guesses of the board maker, board name, chipset and firmware maker from text,
// for when neither the DMI tables nor the device tree name them. Every guess is
// an ordered table: the first entry that hits decides, so overlapping entries are
// resolved by their position alone.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace veltrin::SystemProbe {

// A lower-case substring and the name it stands for.
using SubstringRule = std::pair<std::string_view, std::string_view>;

// The name of the first rule whose substring `loweredText` contains, in table order.
std::optional<std::string_view> firstSubstringHit(std::string_view loweredText, std::span<const SubstringRule> rules);

// Board maker named anywhere in the text (ACPI OEM ids, DMI and registry strings),
// by a maker word with no letter right before it.
std::optional<std::string> acpiOEMGuess(std::string_view text);

// MSI, when the text names both a Killer network adapter and MSI.
std::optional<std::string> pciVendorGuess(std::string_view text);

// Board maker implied by a product line in the board name ("AORUS", "ROG ", …).
std::optional<std::string> manufacturerFromBoardName(const std::optional<std::string>& name);

// A Z890 board name found in the text, on a single line.
std::optional<std::string> acpiBoardGuess(std::string_view text);

// A chipset code such as Z790 or AMD A520 found in the text, with its vendor; a
// bare code only AMD uses (X570, B550, …) is AMD's.
std::optional<std::string> chipsetFromText(std::string_view text);

// The chipset or platform the text points to, or "Unknown".
std::string chipsetGuess(std::string_view text);

// chipsetGuess, or "" where the guess is unknown or only names an Apple platform.
std::string trustedChipsetGuess(std::string_view text);

// Firmware maker named in the text.
std::optional<std::string> firmwareVendorGuess(std::string_view text);

} // namespace veltrin::SystemProbe
