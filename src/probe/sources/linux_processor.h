#pragma once

// What Linux says of the processor in its files (/proc/cpuinfo, the online list,
// each processor's topology, cpu0's cache folders and clock) and what the
// processor answers to CPUID, as the kernel values macOS names them
// (command_table.h's KernelName), so one processor area reads both systems.

#include "platform/readings.h"
#include "probe/sources/cpuid.h"

#include <string_view>

namespace veltrin::SystemProbe {

// The brand string and feature flags from the first processor entry that has
// them; the logical processors online and the distinct cores among them; the
// nominal clock (the driver's base clock, else its highest, else the clock the
// kernel measured at boot); the four cache sizes from sysfs, else from CPUID.
// The family (base, then extended), full model (and its extended part),
// stepping and microcode revision of the first entry that states them. A value
// the files do not give is not there.
KernelValues linuxProcessorValues(const FileContents& files, std::string_view cpuid);

// The ways and line size cpu0's cache folder for `level` states.
CacheLayout sysfsCacheLayout(const FileContents& files, CacheLevel level);

} // namespace veltrin::SystemProbe
