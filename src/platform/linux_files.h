#pragma once

// The files a Linux machine describes itself in, readable without root unless
// said, and the one place that reads them for a refresh. Every read is bounded;
// a missing or unreadable file is simply not in the result.

#include "platform/readings.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace veltrin {

class Machine;

namespace LinuxPath {
// The firmware's DMI strings, one file per attribute (kDmiAttributes).
inline constexpr std::string_view dmiFolder = "/sys/class/dmi/id/";
// systemd's udev record of the DMI device: "E:MEMORY_DEVICE_<n>_<KEY>=<value>" lines.
inline constexpr std::string_view udevDmiRecord = "/run/udev/data/+dmi:id";
inline constexpr std::string_view memoryInfo = "/proc/meminfo";
// The first one that exists is read.
inline constexpr std::array<std::string_view, 2> osRelease{"/etc/os-release", "/usr/lib/os-release"};
// Machines described by a device tree (Apple Silicon under Asahi Linux, most ARM boards).
inline constexpr std::string_view deviceTreeModel = "/proc/device-tree/model";
inline constexpr std::string_view deviceTreeCompatible = "/proc/device-tree/compatible";
// One folder per PCI function; only display controllers are kept (PciFile).
inline constexpr std::string_view pciDevices = "/sys/bus/pci/devices/";
// Cards ("card0") and their connectors ("card0-DP-1"); only connected connectors are kept.
inline constexpr std::string_view drmDevices = "/sys/class/drm/";
// The processor: every logical processor's entry, the list of those online, and
// under each "cpu<N>" folder its topology; cpu0 alone for the caches ("index<N>"
// folders) and the clock, which every processor of one kind shares.
inline constexpr std::string_view cpuInfo = "/proc/cpuinfo";
inline constexpr std::string_view processorFolder = "/sys/devices/system/cpu/";
inline constexpr std::string_view onlineProcessors = "/sys/devices/system/cpu/online";
inline constexpr std::string_view cacheFolder = "/sys/devices/system/cpu/cpu0/cache/";
inline constexpr std::string_view frequencyFolder = "/sys/devices/system/cpu/cpu0/cpufreq/";
// Where Debian's pci.ids and hwdata put the PCI ID database; the first one found
// is read, and only the lines naming this machine's adapters are kept (pci_ids.h).
inline constexpr std::array<std::string_view, 2> pciIdsDatabases{"/usr/share/misc/pci.ids",
                                                                 "/usr/share/hwdata/pci.ids"};
// How the kernel booted: its command line, the modules it has loaded (with their
// taint marks), the kernel's own taint mask, and under each module's folder the
// version file of those that state one (kModuleVersionFile).
inline constexpr std::string_view kernelCommandLine = "/proc/cmdline";
inline constexpr std::string_view kernelModules = "/proc/modules";
inline constexpr std::string_view kernelTaint = "/proc/sys/kernel/tainted";
inline constexpr std::string_view moduleFolder = "/sys/module/";
// The firmware's Secure Boot variable (EFI global variable GUID): four attribute
// bytes, then 1 when Secure Boot is on and 0 when off.
inline constexpr std::string_view secureBootVariable =
    "/sys/firmware/efi/efivars/SecureBoot-8be4df61-93ca-11d2-aa0d-00e098032b8c";
} // namespace LinuxPath

inline constexpr std::string_view kModuleVersionFile = "version";

// Attribute files in LinuxPath::dmiFolder. The serials and the UUID are readable
// by root only; elsewhere they are simply absent.
inline constexpr std::array<std::string_view, 14> kDmiAttributes{
    "sys_vendor",     "product_name",  "product_version", "product_family", "product_serial",
    "product_uuid",   "board_vendor",  "board_name",      "board_version",  "board_serial",
    "board_asset_tag", "bios_vendor",  "bios_version",    "bios_date",
};

// Files of a display controller's folder under LinuxPath::pciDevices. amdgpu
// alone states the adapter's own memory.
namespace PciFile {
inline constexpr std::string_view displayClass = "class";
inline constexpr std::string_view vendor = "vendor";
inline constexpr std::string_view device = "device";
inline constexpr std::string_view videoMemory = "mem_info_vram_total";
} // namespace PciFile

// Files of a connector's folder under LinuxPath::drmDevices, and the card's
// uevent, which names the PCI function the card belongs to (PCI_SLOT_NAME).
namespace ConnectorFile {
inline constexpr std::string_view status = "status";
inline constexpr std::string_view modes = "modes";
inline constexpr std::string_view edid = "edid";
inline constexpr std::string_view cardEvent = "device/uevent";
} // namespace ConnectorFile

// Files of each "index<N>" folder under LinuxPath::cacheFolder.
namespace CacheFile {
inline constexpr std::string_view level = "level";
inline constexpr std::string_view type = "type"; // "Data", "Instruction" or "Unified"
inline constexpr std::string_view size = "size"; // "32K", "16M"
inline constexpr std::string_view sharedProcessors = "shared_cpu_list";
inline constexpr std::string_view ways = "ways_of_associativity";
inline constexpr std::string_view lineSize = "coherency_line_size";
} // namespace CacheFile
inline constexpr std::array<std::string_view, 6> kCacheFiles{CacheFile::level, CacheFile::type, CacheFile::size,
                                                             CacheFile::sharedProcessors, CacheFile::ways,
                                                             CacheFile::lineSize};

// Files of LinuxPath::frequencyFolder, in kilohertz: the base clock where the
// driver states one (intel_pstate), else the highest.
namespace FrequencyFile {
inline constexpr std::string_view base = "base_frequency";
inline constexpr std::string_view maximum = "cpuinfo_max_freq";
} // namespace FrequencyFile

// Files of each "cpu<N>" folder under LinuxPath::processorFolder.
namespace TopologyFile {
inline constexpr std::string_view package = "topology/physical_package_id";
inline constexpr std::string_view core = "topology/core_id";
} // namespace TopologyFile

// True for a logical processor's folder name ("cpu0", "cpu17"), not "cpufreq" or "cpuidle".
bool isProcessorFolder(std::string_view name);

// True for a cache folder name ("index0").
bool isCacheFolder(std::string_view name);

// The card a connector folder belongs to ("card0" for "card0-DP-1"); empty when
// the name is not a connector's.
std::string_view connectorCard(std::string_view name);

// Every file above that this machine has, by absolute path.
FileContents readLinuxFiles(const Machine& machine);

} // namespace veltrin
