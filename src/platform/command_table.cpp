#include "platform/command_table.h"

#include <algorithm>

namespace veltrin {
namespace {

// OpenCore keeps its variables under its vendor GUID; nvram takes the full name
// "<GUID>:<name>" as its one argument and prints it back before the value.
ToolCommand openCoreVariable(Tool tool, std::string_view name)
{
    return {tool, "/usr/sbin/nvram", {"4D1FDA02-38C7-4A6A-9CC6-4BCCA8B30102:" + std::string(name)}, 1.0,
            "nvram-" + std::string(name) + ".txt"};
}

} // namespace

const std::vector<ToolCommand>& toolCommands()
{
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

const ToolCommand& toolCommand(Tool tool)
{
    const auto& commands = toolCommands();
    return *std::find_if(commands.begin(), commands.end(),
                         [tool](const ToolCommand& command) { return command.tool == tool; });
}

std::optional<std::string> captureFileFor(const std::string& executable, const std::vector<std::string>& arguments)
{
    for (const ToolCommand& command : toolCommands())
        if (command.executable == executable && command.arguments == arguments)
            return command.captureFile;
    const auto slash = executable.rfind('/');
    const std::string_view name = slash == std::string::npos ? std::string_view(executable)
                                                             : std::string_view(executable).substr(slash + 1);
    if (name == "dmidecode" && arguments.empty())
        return std::string(kDmidecodeCaptureFile);
    return std::nullopt;
}

std::string perfLevelName(std::int64_t level, std::string_view field)
{
    return "hw.perflevel" + std::to_string(level) + "." + std::string(field);
}

std::vector<NamedKernelValue> kernelValueList(std::optional<std::int64_t> perfLevelCount)
{
    std::vector<NamedKernelValue> values;
    for (const KernelValue& value : kKernelValues)
        values.push_back({std::string(value.name), value.kind});
    for (std::int64_t level = 0; level < std::min(perfLevelCount.value_or(0), kMaxPerfLevels); ++level)
        for (const KernelValue& value : kPerfLevelValues)
            values.push_back({perfLevelName(level, value.name), value.kind});
    return values;
}

} // namespace veltrin
