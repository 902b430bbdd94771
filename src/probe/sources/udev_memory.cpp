#include "probe/sources/udev_memory.h"

#include "core/byte_count.h"
#include "core/unicode_text.h"
#include "probe/sources/filters.h"

#include <charconv>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace veltrin::SystemProbe {
namespace {

// One memory device's keys without their "MEMORY_DEVICE_<n>_" prefix ("SIZE", "LOCATOR", …).
using UdevDevice = std::map<std::string, std::string, std::less<>>;

// Every device of the record by its number. More device numbers than any real
// table holds are not collected: a record listing thousands costs no more than
// one listing a few hundred.
std::map<std::uint32_t, UdevDevice> udevDevices(std::string_view record)
{
    static constexpr std::string_view prefix = "E:MEMORY_DEVICE_";
    constexpr std::size_t kMaxDevices = 4 * kMaxListedDevices;
    const std::string text = isValidUtf8(record) ? std::string(record) : utf8Lossy(record);

    std::map<std::uint32_t, UdevDevice> devices;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = std::string_view(text).substr(start, end - start);
        start = end + 1;
        if (!line.starts_with(prefix))
            continue;
        const std::string_view rest = line.substr(prefix.size());
        const auto underscore = rest.find('_');
        const auto equals = rest.find('=');
        std::uint32_t number = 0;
        const auto [digitsEnd, error] =
            std::from_chars(rest.data(), rest.data() + std::min(underscore, rest.size()), number);
        if (underscore == std::string_view::npos || equals == std::string_view::npos || equals < underscore ||
            error != std::errc() || digitsEnd != rest.data() + underscore)
            continue;
        if (devices.find(number) == devices.end() && devices.size() == kMaxDevices)
            continue;
        devices[number].insert_or_assign(std::string(rest.substr(underscore + 1, equals - underscore - 1)),
                                         std::string(rest.substr(equals + 1)));
    }
    return devices;
}

std::optional<std::string> udevValue(const UdevDevice& device, std::string_view key)
{
    const auto found = device.find(key);
    return found == device.end() ? std::nullopt : std::optional(found->second);
}

std::optional<std::int64_t> udevCount(const UdevDevice& device, std::string_view key)
{
    const auto value = udevValue(device, key);
    return value ? decimalDigitsValue(*value) : std::nullopt;
}

// Firmware flash shares the table with the memory modules (an HP Z600 lists its
// 2 MB "SYSTEM ROM"); it is no module of the machine's memory.
bool isNonVolatile(const UdevDevice& device)
{
    return containsIgnoringCase(udevValue(device, "TYPE_DETAIL").value_or(""), "Non-Volatile");
}

} // namespace

std::vector<MemoryModule> udevMemoryModules(std::string_view record)
{
    std::vector<MemoryModule> modules;
    for (const auto& [number, device] : udevDevices(record)) {
        if (modules.size() == kMaxListedDevices)
            break;
        const auto bytes = udevCount(device, "SIZE");
        if (udevValue(device, "PRESENT") == "0" || !bytes || *bytes <= 0 || isNonVolatile(device))
            continue;
        auto bank = clean(udevValue(device, "LOCATOR"));
        if (!bank)
            bank = clean(udevValue(device, "BANK_LOCATOR"));
        // The first speed key present decides, as with dmidecode's configured speed.
        const auto speed = udevCount(device, udevValue(device, "CONFIGURED_SPEED_MTS") ? "CONFIGURED_SPEED_MTS"
                                                                                       : "SPEED_MTS");
        modules.push_back({
            .bank = bank.value_or("DIMM"),
            .size = formatByteCount(*bytes),
            .type = clean(cleanMemoryTypeValue(udevValue(device, "TYPE"))).value_or(""),
            .speed = speed && *speed > 0 ? std::to_string(*speed) + " MT/s" : "",
            .manufacturer = moduleValue(udevValue(device, "MANUFACTURER")),
            .part = moduleValue(udevValue(device, "PART_NUMBER")),
        });
    }
    return modules;
}

} // namespace veltrin::SystemProbe
