#pragma once

#include <cstdint>
#include <string>

namespace veltrin {

// A byte count in the 1,024-based memory style with units KB, MB, GB and TB only
// (never bytes): KB with no fraction, MB with one digit, GB and TB with two,
// trailing zeros dropped, "." as the decimal separator. 1572864 gives "1.5 MB".
std::string formatByteCount(std::int64_t bytes);

} // namespace veltrin
