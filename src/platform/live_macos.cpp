// On macOS the kernel values come straight from sysctlbyname.

#include "platform/live_machine.h"

#include "core/unicode_text.h"

#include <sys/sysctl.h>

namespace veltrin {
namespace {

class MacMachine final : public LiveMachine {
public:
    std::string sysctlValue(std::string_view name) const override
    {
        const std::string key(name);
        size_t size = 0;
        ::sysctlbyname(key.c_str(), nullptr, &size, nullptr, 0);
        if (size < 1)
            return {};
        std::string buffer(size, '\0');
        ::sysctlbyname(key.c_str(), buffer.data(), &size, nullptr, 0);
        const auto zero = buffer.find('\0');
        if (zero != std::string::npos)
            buffer.resize(zero);
        return utf8Lossy(buffer);
    }

    std::optional<std::int64_t> sysctlInt(std::string_view name) const override
    {
        const std::string key(name);
        std::int64_t wide = 0;
        size_t size = sizeof wide;
        if (::sysctlbyname(key.c_str(), &wide, &size, nullptr, 0) == 0)
            return wide;
        std::int32_t narrow = 0;
        size = sizeof narrow;
        if (::sysctlbyname(key.c_str(), &narrow, &size, nullptr, 0) == 0)
            return static_cast<std::int64_t>(narrow);
        return std::nullopt;
    }

    std::string_view platform() const override { return kMacPlatform; }
};

} // namespace

std::unique_ptr<Machine> makeLiveMachine() { return std::make_unique<MacMachine>(); }

} // namespace veltrin
