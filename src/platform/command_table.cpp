#include "platform/command_table.h"

#include <algorithm>

namespace veltrin {

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
