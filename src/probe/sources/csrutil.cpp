#include "probe/sources/csrutil.h"

#include "core/fixed_decimal.h"
#include "core/unicode_text.h"

#include <array>
#include <utility>

namespace veltrin::SystemProbe {
namespace {

constexpr std::string_view kStatusLabel = "System Integrity Protection status:";

// The configuration flags of the macOS kernel header bsd/sys/csr.h (xnu, as in
// apple/darwin-xnu), by bit. Bit 5 also has the deprecated name
// CSR_ALLOW_DESTRUCTIVE_DTRACE; the current one is shown.
constexpr std::array<std::pair<std::uint32_t, std::string_view>, 12> kCsrFlags{{
    {0x1, "CSR_ALLOW_UNTRUSTED_KEXTS"},
    {0x2, "CSR_ALLOW_UNRESTRICTED_FS"},
    {0x4, "CSR_ALLOW_TASK_FOR_PID"},
    {0x8, "CSR_ALLOW_KERNEL_DEBUGGER"},
    {kCsrAllowAppleInternal, "CSR_ALLOW_APPLE_INTERNAL"},
    {0x20, "CSR_ALLOW_UNRESTRICTED_DTRACE"},
    {0x40, "CSR_ALLOW_UNRESTRICTED_NVRAM"},
    {0x80, "CSR_ALLOW_DEVICE_CONFIGURATION"},
    {0x100, "CSR_ALLOW_ANY_RECOVERY_OS"},
    {0x200, "CSR_ALLOW_UNAPPROVED_KEXTS"},
    {0x400, "CSR_ALLOW_EXECUTABLE_POLICY_OVERRIDE"},
    {0x800, "CSR_ALLOW_UNAUTHENTICATED_ROOT"},
}};

std::string_view flagName(std::uint32_t bit)
{
    for (const auto& [value, name] : kCsrFlags)
        if (value == bit)
            return name;
    return {};
}

} // namespace

std::string sipStatusWords(std::string_view status)
{
    const std::size_t label = status.find(kStatusLabel);
    if (label == std::string_view::npos)
        return {};
    std::string_view rest = status.substr(label + kStatusLabel.size());
    rest = rest.substr(0, rest.find('\n'));
    std::string words = trimmed(rest);
    if (words.ends_with('.'))
        words.pop_back();
    return trimmed(words);
}

std::string csrFlagNames(std::uint32_t configuration)
{
    std::string names;
    for (int shift = 0; shift < 32; ++shift) {
        const std::uint32_t bit = std::uint32_t{1} << shift;
        if ((configuration & bit) == 0)
            continue;
        const std::string_view name = flagName(bit);
        names += (names.empty() ? "" : ", ") + (name.empty() ? hexText(bit, true) : std::string(name));
    }
    return names;
}

} // namespace veltrin::SystemProbe
