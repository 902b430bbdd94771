#pragma once

// The physical board, its firmware, the macOS SMBIOS identity and the operating
// system. On a machine booted through OpenCore, macOS reports a spoofed Apple
// identity; the trust filters keep such values, OpenCore markers and OEM filler
// out of the physical board fields, which stay empty rather than show them.
// mainboardInfo itself is declared with the other parsers in parsers.h.

#include <optional>
#include <string>
#include <string_view>

namespace veltrin::SystemProbe {

// True for a usable value that names an Apple product or an Apple board-id
// ("Apple Inc.", "iMacPro1,1", "Macmini8,1", "Mac-7BA5B2D9E42DDD94").
bool isAppleSMBIOSValue(const std::optional<std::string>& value);

// The trimmed value, unless it is filler, an Apple identity or an OpenCore marker.
std::optional<std::string> trustedBoardValue(const std::optional<std::string>& value);

// trustedBoardValue, and also no "serial"/"OEM" filler.
std::optional<std::string> trustedSerialValue(const std::optional<std::string>& value);

// The trimmed firmware text, unless it is filler, an Apple/EFI fallback or the
// OpenCore maker name that generated tables carry.
std::optional<std::string> trustedFirmwareValue(const std::optional<std::string>& value);

// The value of the quoted property `key` in ioreg text: a quoted string, or
// hexadecimal data decoded as text. Absent when neither form is there.
std::optional<std::string> ioregStringValue(std::string_view key, std::string_view text);

// Pairs of hexadecimal digits decoded as UTF-8 text, zero bytes dropped; absent
// when a pair is not hexadecimal, the bytes are not UTF-8, or the text is filler.
std::optional<std::string> hexToASCII(std::string_view hex);

// The duration part of uptime's line ("3 days, 2:04"); without " up ", the
// whole text with doubled spaces made single.
std::string uptimeOnly(std::string_view text);

} // namespace veltrin::SystemProbe
