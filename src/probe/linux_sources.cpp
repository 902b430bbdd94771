#include "probe/linux_sources.h"

#include "core/byte_count.h"
#include "core/unicode_text.h"
#include "platform/linux_files.h"
#include "probe/mainboard_probe.h"
#include "probe/memory_probe.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace veltrin::SystemProbe {
namespace {

std::string dmiPath(std::string_view attribute) { return std::string(LinuxPath::dmiFolder) + std::string(attribute); }

std::optional<std::string> dmiText(const MachineReadings& readings, std::string_view attribute)
{
    return systemFileText(readings, dmiPath(attribute));
}

struct SysfsField {
    std::string_view attribute;
    std::optional<std::string> DMIInfo::*member;
};

// The kernel names the same SMBIOS strings dmidecode prints.
constexpr std::array<SysfsField, 12> kSysfsFields{{
    {"bios_vendor", &DMIInfo::biosVendor},
    {"bios_version", &DMIInfo::biosVersion},
    {"bios_date", &DMIInfo::biosDate},
    {"sys_vendor", &DMIInfo::systemManufacturer},
    {"product_name", &DMIInfo::systemProduct},
    {"product_serial", &DMIInfo::systemSerial},
    {"product_version", &DMIInfo::systemVersion},
    {"board_vendor", &DMIInfo::baseboardManufacturer},
    {"board_name", &DMIInfo::baseboardProduct},
    {"board_version", &DMIInfo::baseboardVersion},
    {"board_serial", &DMIInfo::baseboardSerial},
    {"board_asset_tag", &DMIInfo::boardAssetTag},
}};

bool hasControlCharacter(std::string_view text)
{
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F; });
}

// The value of an os-release assignment: quotes removed, backslash escapes
// inside double quotes resolved, as the shell would read it.
std::string unquoted(std::string_view value)
{
    if (value.size() < 2 || (value.front() != '"' && value.front() != '\'') || value.back() != value.front())
        return std::string(value);
    const char quote = value.front();
    value = value.substr(1, value.size() - 2);
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (quote == '"' && value[i] == '\\' && i + 1 < value.size())
            ++i;
        text += value[i];
    }
    return text;
}

// The kilobyte count of one /proc/meminfo line ("MemTotal:  16318084 kB").
std::optional<std::int64_t> meminfoKilobytes(std::string_view meminfo, std::string_view key)
{
    std::size_t start = 0;
    while (start < meminfo.size()) {
        const std::size_t end = std::min(meminfo.find('\n', start), meminfo.size());
        const std::string_view line = meminfo.substr(start, end - start);
        start = end + 1;
        if (!line.starts_with(key) || line.substr(key.size(), 1) != ":")
            continue;
        std::string number = trimmed(line.substr(key.size() + 1));
        if (number.ends_with(" kB"))
            number.resize(number.size() - 3);
        return decimalDigitsValue(trimmed(number));
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> systemFileText(const MachineReadings& readings, std::string_view path)
{
    const auto content = readings.file(path);
    if (!content)
        return std::nullopt;
    const std::string value = trimmed(content->substr(0, content->find_first_of(std::string_view("\n\r\0", 3))));
    if (value.empty() || !isValidUtf8(value) || hasControlCharacter(value))
        return std::nullopt;
    return value;
}

std::optional<DMIInfo> sysfsDmiInfo(const MachineReadings& readings)
{
    DMIInfo info{.source = std::string(kSysfsDmiSource)};
    bool found = false;
    for (const SysfsField& field : kSysfsFields) {
        info.*field.member = dmiText(readings, field.attribute);
        found = found || (info.*field.member).has_value();
    }
    if (const auto udev = readings.file(LinuxPath::udevDmiRecord))
        info.memoryModules = udevMemoryModules(*udev);
    if (!found && info.memoryModules.empty())
        return std::nullopt;
    return info;
}

AppleIdentity linuxAppleIdentity(const MachineReadings& readings)
{
    const auto vendor = dmiText(readings, "sys_vendor");
    const auto product = dmiText(readings, "product_name");
    if (isAppleSMBIOSValue(vendor) || isAppleSMBIOSValue(product)) {
        const auto board = dmiText(readings, "board_name");
        return {
            .model = product,
            .modelName = dmiText(readings, "product_family"),
            .boardID = isAppleSMBIOSValue(board) ? board : std::nullopt,
            .serial = dmiText(readings, "product_serial"),
            .hardwareUUID = dmiText(readings, "product_uuid"),
        };
    }
    // Apple Silicon has no SMBIOS; its device tree names the machine ("Apple
    // MacBook Air (M1, 2020)") and, first in its compatible list, the board ("apple,j313").
    const auto model = systemFileText(readings, LinuxPath::deviceTreeModel);
    const auto compatible = systemFileText(readings, LinuxPath::deviceTreeCompatible);
    if (isAppleSMBIOSValue(model) || (compatible && compatible->starts_with("apple,")))
        return {.model = compatible, .modelName = model};
    return {};
}

std::string osReleaseName(const MachineReadings& readings)
{
    for (const std::string_view path : LinuxPath::osRelease) {
        const auto content = readings.file(path);
        if (!content)
            continue;
        std::size_t start = 0;
        while (start < content->size()) {
            const std::size_t end = std::min(content->find('\n', start), content->size());
            const std::string line = trimmed(content->substr(start, end - start));
            start = end + 1;
            if (line.starts_with("PRETTY_NAME=")) {
                const std::string name = trimmed(unquoted(std::string_view(line).substr(12)));
                return isValidUtf8(name) && !name.empty() ? name : "Linux";
            }
        }
        return "Linux"; // the name os-release tells readers to assume
    }
    return {};
}

MemoryUse linuxMemoryUse(const MachineReadings& readings)
{
    const auto meminfo = readings.file(LinuxPath::memoryInfo);
    if (!meminfo)
        return {};
    const auto total = meminfoKilobytes(*meminfo, "MemTotal");
    const auto available = meminfoKilobytes(*meminfo, "MemAvailable");
    constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max() / 1024;
    if (!total || !available || *total <= 0 || *available > *total || *total > kLargest)
        return {};
    return {
        .used = formatByteCount((*total - *available) * 1024),
        .pressure = std::to_string(static_cast<std::int64_t>(static_cast<double>(*available) * 100.0 /
                                                             static_cast<double>(*total))) +
                    "%",
    };
}

} // namespace veltrin::SystemProbe
