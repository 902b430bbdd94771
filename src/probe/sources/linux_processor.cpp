#include "probe/sources/linux_processor.h"

#include "core/unicode_text.h"
#include "platform/command_table.h"
#include "platform/linux_files.h"
#include "probe/sources/cpuid.h"
#include "probe/sources/system_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace veltrin::SystemProbe {
namespace {

using CpuinfoEntry = std::map<std::string, std::string, std::less<>>;

// The "key : value" lines of each processor entry, entries parted by blank lines.
std::vector<CpuinfoEntry> cpuinfoEntries(std::string_view cpuinfo)
{
    std::vector<CpuinfoEntry> entries(1);
    while (!cpuinfo.empty()) {
        const auto end = cpuinfo.find('\n');
        const std::string_view line = cpuinfo.substr(0, end);
        cpuinfo = end == std::string_view::npos ? std::string_view() : cpuinfo.substr(end + 1);
        if (trimmed(line).empty()) {
            if (!entries.back().empty())
                entries.emplace_back();
            continue;
        }
        const auto colon = line.find(':');
        if (colon != std::string_view::npos)
            entries.back().insert_or_assign(trimmed(line.substr(0, colon)), trimmed(line.substr(colon + 1)));
    }
    if (entries.back().empty())
        entries.pop_back();
    return entries;
}

// The first non-empty value of any of `keys`, entry by entry: x86 names the
// brand "model name", some ARM kernels "Model Name", MIPS "cpu model".
std::string firstValue(const std::vector<CpuinfoEntry>& entries, std::initializer_list<std::string_view> keys)
{
    for (const CpuinfoEntry& entry : entries)
        for (const std::string_view key : keys)
            if (const auto found = entry.find(key); found != entry.end() && !found->second.empty())
                return found->second;
    return {};
}

std::optional<std::int64_t> integerIn(std::string_view text)
{
    std::int64_t value = 0;
    const auto* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

std::optional<std::int64_t> fileInteger(const FileContents& files, const std::string& path)
{
    const auto text = systemFileText(files, path);
    return text ? integerIn(*text) : std::nullopt;
}

// Far more logical processors than the largest machine has; a list claiming
// more describes no real machine.
constexpr std::int64_t kMostProcessors = 1 << 20;

// How many processors a kernel CPU list names ("0-3,5,7-8" is seven).
std::optional<std::int64_t> listedProcessorCount(std::string_view list)
{
    std::int64_t count = 0;
    while (!list.empty()) {
        const auto comma = list.find(',');
        const std::string_view range = list.substr(0, comma);
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
        const auto dash = range.find('-');
        const auto first = integerIn(range.substr(0, dash));
        const auto last = dash == std::string_view::npos ? first : integerIn(range.substr(dash + 1));
        if (!first || !last || *first < 0 || *last < *first || *last - *first >= kMostProcessors)
            return std::nullopt;
        count += *last - *first + 1;
        if (count > kMostProcessors)
            return std::nullopt;
    }
    return count > 0 ? std::optional(count) : std::nullopt;
}

// The processors online, else one per entry of /proc/cpuinfo.
std::optional<std::int64_t> logicalProcessors(const FileContents& files, const std::vector<CpuinfoEntry>& entries)
{
    if (const auto online = systemFileText(files, LinuxPath::onlineProcessors))
        if (const auto count = listedProcessorCount(*online))
            return count;
    const auto listed = std::count_if(entries.begin(), entries.end(),
                                      [](const CpuinfoEntry& entry) { return entry.contains("processor"); });
    return listed > 0 ? std::optional<std::int64_t>(listed) : std::nullopt;
}

// Distinct (package, core) pairs: from /proc/cpuinfo where it states them (x86),
// else from each processor's topology files (ARM); without either, one core per
// logical processor.
std::optional<std::int64_t> physicalCores(const FileContents& files, const std::vector<CpuinfoEntry>& entries,
                                          std::optional<std::int64_t> logical)
{
    std::set<std::pair<std::string, std::string>> cores;
    for (const CpuinfoEntry& entry : entries) {
        const auto package = entry.find("physical id");
        const auto core = entry.find("core id");
        if (package != entry.end() && core != entry.end())
            cores.emplace(package->second, core->second);
    }
    if (cores.empty()) {
        const std::string_view folder = LinuxPath::processorFolder;
        const std::string suffix = "/" + std::string(TopologyFile::core);
        for (auto file = files.lower_bound(folder); file != files.end() && file->first.starts_with(folder); ++file) {
            const std::string_view rest = std::string_view(file->first).substr(folder.size());
            if (!rest.ends_with(suffix) || !isProcessorFolder(rest.substr(0, rest.size() - suffix.size())))
                continue;
            const std::string processor(rest.substr(0, rest.size() - suffix.size()));
            const std::string packagePath = std::string(folder) + processor + "/" + std::string(TopologyFile::package);
            if (const auto core = systemFileText(files, file->first))
                cores.emplace(systemFileText(files, packagePath).value_or(""), *core);
        }
    }
    if (cores.empty())
        return logical;
    return static_cast<std::int64_t>(cores.size());
}

// "2599.998" megahertz as hertz; absent unless it is digits with at most one point.
std::optional<std::int64_t> megahertzAsHertz(std::string_view text)
{
    const auto point = text.find('.');
    const auto whole = integerIn(text.substr(0, point));
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

// The base clock where the driver reports one, else the highest. Machines
// without a frequency driver (most virtual machines) still state the clock the
// kernel measured at boot as "cpu MHz".
std::optional<std::int64_t> nominalFrequency(const FileContents& files, const std::vector<CpuinfoEntry>& entries)
{
    for (const std::string_view file : {FrequencyFile::base, FrequencyFile::maximum})
        if (const auto kilohertz = fileInteger(files, std::string(LinuxPath::frequencyFolder) + std::string(file));
            kilohertz && *kilohertz > 0)
            return *kilohertz * 1000;
    const auto hertz = megahertzAsHertz(firstValue(entries, {"cpu MHz"}));
    return hertz && *hertz > 0 ? hertz : std::nullopt;
}

// sysfs writes sizes such as "32K" or "16M".
std::optional<std::int64_t> cacheSizeBytes(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    std::int64_t scale = 1;
    switch (text.back()) {
    case 'K': scale = 1024; text.remove_suffix(1); break;
    case 'M': scale = 1024 * 1024; text.remove_suffix(1); break;
    case 'G': scale = 1024 * 1024 * 1024; text.remove_suffix(1); break;
    default: break;
    }
    const auto value = integerIn(text);
    return value ? std::optional(*value * scale) : std::nullopt;
}

bool isSysfsCacheWanted(CacheLevel level, std::optional<std::int64_t> cacheLevel, std::string_view type)
{
    switch (level) {
    case CacheLevel::l1Instruction: return cacheLevel == 1 && type == "Instruction";
    case CacheLevel::l1Data: return cacheLevel == 1 && type == "Data";
    case CacheLevel::l2: return cacheLevel == 2;
    case CacheLevel::l3: return cacheLevel == 3;
    }
    return false;
}

// cpu0's "index<N>" folder numbers, in order.
std::vector<int> cacheFolders(const FileContents& files)
{
    std::vector<int> indexes;
    const std::string_view folder = LinuxPath::cacheFolder;
    for (auto file = files.lower_bound(folder); file != files.end() && file->first.starts_with(folder); ++file) {
        const std::string_view rest = std::string_view(file->first).substr(folder.size());
        const std::string_view name = rest.substr(0, rest.find('/'));
        int index = 0;
        const auto [end, error] = std::from_chars(name.data() + std::min<std::size_t>(5, name.size()),
                                                  name.data() + name.size(), index);
        if (isCacheFolder(name) && error == std::errc() && end == name.data() + name.size())
            indexes.push_back(index);
    }
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    return indexes;
}

// cpu0's folder for `level` ("…/cache/index2/"), absent when it has none.
std::optional<std::string> sysfsCacheFolder(const FileContents& files, CacheLevel level)
{
    for (const int index : cacheFolders(files)) {
        std::string path = std::string(LinuxPath::cacheFolder) + "index" + std::to_string(index) + "/";
        const auto cacheLevel = fileInteger(files, path + std::string(CacheFile::level));
        const std::string type = systemFileText(files, path + std::string(CacheFile::type)).value_or("");
        if (isSysfsCacheWanted(level, cacheLevel, type))
            return path;
    }
    return std::nullopt;
}

std::optional<std::int64_t> sysfsCacheSize(const FileContents& files, CacheLevel level)
{
    const auto folder = sysfsCacheFolder(files, level);
    return folder ? cacheSizeBytes(systemFileText(files, *folder + std::string(CacheFile::size)).value_or(""))
                  : std::nullopt;
}

// The kernel writes 0 where it does not know the ways, and stands in 0xFFFF
// for a fully associative cache it describes from AMD's older leaves.
constexpr std::int64_t kSysfsFullyAssociative = 0xFFFF;

// "0x1000065" as a number; absent unless it is 0x and hexadecimal digits.
std::optional<std::int64_t> hexadecimalIn(std::string_view text)
{
    if (!text.starts_with("0x") && !text.starts_with("0X"))
        return std::nullopt;
    text.remove_prefix(2);
    std::int64_t value = 0;
    const auto* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, 16);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

struct CacheValue {
    std::string_view name;
    CacheLevel level;
};

constexpr std::array<CacheValue, 4> kCacheValues{{
    {KernelName::l1iCacheSize, CacheLevel::l1Instruction},
    {KernelName::l1dCacheSize, CacheLevel::l1Data},
    {KernelName::l2CacheSize, CacheLevel::l2},
    {KernelName::l3CacheSize, CacheLevel::l3},
}};

// Far beyond any real family, model or stepping: such a line describes no processor.
constexpr std::int64_t kLargestSignatureValue = 0xFFFF;

std::optional<std::int64_t> signatureValue(const std::vector<CpuinfoEntry>& entries, std::string_view key)
{
    const auto value = integerIn(firstValue(entries, {key}));
    return value && *value >= 0 && *value <= kLargestSignatureValue ? value : std::nullopt;
}

} // namespace

CacheLayout sysfsCacheLayout(const FileContents& files, CacheLevel level)
{
    const auto folder = sysfsCacheFolder(files, level);
    if (!folder)
        return {};
    const auto ways = fileInteger(files, *folder + std::string(CacheFile::ways));
    const auto lineSize = fileInteger(files, *folder + std::string(CacheFile::lineSize));
    CacheLayout layout;
    if (ways == kSysfsFullyAssociative)
        layout.ways = kFullyAssociative;
    else if (ways && *ways > 0)
        layout.ways = ways;
    if (lineSize && *lineSize > 0)
        layout.lineSize = lineSize;
    return layout;
}

KernelValues linuxProcessorValues(const FileContents& files, std::string_view cpuid)
{
    const auto cpuinfo = fileContent(files, LinuxPath::cpuInfo);
    const std::vector<CpuinfoEntry> entries = cpuinfoEntries(cpuinfo.value_or(""));
    KernelValues values;
    const auto setText = [&](std::string_view name, std::string text) {
        if (!text.empty())
            values.texts.emplace(name, std::move(text));
    };
    const auto setInteger = [&](std::string_view name, std::optional<std::int64_t> number) {
        if (number)
            values.integers.emplace(name, *number);
    };
    setText(KernelName::brandString, firstValue(entries, {"model name", "Model Name", "cpu model"}));
    setText(KernelName::features, firstValue(entries, {"flags", "Features"}));
    const auto logical = logicalProcessors(files, entries);
    setInteger(KernelName::logicalCores, logical);
    setInteger(KernelName::physicalCores, physicalCores(files, entries, logical));
    setInteger(KernelName::cpuFrequency, nominalFrequency(files, entries));
    // x86 Linux states the full family and model in decimal; the kernel values
    // macOS names split off the extensions.
    const auto family = signatureValue(entries, "cpu family");
    const auto model = signatureValue(entries, "model");
    if (family) {
        setInteger(KernelName::family, std::min<std::int64_t>(*family, 0xF));
        setInteger(KernelName::extFamily, *family > 0xF ? *family - 0xF : 0);
    }
    if (model) {
        setInteger(KernelName::cpuModel, model);
        setInteger(KernelName::extModel, *model >> 4);
    }
    setInteger(KernelName::stepping, signatureValue(entries, "stepping"));
    setInteger(KernelName::microcode, hexadecimalIn(firstValue(entries, {"microcode"})));
    // Virtual machines often publish no cache folders; the processor itself
    // still describes its caches through CPUID.
    const CpuidAnswers answers(cpuid);
    for (const CacheValue& cache : kCacheValues) {
        auto size = sysfsCacheSize(files, cache.level);
        setInteger(cache.name, size ? size : cpuidCacheSize(answers, cache.level));
    }
    return values;
}

} // namespace veltrin::SystemProbe
