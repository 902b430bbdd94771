#pragma once

// The system's PCI ID database (the pci.ids file pciutils and hwdata ship): a
// vendor line "1002  Advanced Micro Devices, Inc. [AMD/ATI]", under it one line
// per device "\t73bf  Navi 21 [Radeon RX 6800/6800 XT / 6900 XT]", under those
// subsystem lines, and after all vendors the device class lists ("C 03  …").

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin {

// One PCI function's identity: four lower-case hexadecimal digits each.
struct PciDeviceId {
    std::string vendor;
    std::string device;

    friend bool operator==(const PciDeviceId&, const PciDeviceId&) = default;
};

// The four hexadecimal digits of a sysfs ID file ("0x1002\n" gives "1002");
// absent for anything else.
std::optional<std::string> pciIdDigits(std::string_view sysfsText);

// True for a sysfs class file of a display controller (base class 0x03).
bool isDisplayClass(std::string_view sysfsText);

// The vendor and device lines of `database` that name `devices`, in database
// order: a database of its own that names these devices exactly as the whole
// one does, small enough for a capture to keep.
std::string pciIdsExcerpt(std::string_view database, const std::vector<PciDeviceId>& devices);

struct PciNames {
    std::optional<std::string> vendor;
    std::optional<std::string> device;
};

// The names `database` gives the device and its vendor; absent where it lists none.
PciNames pciNames(std::string_view database, const PciDeviceId& id);

} // namespace veltrin
