#include "core/fixed_decimal.h"

#include <cstdio>
#include <ios>
#include <locale>
#include <sstream>

namespace veltrin {

// A stream with the classic locale rounds exactly as printf does and never takes
// the process locale's separator. Floating-point std::to_chars would do the same,
// but Apple's C++ library has it only from macOS 13.4.
std::string fixedDecimal(double value, int digits)
{
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << std::fixed;
    text.precision(digits < 0 ? 0 : digits);
    text << value;
    return text.str();
}

std::string hexText(std::uint64_t value, bool prefixed)
{
    char text[24];
    std::snprintf(text, sizeof text, prefixed ? "0x%llX" : "%llX", static_cast<unsigned long long>(value));
    return text;
}

} // namespace veltrin
