#pragma once

// What a Linux machine says of itself in the files a refresh read (linux_files.h),
// in the form the parsers take it. Each value is absent or empty where its file
// is missing, unreadable or holds no text, as on a machine that lacks it.

#include "core/records.h"
#include "platform/readings.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin::SystemProbe {

inline constexpr std::string_view kSysfsDmiSource = "Linux sysfs";

// A one-value system file as text: up to its first line break or zero byte,
// trimmed. Absent when the file was not read, the value is empty, or it is not
// text (ill-formed UTF-8, other control characters).
std::optional<std::string> systemFileText(const MachineReadings& readings, std::string_view path);

// The DMI record as the kernel's DMI attributes and udev's memory devices give
// it, with the source "Linux sysfs"; absent when neither holds anything. Its
// `raw` text is empty: there is no dump to search.
std::optional<DMIInfo> sysfsDmiInfo(const MachineReadings& readings);

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
AppleIdentity linuxAppleIdentity(const MachineReadings& readings);

// The distribution's PRETTY_NAME, "Linux" when its os-release names none, empty
// without an os-release file.
std::string osReleaseName(const MachineReadings& readings);

// Memory in use (total less available) as a byte count, and the available share
// of the total as a whole percentage ("72%"); both empty without /proc/meminfo.
struct MemoryUse {
    std::string used{};
    std::string pressure{};
};
MemoryUse linuxMemoryUse(const MachineReadings& readings);

// One record per PCI display controller, in PCI address order: named from the
// system's PCI ID database (numeric IDs where it lists none), its own memory where
// the driver states it, and the displays on its connected connectors.
std::vector<GPUInfo> pciDisplayAdapters(const MachineReadings& readings);

// The monitor name an EDID carries in its display descriptor; absent when the
// data is no EDID (wrong length or header) or names no monitor.
std::optional<std::string> edidMonitorName(std::string_view edid);

} // namespace veltrin::SystemProbe
