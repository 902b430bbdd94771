#pragma once

// Every command line Veltrin runs, with its time limit and the file a capture
// keeps its output in, and every kernel value it reads. Nothing else spells them.

#include <array>
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

// Every fixed command line. A refresh starts them all at once, the sw_vers
// fallbacks included: those are read only where the full report lacks a version.
const std::vector<ToolCommand>& toolCommands();
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
} // namespace KernelName

enum class KernelValueKind { text, integer };

struct KernelValue {
    std::string_view name;
    KernelValueKind kind;
};

// Every kernel value a refresh reads, and how; a capture keeps exactly these.
inline constexpr std::array<KernelValue, 12> kKernelValues{{
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
}};

} // namespace veltrin
