#pragma once

#include <string>

namespace veltrin {

// `value` with exactly `digits` fraction digits and "." as the separator, as
// printf's "%.Nf" gives in the C locale whatever locale the process runs in.
std::string fixedDecimal(double value, int digits);

} // namespace veltrin
