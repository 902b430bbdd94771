#pragma once

// The table of loaded kernel extensions that kextstat prints (and, on macOS 11
// and later, `kmutil showloaded`, which kextstat runs itself):
//   Index Refs Address            Size       Wired      Name (Version) UUID <Linked Against>
//      51    2 0                  0x88000    0x88000    as.vit9696.Lilu (1.5.4) 05AEBFE1-… <9 7 6 3 2 1>
// macOS 11 and later print two lines before the header and may show every
// address as 0; 10.9 and earlier have no UUID column; versions are the bundle's
// own text and need not be dotted ("(1759)", "(6.0.12f1)").

#include "core/records.h"

#include <string_view>
#include <vector>

namespace veltrin::SystemProbe {

// Every row of the table in the order printed, at most kMaxListedExtensions:
// the identifier, the version between the parentheses, and the origin, "Apple"
// for Apple's bundles (com.apple.…) and the kernel itself, "third-party"
// otherwise. Lines that are not rows (the preamble, the header) are passed over.
std::vector<KernelExtension> loadedExtensions(std::string_view listing);

} // namespace veltrin::SystemProbe
