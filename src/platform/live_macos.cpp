// On macOS the kernel values come straight from sysctlbyname.

#include "platform/live_machine.h"

#include "core/unicode_text.h"

#include <cstring>
#include <sys/sysctl.h>
#include <sys/types.h>

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
        if (const auto kind = variableKind(key); kind && *kind != CTLTYPE_INT && *kind != CTLTYPE_QUAD)
            return std::nullopt; // a string or a structure is never read as a number
        // Room for eight bytes; the size the kernel reports says how many it wrote.
        unsigned char bytes[8] = {};
        size_t size = sizeof bytes;
        if (::sysctlbyname(key.c_str(), bytes, &size, nullptr, 0) != 0) {
            size = sizeof(std::int32_t);
            if (::sysctlbyname(key.c_str(), bytes, &size, nullptr, 0) != 0)
                return std::nullopt;
        }
        if (size == sizeof(std::int32_t)) {
            std::int32_t narrow = 0;
            std::memcpy(&narrow, bytes, sizeof narrow);
            return narrow; // sign-extended: -1 stays -1
        }
        if (size == sizeof(std::int64_t)) {
            std::int64_t wide = 0;
            std::memcpy(&wide, bytes, sizeof wide);
            return wide;
        }
        return std::nullopt;
    }

    std::string_view platform() const override { return kMacPlatform; }

private:
    // The kind of value a variable holds (CTLTYPE_INT, CTLTYPE_STRING, …), from
    // the kernel's format entry for it: the query {0, 4, <its numeric name>} that
    // the sysctl tool makes. Absent when the kernel does not say.
    static std::optional<int> variableKind(const std::string& key)
    {
        int mib[CTL_MAXNAME + 2] = {0, 4};
        size_t length = CTL_MAXNAME;
        if (::sysctlnametomib(key.c_str(), mib + 2, &length) != 0)
            return std::nullopt;
        unsigned char format[256]; // the kind, then the format text
        size_t size = sizeof format;
        if (::sysctl(mib, static_cast<u_int>(length + 2), format, &size, nullptr, 0) != 0 || size < sizeof(u_int))
            return std::nullopt;
        u_int kind = 0;
        std::memcpy(&kind, format, sizeof kind);
        return static_cast<int>(kind & CTLTYPE);
    }
};

} // namespace

std::unique_ptr<Machine> makeLiveMachine() { return std::make_unique<MacMachine>(); }

} // namespace veltrin
