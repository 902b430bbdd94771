#pragma once

// The fields whose values single out one machine: serial numbers, UUIDs and
// addresses of every kind. Reports and comparisons mask them unless asked not to.
// A field added to a record that carries such a value must be added here too.

#include <array>
#include <string>
#include <string_view>

namespace veltrin {

// By field path: "mainboard.serial"; a field of a list's members without an index
// ("memory.modules.serial").
inline constexpr std::array<std::string_view, 3> kIdentifierFields{
    "mainboard.serial",
    "mainboard.macSerial",
    "mainboard.hardwareUUID",
};

bool isIdentifierField(std::string_view path);

// `value` with all but its last four characters replaced by bullets ("••••••••3QF5"),
// so two reports of one machine still match. The bullets say only whether the value
// is short (up to 12 characters: 8 bullets) or long (16), never its length, and a
// value of fewer than 8 characters keeps none of its own.
std::string maskedIdentifier(std::string_view value);

} // namespace veltrin
