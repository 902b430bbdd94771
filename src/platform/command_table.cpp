#include "platform/command_table.h"

#include "platform/machine.h"

namespace veltrin::Commands {

const ToolCommand& hardwareReport()
{
    static const ToolCommand command{"/usr/sbin/system_profiler", {"SPHardwareDataType", "-detailLevel", "mini"}, 4.0,
                                     "SPHardwareDataType.txt"};
    return command;
}

const ToolCommand& memoryReport()
{
    static const ToolCommand command{"/usr/sbin/system_profiler", {"SPMemoryDataType", "-detailLevel", "mini"}, 4.0,
                                     "SPMemoryDataType.txt"};
    return command;
}

const ToolCommand& graphicsReport()
{
    static const ToolCommand command{"/usr/sbin/system_profiler", {"SPDisplaysDataType", "-detailLevel", "mini"}, 4.0,
                                     "SPDisplaysDataType.txt"};
    return command;
}

const ToolCommand& softwareVersion()
{
    static const ToolCommand command{"/usr/bin/sw_vers", {}, 1.0, "sw_vers.txt"};
    return command;
}

const ToolCommand& machineArchitecture()
{
    static const ToolCommand command{"/usr/bin/uname", {"-m"}, 2.0, "uname-m.txt"};
    return command;
}

const ToolCommand& productVersion()
{
    static const ToolCommand command{"/usr/bin/sw_vers", {"-productVersion"}, 2.0, "sw_vers-productVersion.txt"};
    return command;
}

const ToolCommand& buildVersion()
{
    static const ToolCommand command{"/usr/bin/sw_vers", {"-buildVersion"}, 2.0, "sw_vers-buildVersion.txt"};
    return command;
}

const ToolCommand& kernelRelease()
{
    static const ToolCommand command{"/usr/bin/uname", {"-r"}, 1.0, "uname-r.txt"};
    return command;
}

const ToolCommand& uptime()
{
    static const ToolCommand command{"/usr/bin/uptime", {}, 1.0, "uptime.txt"};
    return command;
}

const ToolCommand& platformRegistry()
{
    static const ToolCommand command{"/usr/sbin/ioreg", {"-rd1", "-c", "IOPlatformExpertDevice"}, 1.5,
                                     "ioreg-IOPlatformExpertDevice.txt"};
    return command;
}

const ToolCommand& deviceTree()
{
    static const ToolCommand command{"/usr/sbin/ioreg", {"-p", "IODeviceTree", "-rd1"}, 1.5, "ioreg-IODeviceTree.txt"};
    return command;
}

const ToolCommand& virtualMemoryStatistics()
{
    static const ToolCommand command{"/usr/bin/vm_stat", {}, 3.0, "vm_stat.txt"};
    return command;
}

const ToolCommand& memoryPressure()
{
    static const ToolCommand command{"/usr/bin/memory_pressure", {}, 4.0, "memory_pressure.txt"};
    return command;
}

const std::vector<const ToolCommand*>& all()
{
    static const std::vector<const ToolCommand*> commands{
        &hardwareReport(), &memoryReport(),   &graphicsReport(), &softwareVersion(),
        &machineArchitecture(), &productVersion(), &buildVersion(), &kernelRelease(),
        &uptime(), &platformRegistry(), &deviceTree(), &virtualMemoryStatistics(), &memoryPressure()};
    return commands;
}

std::optional<std::string> captureFileFor(const std::string& executable, const std::vector<std::string>& arguments)
{
    for (const ToolCommand* command : all())
        if (command->executable == executable && command->arguments == arguments)
            return command->captureFile;
    const auto slash = executable.rfind('/');
    const std::string_view name = slash == std::string::npos ? std::string_view(executable)
                                                             : std::string_view(executable).substr(slash + 1);
    if (name == "dmidecode" && arguments.empty())
        return std::string(kDmidecodeCaptureFile);
    return std::nullopt;
}

} // namespace veltrin::Commands

namespace veltrin {

std::string runOutput(const Machine& machine, const ToolCommand& command)
{
    return machine.run(command.executable, command.arguments, command.timeout).output;
}

} // namespace veltrin
