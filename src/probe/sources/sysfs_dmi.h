#pragma once

// The SMBIOS strings Linux shows everyone in /sys/class/dmi/id (dmidecode needs
// root to read the tables themselves), and the Apple identity a Mac's tables or
// an Apple Silicon device tree give Linux.

#include "platform/readings.h"
#include "probe/sources/dmidecode.h"

#include <optional>
#include <string>
#include <string_view>

namespace veltrin::SystemProbe {

inline constexpr std::string_view kSysfsDmiSource = "Linux sysfs";

// The DMI record as the kernel's DMI attributes and udev's memory devices give
// it, with the source "Linux sysfs"; absent when neither holds anything. Its
// `raw` text is empty: there is no dump to search.
std::optional<DMIInfo> sysfsDmiInfo(const FileContents& files);

// The Apple identity Linux sees on a Mac: the SMBIOS system of an Apple machine,
// or the device tree of Apple Silicon. Every value is absent on other machines,
// so nothing of a PC's own identity lands in the macOS SMBIOS fields.
struct AppleIdentity {
    std::optional<std::string> model{};
    std::optional<std::string> modelName{};
    std::optional<std::string> boardID{};
    std::optional<std::string> serial{};
    std::optional<std::string> hardwareUUID{};
};
AppleIdentity linuxAppleIdentity(const FileContents& files);

} // namespace veltrin::SystemProbe
