#pragma once

// The physical board, its firmware and the macOS SMBIOS identity. On a machine
// booted through OpenCore, macOS reports a spoofed Apple identity; the trust
// filters keep such values, OpenCore markers and OEM filler out of the physical
// board fields, which stay empty rather than show them.

#include "core/records.h"
#include "platform/readings.h"
#include "probe/sources/dmidecode.h"

namespace veltrin::SystemProbe {

// Every field but the operating system's three (os, kernel, uptime), which
// operating_system.h reads and the collection puts in.
MainboardInfo mainboardInfo(const MachineReadings& readings, const DMIInfo& dmi);

} // namespace veltrin::SystemProbe
