#pragma once

#include <cstdint>
#include <string>

namespace veltrin {

// `value` with exactly `digits` fraction digits and "." as the separator, as
// printf's "%.Nf" gives in the C locale whatever locale the process runs in.
std::string fixedDecimal(double value, int digits);

// `value` in upper-case hexadecimal without leading zeros ("9E"), after "0x"
// when `prefixed` ("0x87F").
std::string hexText(std::uint64_t value, bool prefixed = false);

} // namespace veltrin
