#pragma once

// ioreg's listings of the I/O Registry: the platform device (the Mac identity
// macOS presents) and the device tree (board properties a boot loader may add).

#include <optional>
#include <string>
#include <string_view>

namespace veltrin::SystemProbe {

// The value of the quoted property `key` in ioreg text: a quoted string, or
// hexadecimal data decoded as text. Absent when neither form is there.
std::optional<std::string> ioregStringValue(std::string_view key, std::string_view text);

// Pairs of hexadecimal digits decoded as UTF-8 text, zero bytes dropped; absent
// when a pair is not hexadecimal, the bytes are not UTF-8, or the text is filler.
std::optional<std::string> hexToASCII(std::string_view hex);

// The platform device's board-id: the data form <4d61632d…00> first, then the
// quoted forms "…" and <"…"> (the second is how ioreg prints it on real Macs).
std::optional<std::string> ioregBoardID(std::string_view registry);

// The platform device's IOPlatformSerialNumber and IOPlatformUUID, as printed.
std::optional<std::string> ioregPlatformSerial(std::string_view registry);
std::optional<std::string> ioregPlatformUUID(std::string_view registry);

} // namespace veltrin::SystemProbe
