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
    // The same three reports in system_profiler's -xml form, whose keys stay the
    // same in every language where the text's labels are translated.
    hardwareReportXml,
    memoryReportXml,
    graphicsReportXml,
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
    // The boot: the kernel extensions loaded (kmutil only where kextstat is gone),
    // the boot arguments, and System Integrity Protection's stored value and state.
    loadedExtensions,
    loadedExtensionsKmutil,
    bootArguments,
    sipConfiguration,
    sipStatus,
};

struct ToolCommand {
    Tool tool;
    std::string executable;
    std::vector<std::string> arguments;
    double timeout;
    std::string captureFile;
    // A fallback: started only where this executable does not exist.
    std::string onlyWithout{};
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
// A row with `onlyWithout` is the one exception: it is not started at all where
// that executable exists (kmutil, which macOS 11 and later also reach through
// kextstat, would list the same extensions twice as slowly).
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
        // One run per report, like the text: each keeps its own time limit and
        // capture file, and started with the rest they cost no wall time.
        {Tool::hardwareReportXml, "/usr/sbin/system_profiler", {"-xml", "SPHardwareDataType", "-detailLevel", "mini"},
         4.0, "SPHardwareDataType.xml"},
        {Tool::memoryReportXml, "/usr/sbin/system_profiler", {"-xml", "SPMemoryDataType", "-detailLevel", "mini"}, 4.0,
         "SPMemoryDataType.xml"},
        {Tool::graphicsReportXml, "/usr/sbin/system_profiler", {"-xml", "SPDisplaysDataType", "-detailLevel", "mini"},
         4.0, "SPDisplaysDataType.xml"},
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
        {Tool::loadedExtensions, "/usr/sbin/kextstat", {}, 5.0, "kextstat.txt"},
        {Tool::loadedExtensionsKmutil, "/usr/bin/kmutil", {"showloaded"}, 5.0, "kmutil-showloaded.txt",
         "/usr/sbin/kextstat"},
        {Tool::bootArguments, "/usr/sbin/nvram", {"boot-args"}, 1.0, "nvram-boot-args.txt"},
        {Tool::sipConfiguration, "/usr/sbin/nvram", {"csr-active-config"}, 1.0, "nvram-csr-active-config.txt"},
        {Tool::sipStatus, "/usr/bin/csrutil", {"status"}, 2.0, "csrutil-status.txt"},
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
// What an Intel kernel was told by the first CPUID leaf: the base family and
// the full model (extended and base together), each extension also alone. A
// boot loader that fakes the leaf changes these, not what the processor answers.
inline constexpr std::string_view family = "machdep.cpu.family";
inline constexpr std::string_view cpuModel = "machdep.cpu.model";
inline constexpr std::string_view stepping = "machdep.cpu.stepping";
inline constexpr std::string_view extFamily = "machdep.cpu.extfamily";
inline constexpr std::string_view extModel = "machdep.cpu.extmodel";
inline constexpr std::string_view microcode = "machdep.cpu.microcode_version";
inline constexpr std::string_view cacheLineSize = "machdep.cpu.cache.linesize";
// The L2's ways; 0xFFFF for a fully associative one.
inline constexpr std::string_view l2Associativity = "machdep.cpu.cache.L2_associativity";
// The core design as one of the kernel's CPUFAMILY_* constants (32 bits, printed signed).
inline constexpr std::string_view coreDesign = "hw.cpufamily";
inline constexpr std::string_view hwCacheLineSize = "hw.cachelinesize";
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
inline constexpr std::array<KernelValue, 24> kKernelValues{{
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
    {KernelName::family, KernelValueKind::integer},
    {KernelName::cpuModel, KernelValueKind::integer},
    {KernelName::stepping, KernelValueKind::integer},
    {KernelName::extFamily, KernelValueKind::integer},
    {KernelName::extModel, KernelValueKind::integer},
    {KernelName::microcode, KernelValueKind::integer},
    {KernelName::cacheLineSize, KernelValueKind::integer},
    {KernelName::l2Associativity, KernelValueKind::integer},
    {KernelName::coreDesign, KernelValueKind::integer},
    {KernelName::hwCacheLineSize, KernelValueKind::integer},
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
