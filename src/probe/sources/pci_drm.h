#pragma once

// Graphics adapters as Linux lists them: the PCI display controllers under
// /sys/bus/pci/devices, named from the system's PCI ID database, with the
// displays on the connected connectors under /sys/class/drm.

#include "core/records.h"
#include "platform/readings.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin::SystemProbe {

// One record per PCI display controller, in PCI address order: named from the
// system's PCI ID database (numeric IDs where it lists none), its own memory where
// the driver states it, and the displays on its connected connectors.
std::vector<GPUInfo> pciDisplayAdapters(const FileContents& files);

// The monitor name an EDID carries in its display descriptor; absent when the
// data is no EDID (wrong length or header) or names no monitor.
std::optional<std::string> edidMonitorName(std::string_view edid);

} // namespace veltrin::SystemProbe
