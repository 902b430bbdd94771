#include "core/byte_count.h"

#include "core/fixed_decimal.h"

#include <array>
#include <cmath>
#include <string_view>

namespace veltrin {
namespace {

struct Unit {
    std::string_view name;
    int fractionDigits;
};

constexpr std::array<Unit, 4> kUnits{{{"KB", 0}, {"MB", 1}, {"GB", 2}, {"TB", 2}}};

std::string withoutTrailingZeros(std::string number)
{
    if (number.find('.') == std::string::npos)
        return number;
    while (number.back() == '0')
        number.pop_back();
    if (number.back() == '.')
        number.pop_back();
    return number;
}

double roundedTo(double value, int digits)
{
    const double scale = std::pow(10.0, digits);
    return std::round(value * scale) / scale;
}

} // namespace

std::string formatByteCount(std::int64_t bytes)
{
    const bool negative = bytes < 0;
    double value = std::fabs(static_cast<double>(bytes)) / 1024.0;
    std::size_t unit = 0;
    // Move up while the value, as it would be printed, reaches a whole next unit.
    while (unit + 1 < kUnits.size() && roundedTo(value, kUnits[unit].fractionDigits) >= 1024.0) {
        value /= 1024.0;
        ++unit;
    }
    std::string text = withoutTrailingZeros(
        fixedDecimal(roundedTo(value, kUnits[unit].fractionDigits), kUnits[unit].fractionDigits));
    if (negative && text != "0")
        text.insert(0, "-");
    return text + " " + std::string(kUnits[unit].name);
}

} // namespace veltrin
