#pragma once

// System Integrity Protection: what `csrutil status` reports, and the names of
// the configuration bits that csr-active-config holds.
//   System Integrity Protection status: unknown (Custom Configuration).
//
//   Configuration:
//   	Apple Internal: disabled
//   	Kext Signing: disabled
//   	…
// The status words vary by version: "enabled.", "disabled.", "enabled (Custom
// Configuration)." (to 10.13), "unknown (Custom Configuration)." (10.15 on),
// "disabled (Apple Internal).". The Configuration list that custom settings add
// states each protection in words and is not read: the bits say the same.

#include <cstdint>
#include <string>
#include <string_view>

namespace veltrin::SystemProbe {

// The words after "System Integrity Protection status:" without the final
// period ("enabled", "unknown (Custom Configuration)"); empty without that line.
std::string sipStatusWords(std::string_view status);

// The CSR bit that, when set, keeps macOS from offering software updates.
inline constexpr std::uint32_t kCsrAllowAppleInternal = 0x10;

// The names of the set bits of a configuration, lowest bit first, ", " between
// them, as the kernel's header names them; a bit it does not name as "0x…".
std::string csrFlagNames(std::uint32_t configuration);

} // namespace veltrin::SystemProbe
