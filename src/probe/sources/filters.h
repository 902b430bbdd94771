#pragma once

// What makes a candidate value usable. clean() is the first test of every value
// any tool gives; the trust filters then keep Apple identities, OpenCore markers
// and OEM filler out of the physical board and firmware fields; the memory
// filters tell an empty slot and a technology-less type word from a real value.
// The words each filter rejects are in core/no_value_words.h.

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace veltrin::SystemProbe {

// True when the trimmed, lower-cased `value` is one of the placeholder values.
bool isPlaceholderValue(std::string_view loweredTrimmedValue);

// The trimmed value, or absent when it is absent, empty or a placeholder. The
// letter case of a kept value is unchanged.
std::optional<std::string> clean(const std::optional<std::string>& value);

// The first candidate that survives clean, trimmed.
std::optional<std::string> firstUsable(std::initializer_list<std::optional<std::string>> candidates);

// True for a usable value that names an Apple product or an Apple board-id
// ("Apple Inc.", "iMacPro1,1", "Macmini8,1", "Mac-7BA5B2D9E42DDD94").
bool isAppleSMBIOSValue(const std::optional<std::string>& value);

// True when the text names OpenCore or its maker anywhere: the tables it
// generates carry that name, and no real board's do.
bool containsOpenCoreMarker(std::string_view text);

// True when the whole trimmed value is OEM filler ("Default string", "To Be Filled By O.E.M.", …).
bool isBoardFiller(std::string_view value);

// The trimmed value, unless it is filler, an Apple identity or an OpenCore marker.
std::optional<std::string> trustedBoardValue(const std::optional<std::string>& value);

// trustedBoardValue, and also no "serial"/"OEM" filler.
std::optional<std::string> trustedSerialValue(const std::optional<std::string>& value);

// The trimmed firmware text, unless it is filler, an Apple/EFI fallback or the
// OpenCore maker name that generated tables carry.
std::optional<std::string> trustedFirmwareValue(const std::optional<std::string>& value);

// True when the value says the slot holds no module (an empty value included).
bool isEmptyMemorySlot(std::string_view value);

// The trimmed type value, or absent when it names no technology: empty, a
// placeholder, an empty slot, a generic memory word, or "ram" without "ddr".
std::optional<std::string> cleanMemoryTypeValue(const std::optional<std::string>& value);

// A module field as shown: cleaned, and empty where the value only repeats that the slot is empty.
std::string moduleValue(const std::optional<std::string>& value);

} // namespace veltrin::SystemProbe
