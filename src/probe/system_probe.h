#pragma once

#include "core/records.h"
#include "platform/readings.h"

namespace veltrin {

class Machine;

namespace SystemProbe {

// Starts every tool of the command table at once, each with its own time limit,
// together with dmidecode when one is found, reads the kernel values while they
// run, and returns when the last tool has ended. The only place a refresh starts
// tools: a refresh takes as long as its slowest tool.
MachineReadings readMachine(const Machine& machine);

// The snapshot the parsers make of finished readings, in their order: processor,
// mainboard, memory, graphics. Runs no tool and never waits.
SystemSnapshot snapshotFrom(const MachineReadings& readings);

// One complete snapshot of `machine`. Blocks until done; every tool is bounded by
// its time limit, so this always returns.
SystemSnapshot collect(const Machine& machine);

} // namespace SystemProbe
} // namespace veltrin
