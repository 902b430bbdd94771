#include "platform/readings.h"

#include "platform/machine.h"

namespace veltrin {

std::string KernelValues::text(std::string_view name) const
{
    const auto found = texts.find(name);
    return found == texts.end() ? std::string() : found->second;
}

std::optional<std::int64_t> KernelValues::integer(std::string_view name) const
{
    const auto found = integers.find(name);
    return found == integers.end() ? std::nullopt : std::optional(found->second);
}

KernelValues readKernelValues(const Machine& machine)
{
    KernelValues values;
    for (const NamedKernelValue& value : kernelValueList(machine.sysctlInt(KernelName::perfLevelCount))) {
        if (value.kind == KernelValueKind::integer) {
            if (const auto number = machine.sysctlInt(value.name))
                values.integers.emplace(value.name, *number);
        } else if (std::string text = machine.sysctlValue(value.name); !text.empty()) {
            values.texts.emplace(value.name, std::move(text));
        }
    }
    return values;
}

ProcessResult MachineReadings::result(Tool tool) const
{
    const auto found = tools.find(tool);
    return found == tools.end() ? ProcessResult{"", ProcessRunner::kLaunchFailedStatus} : found->second;
}

std::string_view MachineReadings::output(Tool tool) const
{
    const auto found = tools.find(tool);
    return found == tools.end() ? std::string_view() : std::string_view(found->second.output);
}

std::optional<std::string_view> MachineReadings::file(std::string_view path) const
{
    const auto found = files.find(path);
    return found == files.end() ? std::nullopt : std::optional<std::string_view>(found->second);
}

} // namespace veltrin
