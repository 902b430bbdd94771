#include "probe/capture.h"

#include "platform/command_table.h"
#include "platform/machine.h"
#include "probe/dmi_reader.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace veltrin::SystemProbe {
namespace {

bool writeFile(const std::filesystem::path& path, const std::string& content)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << content;
    return static_cast<bool>(file);
}

// A tool that could not be started leaves no file, which replays as -1.
bool writeRun(const std::filesystem::path& folder, const std::string& name, const ProcessResult& result)
{
    if (result.status == ProcessRunner::kLaunchFailedStatus)
        return true;
    if (!writeFile(folder / name, result.output))
        return false;
    return result.status == 0 || writeFile(folder / (name + ".status"), std::to_string(result.status) + "\n");
}

} // namespace

bool writeCapture(const Machine& machine, const std::string& directory, std::string& error)
{
    const std::filesystem::path folder(directory);
    std::error_code created;
    std::filesystem::create_directories(folder, created);
    if (created || !std::filesystem::is_directory(folder, created)) {
        error = "cannot create capture directory " + directory;
        return false;
    }

    bool written = true;
    for (const ToolCommand* command : Commands::all())
        written = writeRun(folder, command->captureFile,
                           machine.run(command->executable, command->arguments, command->timeout)) &&
                  written;
    if (const auto dmidecode = dmidecodeExecutable(machine))
        written = writeRun(folder, std::string(Commands::kDmidecodeCaptureFile),
                           machine.run(*dmidecode, {}, Commands::kDmidecodeTimeout)) &&
                  written;

    std::string kernelValues;
    for (const KernelValue& value : kKernelValues) {
        if (value.kind == KernelValueKind::integer) {
            if (const auto number = machine.sysctlInt(value.name))
                kernelValues += std::string(value.name) + ": " + std::to_string(*number) + "\n";
        } else if (std::string text = machine.sysctlValue(value.name); !text.empty()) {
            std::replace(text.begin(), text.end(), '\n', ' '); // one line per value
            kernelValues += std::string(value.name) + ": " + text + "\n";
        }
    }
    written = writeFile(folder / "sysctl.txt", kernelValues) && written;
    if (!written)
        error = "cannot write capture files into " + directory;
    return written;
}

} // namespace veltrin::SystemProbe
