#pragma once

#include "core/records.h"

namespace veltrin {

class Machine;

namespace SystemProbe {

// One complete snapshot of `machine`: the three reports, sw_vers and dmidecode run
// concurrently, then the parsers run in order on the calling thread. Blocks until
// done; every tool is bounded by its time limit, so this always returns.
SystemSnapshot collect(const Machine& machine);

} // namespace SystemProbe
} // namespace veltrin
