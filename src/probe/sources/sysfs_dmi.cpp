#include "probe/sources/sysfs_dmi.h"

#include "platform/linux_files.h"
#include "probe/sources/filters.h"
#include "probe/sources/system_file.h"
#include "probe/sources/udev_memory.h"

#include <array>

namespace veltrin::SystemProbe {
namespace {

std::string dmiPath(std::string_view attribute) { return std::string(LinuxPath::dmiFolder) + std::string(attribute); }

std::optional<std::string> dmiText(const FileContents& files, std::string_view attribute)
{
    return systemFileText(files, dmiPath(attribute));
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

} // namespace

std::optional<DMIInfo> sysfsDmiInfo(const FileContents& files)
{
    DMIInfo info{.source = std::string(kSysfsDmiSource)};
    bool found = false;
    for (const SysfsField& field : kSysfsFields) {
        info.*field.member = dmiText(files, field.attribute);
        found = found || (info.*field.member).has_value();
    }
    if (const auto udev = fileContent(files, LinuxPath::udevDmiRecord))
        info.memoryModules = udevMemoryModules(*udev);
    if (!found && info.memoryModules.empty())
        return std::nullopt;
    return info;
}

AppleIdentity linuxAppleIdentity(const FileContents& files)
{
    const auto vendor = dmiText(files, "sys_vendor");
    const auto product = dmiText(files, "product_name");
    if (isAppleSMBIOSValue(vendor) || isAppleSMBIOSValue(product)) {
        const auto board = dmiText(files, "board_name");
        return {
            .model = product,
            .modelName = dmiText(files, "product_family"),
            .boardID = isAppleSMBIOSValue(board) ? board : std::nullopt,
            .serial = dmiText(files, "product_serial"),
            .hardwareUUID = dmiText(files, "product_uuid"),
        };
    }
    // Apple Silicon has no SMBIOS; its device tree names the machine ("Apple
    // MacBook Air (M1, 2020)") and, first in its compatible list, the board ("apple,j313").
    const auto model = systemFileText(files, LinuxPath::deviceTreeModel);
    const auto compatible = systemFileText(files, LinuxPath::deviceTreeCompatible);
    if (isAppleSMBIOSValue(model) || (compatible && compatible->starts_with("apple,")))
        return {.model = compatible, .modelName = model};
    return {};
}

} // namespace veltrin::SystemProbe
