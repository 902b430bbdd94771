#pragma once

// Every command line Veltrin runs, with its time limit and the file a capture
// keeps its output in, and every kernel value it reads. Nothing else spells them.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin {

// What each tool run is for; the parsers ask for outputs by these names.
enum class Tool {
    hardwareReport,
    memoryReport,
    graphicsReport,
    softwareVersion,
    productVersion,
    buildVersion,
    machineArchitecture,
    kernelRelease,
    uptime,
    platformRegistry,
    deviceTree,
    virtualMemoryStatistics,
    memoryPressure,
    // OpenCore's own variables: the firmware's original board identity (when its
    // configuration exposes it), its version, and the Legacy Patcher's version.
    oemVendor,
    oemProduct,
    oemBoard,
    openCoreVersion,
    legacyPatcherVersion,
};

struct ToolCommand {
    Tool tool;
    std::string executable;
    std::vector<std::string> arguments;
    double timeout;
    std::string captureFile;
};

namespace detail {

// OpenCore keeps its variables under its vendor GUID; nvram takes the full name
// "<GUID>:<name>" as its one argument and prints it back before the value.
inline ToolCommand openCoreVariable(Tool tool, std::string_view name)
{
    return {tool, "/usr/sbin/nvram", {"4D1FDA02-38C7-4A6A-9CC6-4BCCA8B30102:" + std::string(name)}, 1.0,
            "nvram-" + std::string(name) + ".txt"};
}

} // namespace detail

// Every fixed command line. A refresh starts them all at once, the sw_vers
// fallbacks included: those are read only where the full report lacks a version.
inline const std::vector<ToolCommand>& toolCommands()
{
    using detail::openCoreVariable;
    static const std::vector<ToolCommand> commands{
        {Tool::hardwareReport, "/usr/sbin/system_profiler", {"SPHardwareDataType", "-detailLevel", "mini"}, 4.0,
         "SPHardwareDataType.txt"},
        {Tool::memoryReport, "/usr/sbin/system_profiler", {"SPMemoryDataType", "-detailLevel", "mini"}, 4.0,
         "SPMemoryDataType.txt"},
        {Tool::graphicsReport, "/usr/sbin/system_profiler", {"SPDisplaysDataType", "-detailLevel", "mini"}, 4.0,
         "SPDisplaysDataType.txt"},
        {Tool::softwareVersion, "/usr/bin/sw_vers", {}, 1.0, "sw_vers.txt"},
        {Tool::productVersion, "/usr/bin/sw_vers", {"-productVersion"}, 2.0, "sw_vers-productVersion.txt"},
        {Tool::buildVersion, "/usr/bin/sw_vers", {"-buildVersion"}, 2.0, "sw_vers-buildVersion.txt"},
        {Tool::machineArchitecture, "/usr/bin/uname", {"-m"}, 2.0, "uname-m.txt"},
        {Tool::kernelRelease, "/usr/bin/uname", {"-r"}, 1.0, "uname-r.txt"},
        {Tool::uptime, "/usr/bin/uptime", {}, 1.0, "uptime.txt"},
        {Tool::platformRegistry, "/usr/sbin/ioreg", {"-rd1", "-c", "IOPlatformExpertDevice"}, 1.5,
         "ioreg-IOPlatformExpertDevice.txt"},
        {Tool::deviceTree, "/usr/sbin/ioreg", {"-p", "IODeviceTree", "-rd1"}, 1.5, "ioreg-IODeviceTree.txt"},
        {Tool::virtualMemoryStatistics, "/usr/bin/vm_stat", {}, 3.0, "vm_stat.txt"},
        {Tool::memoryPressure, "/usr/bin/memory_pressure", {}, 4.0, "memory_pressure.txt"},
        openCoreVariable(Tool::oemVendor, "oem-vendor"),
        openCoreVariable(Tool::oemProduct, "oem-product"),
        openCoreVariable(Tool::oemBoard, "oem-board"),
        openCoreVariable(Tool::openCoreVersion, "opencore-version"),
        openCoreVariable(Tool::legacyPatcherVersion, "OCLP-Version"),
    };
    return commands;
}

const ToolCommand& toolCommand(Tool tool);

// dmidecode's path is found at run time; it runs with no arguments.
inline constexpr double kDmidecodeTimeout = 2.5;
inline constexpr std::string_view kDmidecodeCaptureFile = "dmidecode.txt";

// The capture file of a command line, or absent when Veltrin never runs it.
std::optional<std::string> captureFileFor(const std::string& executable, const std::vector<std::string>& arguments);

// The kernel values, by the names macOS gives them.
namespace KernelName {
inline constexpr std::string_view brandString = "machdep.cpu.brand_string";
inline constexpr std::string_view model = "hw.model";
inline constexpr std::string_view cpuFrequency = "hw.cpufrequency";
inline constexpr std::string_view features = "machdep.cpu.features";
inline constexpr std::string_view leaf7Features = "machdep.cpu.leaf7_features";
inline constexpr std::string_view physicalCores = "hw.physicalcpu";
inline constexpr std::string_view logicalCores = "hw.logicalcpu";
inline constexpr std::string_view l1iCacheSize = "hw.l1icachesize";
inline constexpr std::string_view l1dCacheSize = "hw.l1dcachesize";
inline constexpr std::string_view l2CacheSize = "hw.l2cachesize";
inline constexpr std::string_view l3CacheSize = "hw.l3cachesize";
inline constexpr std::string_view memorySize = "hw.memsize";
// How many kinds of core the chip has (Apple Silicon: performance and efficiency).
inline constexpr std::string_view perfLevelCount = "hw.nperflevels";
// 1 when this process is an Intel build translated by Rosetta; absent on Intel Macs.
inline constexpr std::string_view translated = "sysctl.proc_translated";
} // namespace KernelName

// What each kind of core reports under "hw.perflevel<N>.<field>", level 0 being
// the fastest.
namespace PerfLevelField {
inline constexpr std::string_view name = "name";
inline constexpr std::string_view physicalCores = "physicalcpu";
inline constexpr std::string_view l1iCacheSize = "l1icachesize";
inline constexpr std::string_view l1dCacheSize = "l1dcachesize";
inline constexpr std::string_view l2CacheSize = "l2cachesize";
} // namespace PerfLevelField

// Chips so far have two kinds of core; a count beyond this is no real chip's,
// and reading on would only cost time.
inline constexpr std::int64_t kMaxPerfLevels = 4;

// "hw.perflevel1.l2cachesize" for level 1 and PerfLevelField::l2CacheSize.
std::string perfLevelName(std::int64_t level, std::string_view field);

enum class KernelValueKind { text, integer };

struct KernelValue {
    std::string_view name;
    KernelValueKind kind;
};

// The kernel values read by a fixed name, and how.
inline constexpr std::array<KernelValue, 14> kKernelValues{{
    {KernelName::brandString, KernelValueKind::text},
    {KernelName::model, KernelValueKind::text},
    {KernelName::cpuFrequency, KernelValueKind::integer},
    {KernelName::features, KernelValueKind::text},
    {KernelName::leaf7Features, KernelValueKind::text},
    {KernelName::physicalCores, KernelValueKind::integer},
    {KernelName::logicalCores, KernelValueKind::integer},
    {KernelName::l1iCacheSize, KernelValueKind::integer},
    {KernelName::l1dCacheSize, KernelValueKind::integer},
    {KernelName::l2CacheSize, KernelValueKind::integer},
    {KernelName::l3CacheSize, KernelValueKind::integer},
    {KernelName::memorySize, KernelValueKind::integer},
    {KernelName::perfLevelCount, KernelValueKind::integer},
    {KernelName::translated, KernelValueKind::integer},
}};

// The values each level reports, and how they are read.
inline constexpr std::array<KernelValue, 5> kPerfLevelValues{{
    {PerfLevelField::name, KernelValueKind::text},
    {PerfLevelField::physicalCores, KernelValueKind::integer},
    {PerfLevelField::l1iCacheSize, KernelValueKind::integer},
    {PerfLevelField::l1dCacheSize, KernelValueKind::integer},
    {PerfLevelField::l2CacheSize, KernelValueKind::integer},
}};

struct NamedKernelValue {
    std::string name;
    KernelValueKind kind;
};

// Every kernel value a refresh reads and a capture keeps: kKernelValues, then the
// values of levels 0 to `perfLevelCount` - 1 in level order (at most
// kMaxPerfLevels levels; none when the count is absent).
std::vector<NamedKernelValue> kernelValueList(std::optional<std::int64_t> perfLevelCount);

} // namespace veltrin
