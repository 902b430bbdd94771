// Linux has no sysctlbyname. The processor's values are not answered here: the
// refresh keeps the files they are stated in (linux_files.h) and the processor's
// CPUID answers, and the probe reads them there, so a capture replays them. The
// installed memory is the one kernel value answered, from the memory blocks.

#include "platform/command_table.h"
#include "platform/live_machine.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace veltrin {
namespace {

std::string readText(const std::filesystem::path& path)
{
    std::ifstream file(path);
    if (!file)
        return {};
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

std::string trimAscii(std::string text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::optional<std::int64_t> parseInteger(std::string_view text)
{
    std::int64_t value = 0;
    const auto* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (result.ec != std::errc() || result.ptr != end)
        return std::nullopt;
    return value;
}

std::optional<std::int64_t> readInteger(const std::filesystem::path& path)
{
    return parseInteger(trimAscii(readText(path)));
}

// Installed memory as the sum of online memory blocks; the kernel's MemTotal is
// smaller by what firmware and the kernel reserve.
std::optional<std::int64_t> installedMemory()
{
    const std::filesystem::path root = "/sys/devices/system/memory";
    std::int64_t blockSize = 0;
    if (const std::string text = trimAscii(readText(root / "block_size_bytes")); !text.empty())
        std::from_chars(text.data(), text.data() + text.size(), blockSize, 16);
    if (blockSize > 0) {
        std::int64_t online = 0;
        std::error_code error;
        for (const auto& block : std::filesystem::directory_iterator(root, error))
            if (block.path().filename().string().rfind("memory", 0) == 0 && readInteger(block.path() / "online") == 1)
                ++online;
        if (online > 0)
            return online * blockSize;
    }
    std::istringstream lines(readText("/proc/meminfo"));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("MemTotal:", 0) != 0)
            continue;
        std::istringstream fields(line.substr(9));
        std::int64_t kilobytes = 0;
        if (fields >> kilobytes)
            return kilobytes * 1024;
    }
    return std::nullopt;
}

class LinuxMachine final : public LiveMachine {
public:
    std::string sysctlValue(std::string_view) const override { return {}; }

    std::optional<std::int64_t> sysctlInt(std::string_view name) const override
    {
        return name == KernelName::memorySize ? installedMemory() : std::nullopt;
    }

    std::vector<std::string> extraDmidecodeLocations() const override { return {"/usr/sbin/dmidecode"}; }
    std::string_view platform() const override { return kLinuxPlatform; }
};

} // namespace

std::unique_ptr<Machine> makeLiveMachine() { return std::make_unique<LinuxMachine>(); }

} // namespace veltrin
