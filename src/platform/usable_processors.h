#pragma once

namespace veltrin {

// How many processors this process may run its threads on: the CPUs of its
// affinity mask where the system has one (taskset, cgroups, cpusets), else the
// active processor count. Never below 1.
int usableProcessorCount();

} // namespace veltrin
