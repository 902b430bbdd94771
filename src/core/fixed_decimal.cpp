#include "core/fixed_decimal.h"

#include <array>
#include <charconv>

namespace veltrin {

std::string fixedDecimal(double value, int digits)
{
    std::array<char, 400> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, digits);
    if (result.ec != std::errc())
        return "nan";
    return std::string(buffer.data(), result.ptr);
}

} // namespace veltrin
