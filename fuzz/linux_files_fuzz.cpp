// The files a Linux machine describes itself in: DMI attributes, udev's memory
// devices, meminfo, os-release, the device tree, a display controller with its
// PCI ID database, a connector's modes and EDID, the processor's entries,
// topology, caches and clock, and its CPUID answers. Files are bytes, not text,
// so they reach the parsers undecoded.

#include "platform/linux_files.h"
#include "platform/machine.h"
#include "probe/system_probe.h"

#include <array>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace veltrin;

namespace {

constexpr std::array<std::string_view, 23> kPaths{
    "/sys/class/dmi/id/board_name",
    "/sys/class/dmi/id/sys_vendor",
    "/sys/class/dmi/id/product_name",
    "/run/udev/data/+dmi:id",
    "/proc/meminfo",
    "/etc/os-release",
    "/proc/device-tree/model",
    "/proc/device-tree/compatible",
    "/sys/bus/pci/devices/0000:00:02.0/vendor",
    "/usr/share/misc/pci.ids",
    "/sys/bus/pci/devices/0000:00:02.0/mem_info_vram_total",
    "/sys/class/drm/card0-DP-1/modes",
    "/sys/class/drm/card0-DP-1/edid",
    "/sys/class/drm/card0/device/uevent",
    "/proc/cpuinfo",
    "/sys/devices/system/cpu/online",
    "/sys/devices/system/cpu/cpu0/topology/core_id",
    "/sys/devices/system/cpu/cpu1/topology/core_id",
    "/sys/devices/system/cpu/cpu0/cache/index0/level",
    "/sys/devices/system/cpu/cpu0/cache/index0/type",
    "/sys/devices/system/cpu/cpu0/cache/index0/size",
    "/sys/devices/system/cpu/cpu0/cache/index12/level",
    "/sys/devices/system/cpu/cpu0/cpufreq/base_frequency",
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    MachineReadings readings;
    readings.platform = std::string(kLinuxPlatform);
    readings.files["/sys/bus/pci/devices/0000:00:02.0/class"] = "0x030000\n";
    readings.files["/sys/bus/pci/devices/0000:00:02.0/device"] = "0x5917\n";
    readings.files["/sys/class/drm/card0-DP-1/status"] = "connected\n";
    // The input split at every ASCII record separator (0x1E), one piece per file.
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    for (const std::string_view path : kPaths) {
        const std::size_t end = std::min(input.find('\x1e', start), input.size());
        readings.files[std::string(path)] = std::string(input.substr(start, end - start));
        start = std::min(end + 1, input.size());
    }
    readings.cpuid = std::string(input.substr(start)); // whatever follows the last file

    const SystemSnapshot snapshot = SystemProbe::snapshotFrom(readings);
    if (snapshot.gpus.empty() || snapshot.memory.modules.size() > 256 || snapshot.cpu.logicalCores.empty())
        std::abort();
    for (const std::string& text : {snapshot.mainboard.os, snapshot.gpus.front().name, snapshot.gpus.front().displays})
        if (text.find('\n') != std::string::npos)
            std::abort();
    return 0;
}
