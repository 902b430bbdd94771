#pragma once

// Every command line Veltrin runs, with its time limit, and every kernel value it
// reads. The capture-file names are how a captured machine stores each output.

#include "core/process_runner.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin {

class Machine;

struct ToolCommand {
    std::string executable;
    std::vector<std::string> arguments;
    double timeout;
    std::string captureFile;
};

namespace Commands {

// The four text jobs of a collection.
const ToolCommand& hardwareReport();
const ToolCommand& memoryReport();
const ToolCommand& graphicsReport();
const ToolCommand& softwareVersion();
// Run by the parsers, one after another.
const ToolCommand& machineArchitecture();
const ToolCommand& productVersion();
const ToolCommand& buildVersion();
const ToolCommand& kernelRelease();
const ToolCommand& uptime();
const ToolCommand& platformRegistry();
const ToolCommand& deviceTree();
const ToolCommand& virtualMemoryStatistics();
const ToolCommand& memoryPressure();

// dmidecode's path is found at run time; it runs with no arguments.
inline constexpr double kDmidecodeTimeout = 2.5;
inline constexpr std::string_view kDmidecodeCaptureFile = "dmidecode.txt";

// Every fixed command, in table order.
const std::vector<const ToolCommand*>& all();

// The capture file of a command line, or absent when Veltrin never runs it.
std::optional<std::string> captureFileFor(const std::string& executable, const std::vector<std::string>& arguments);

} // namespace Commands

// Runs `command` on `machine` and returns its output, whatever its status.
std::string runOutput(const Machine& machine, const ToolCommand& command);

enum class KernelValueKind { text, integer };

struct KernelValue {
    std::string_view name;
    KernelValueKind kind;
};

inline constexpr std::array<KernelValue, 12> kKernelValues{{
    {"machdep.cpu.brand_string", KernelValueKind::text},
    {"hw.model", KernelValueKind::text},
    {"hw.cpufrequency", KernelValueKind::integer},
    {"machdep.cpu.features", KernelValueKind::text},
    {"machdep.cpu.leaf7_features", KernelValueKind::text},
    {"hw.physicalcpu", KernelValueKind::integer},
    {"hw.logicalcpu", KernelValueKind::integer},
    {"hw.l1icachesize", KernelValueKind::integer},
    {"hw.l1dcachesize", KernelValueKind::integer},
    {"hw.l2cachesize", KernelValueKind::integer},
    {"hw.l3cachesize", KernelValueKind::integer},
    {"hw.memsize", KernelValueKind::integer},
}};

} // namespace veltrin
