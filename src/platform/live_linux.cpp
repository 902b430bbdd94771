// Linux has no sysctlbyname for these names, so this file answers the twelve
// kernel names Veltrin reads from /proc and /sys, in the form macOS gives them.

#include "platform/command_table.h"
#include "platform/live_machine.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <unistd.h>
#include <utility>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

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

// The "key : value" lines of each processor entry of /proc/cpuinfo.
std::vector<std::map<std::string, std::string>> cpuinfoEntries()
{
    std::vector<std::map<std::string, std::string>> entries(1);
    std::istringstream lines(readText("/proc/cpuinfo"));
    for (std::string line; std::getline(lines, line);) {
        if (trimAscii(line).empty()) {
            if (!entries.back().empty())
                entries.emplace_back();
            continue;
        }
        const auto colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        entries.back()[trimAscii(line.substr(0, colon))] = trimAscii(line.substr(colon + 1));
    }
    if (entries.back().empty())
        entries.pop_back();
    return entries;
}

std::string firstCpuinfoValue(std::initializer_list<std::string_view> keys)
{
    for (const auto& entry : cpuinfoEntries())
        for (std::string_view key : keys)
            if (auto found = entry.find(std::string(key)); found != entry.end() && !found->second.empty())
                return found->second;
    return {};
}

std::int64_t logicalProcessorCount() { return std::max<long>(1, ::sysconf(_SC_NPROCESSORS_ONLN)); }

std::optional<std::int64_t> physicalCoreCount()
{
    std::set<std::pair<std::string, std::string>> cores;
    for (const auto& entry : cpuinfoEntries()) {
        const auto package = entry.find("physical id");
        const auto core = entry.find("core id");
        if (package != entry.end() && core != entry.end())
            cores.emplace(package->second, core->second);
    }
    if (cores.empty()) {
        const std::filesystem::path root = "/sys/devices/system/cpu";
        std::error_code error;
        for (const auto& cpu : std::filesystem::directory_iterator(root, error)) {
            const std::string name = cpu.path().filename().string();
            if (name.size() < 4 || name.compare(0, 3, "cpu") != 0 || !std::isdigit(static_cast<unsigned char>(name[3])))
                continue;
            const std::string package = trimAscii(readText(cpu.path() / "topology/physical_package_id"));
            const std::string core = trimAscii(readText(cpu.path() / "topology/core_id"));
            if (!core.empty())
                cores.emplace(package, core);
        }
    }
    if (cores.empty())
        return logicalProcessorCount();
    return static_cast<std::int64_t>(cores.size());
}

enum class CacheKind { instruction, data, level2, level3 };

// sysfs writes sizes such as "32K" or "16M".
std::optional<std::int64_t> parseCacheSize(std::string text)
{
    text = trimAscii(text);
    if (text.empty())
        return std::nullopt;
    std::int64_t scale = 1;
    switch (text.back()) {
    case 'K': scale = 1024; text.pop_back(); break;
    case 'M': scale = 1024 * 1024; text.pop_back(); break;
    case 'G': scale = 1024 * 1024 * 1024; text.pop_back(); break;
    default: break;
    }
    const auto value = parseInteger(text);
    if (!value)
        return std::nullopt;
    return *value * scale;
}

std::optional<std::int64_t> sysfsCacheSize(CacheKind kind)
{
    const std::filesystem::path root = "/sys/devices/system/cpu/cpu0/cache";
    std::error_code error;
    for (const auto& index : std::filesystem::directory_iterator(root, error)) {
        if (index.path().filename().string().rfind("index", 0) != 0)
            continue;
        const auto level = readInteger(index.path() / "level");
        const std::string type = trimAscii(readText(index.path() / "type"));
        const bool wanted = (kind == CacheKind::instruction && level == 1 && type == "Instruction") ||
                            (kind == CacheKind::data && level == 1 && type == "Data") ||
                            (kind == CacheKind::level2 && level == 2) || (kind == CacheKind::level3 && level == 3);
        if (wanted)
            return parseCacheSize(readText(index.path() / "size"));
    }
    return std::nullopt;
}

#if defined(__x86_64__) || defined(__i386__)
// Virtual machines often publish no cache entries in sysfs; the processor itself
// still describes its caches through CPUID.
std::optional<std::int64_t> cpuidCacheSize(CacheKind kind)
{
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(0, &eax, &ebx, &ecx, &edx))
        return std::nullopt;
    const bool amd = ebx == 0x68747541; // "Auth"enticAMD
    const unsigned maxLeaf = eax;
    const unsigned maxExtended = __get_cpuid_max(0x80000000, nullptr);

    // Deterministic cache parameters: leaf 4 on Intel, 0x8000001D on AMD.
    unsigned leaf = 0;
    if (!amd && maxLeaf >= 4) {
        leaf = 4;
    } else if (amd && maxExtended >= 0x8000001D) {
        __get_cpuid(0x80000001, &eax, &ebx, &ecx, &edx);
        if (ecx & (1u << 22))
            leaf = 0x8000001D;
    }
    if (leaf != 0) {
        for (unsigned subleaf = 0; subleaf < 16; ++subleaf) {
            __cpuid_count(leaf, subleaf, eax, ebx, ecx, edx);
            const unsigned type = eax & 0x1F;
            if (type == 0)
                break;
            const unsigned level = (eax >> 5) & 0x7;
            const bool wanted = (kind == CacheKind::data && level == 1 && type == 1) ||
                                (kind == CacheKind::instruction && level == 1 && type == 2) ||
                                (kind == CacheKind::level2 && level == 2) || (kind == CacheKind::level3 && level == 3);
            if (wanted) {
                const std::int64_t ways = ((ebx >> 22) & 0x3FF) + 1;
                const std::int64_t partitions = ((ebx >> 12) & 0x3FF) + 1;
                const std::int64_t line = (ebx & 0xFFF) + 1;
                const std::int64_t sets = static_cast<std::int64_t>(ecx) + 1;
                return ways * partitions * line * sets;
            }
        }
        return std::nullopt;
    }
    if (amd && maxExtended >= 0x80000006) {
        if (kind == CacheKind::data || kind == CacheKind::instruction) {
            __get_cpuid(0x80000005, &eax, &ebx, &ecx, &edx);
            const unsigned kilobytes = (kind == CacheKind::data ? ecx : edx) >> 24;
            return kilobytes ? std::optional<std::int64_t>(std::int64_t{kilobytes} * 1024) : std::nullopt;
        }
        __get_cpuid(0x80000006, &eax, &ebx, &ecx, &edx);
        if (kind == CacheKind::level2) {
            const unsigned kilobytes = ecx >> 16;
            return kilobytes ? std::optional<std::int64_t>(std::int64_t{kilobytes} * 1024) : std::nullopt;
        }
        const unsigned halfMegabytes = edx >> 18;
        return halfMegabytes ? std::optional<std::int64_t>(std::int64_t{halfMegabytes} * 512 * 1024) : std::nullopt;
    }
    return std::nullopt;
}
#else
std::optional<std::int64_t> cpuidCacheSize(CacheKind) { return std::nullopt; }
#endif

std::optional<std::int64_t> cacheSize(CacheKind kind)
{
    if (auto size = sysfsCacheSize(kind))
        return size;
    return cpuidCacheSize(kind);
}

// "2599.998" megahertz as hertz; absent unless it is digits with at most one point.
std::optional<std::int64_t> megahertzAsHertz(std::string_view text)
{
    const auto point = text.find('.');
    const auto whole = parseInteger(text.substr(0, point));
    std::int64_t fraction = 0;
    std::int64_t scale = 1000000;
    if (point != std::string_view::npos) {
        for (const char digit : text.substr(point + 1)) {
            if (digit < '0' || digit > '9')
                return std::nullopt;
            if (scale > 1) {
                scale /= 10;
                fraction += (digit - '0') * scale;
            }
        }
    }
    if (!whole || *whole < 0 || *whole > 1000000)
        return std::nullopt;
    return *whole * 1000000 + fraction;
}

// Nominal clock: the base frequency where the driver reports one, else the highest.
// Machines without a frequency driver (most virtual machines) still state the
// clock the kernel measured at boot as "cpu MHz".
std::optional<std::int64_t> nominalFrequency()
{
    const std::filesystem::path cpufreq = "/sys/devices/system/cpu/cpu0/cpufreq";
    for (const char* file : {"base_frequency", "cpuinfo_max_freq"})
        if (const auto kilohertz = readInteger(cpufreq / file); kilohertz && *kilohertz > 0)
            return *kilohertz * 1000;
    const auto hertz = megahertzAsHertz(firstCpuinfoValue({"cpu MHz"}));
    return hertz && *hertz > 0 ? hertz : std::nullopt;
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
    std::string sysctlValue(std::string_view name) const override
    {
        if (name == KernelName::brandString)
            return firstCpuinfoValue({"model name", "Model Name", "cpu model"});
        if (name == KernelName::features)
            return firstCpuinfoValue({"flags", "Features"});
        if (const auto number = sysctlInt(name))
            return std::to_string(*number);
        return {}; // hw.model and leaf7 features have no Linux counterpart
    }

    std::optional<std::int64_t> sysctlInt(std::string_view name) const override
    {
        static const std::map<std::string_view, std::function<std::optional<std::int64_t>()>, std::less<>> readers{
            {KernelName::cpuFrequency, nominalFrequency},
            {KernelName::physicalCores, physicalCoreCount},
            {KernelName::logicalCores, [] { return std::optional<std::int64_t>(logicalProcessorCount()); }},
            {KernelName::l1iCacheSize, [] { return cacheSize(CacheKind::instruction); }},
            {KernelName::l1dCacheSize, [] { return cacheSize(CacheKind::data); }},
            {KernelName::l2CacheSize, [] { return cacheSize(CacheKind::level2); }},
            {KernelName::l3CacheSize, [] { return cacheSize(CacheKind::level3); }},
            {KernelName::memorySize, installedMemory},
        };
        const auto reader = readers.find(name);
        return reader == readers.end() ? std::nullopt : reader->second();
    }

    std::vector<std::string> extraDmidecodeLocations() const override { return {"/usr/sbin/dmidecode"}; }
    std::string_view platform() const override { return kLinuxPlatform; }
};

} // namespace

std::unique_ptr<Machine> makeLiveMachine() { return std::make_unique<LinuxMachine>(); }

} // namespace veltrin
