#pragma once

// What a Linux kernel says about its boot: the modules it has loaded
// (/proc/modules, one "name size uses users state address [(marks)]" line each,
// the marks its taint letters: O out-of-tree, E unsigned, P proprietary), each
// module's version file where it states one, and the firmware's Secure Boot
// variable (four attribute bytes, then 1 or 0).

#include "core/records.h"
#include "platform/readings.h"

#include <string>
#include <vector>

namespace veltrin::SystemProbe {

// The loaded modules in the kernel's order, at most kMaxListedExtensions: the
// name, the module's version file (empty without one), and "out-of-tree" when
// its marks hold O, else "unsigned" when they hold E, else "in-tree".
std::vector<KernelExtension> kernelModules(const FileContents& files);

// "enabled" or "disabled" from the Secure Boot variable; empty where it was not
// read or holds something else.
std::string secureBootState(const FileContents& files);

} // namespace veltrin::SystemProbe
