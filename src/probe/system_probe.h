#pragma once

#include "core/records.h"
#include "platform/readings.h"
#include "probe/sources/dmidecode.h"

namespace veltrin {

class Machine;

namespace SystemProbe {

// The DMI tables, read once for the board and the memory: dmidecode's dump when
// it read them; else, where it cannot (Linux without root), the strings Linux
// shows everyone; else what dmidecode said of its failure, or nothing when none
// was found.
DMIInfo dmiTables(const MachineReadings& readings);

// The snapshot the areas make of finished readings, in their order: processor,
// mainboard (with the operating system), memory, graphics. Runs no tool and
// never waits.
SystemSnapshot snapshotFrom(const MachineReadings& readings);

// One complete snapshot of `machine`: readMachine, then snapshotFrom. Blocks
// until done; every tool is bounded by its time limit, so this always returns.
SystemSnapshot collect(const Machine& machine);

} // namespace SystemProbe
} // namespace veltrin
