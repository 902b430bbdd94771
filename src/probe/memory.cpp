// Every key pattern allows only spaces and tabs after the colon: both the memory
// report and dmidecode print keys with nothing after them ("Part Number:",
// "Serial Number:"), and the next key's line must never become their value.

#include "probe/memory.h"

#include "core/byte_count.h"
#include "core/placeholder_rule.h"
#include "core/text_match.h"
#include "core/unicode_text.h"
#include "platform/command_table.h"
#include "platform/linux_files.h"
#include "probe/sources/filters.h"
#include "probe/sources/proc_meminfo.h"
#include "probe/sources/system_profiler_xml.h"

#include <algorithm>
#include <cstdint>

namespace veltrin::SystemProbe {
namespace {

// A value that says something about a populated module.
bool isUsableModuleValue(std::string_view value)
{
    const std::string text = trimmed(value);
    return !text.empty() && !isPlaceholderValue(lowercased(text)) && !isEmptyMemorySlot(text);
}

// The memory report's keys; compiled once, since a report may hold many pieces.
struct ReportPatterns {
    MatchPattern size{"Size:[ \\t]*(.+)"};
    MatchPattern type{"Type:[ \\t]*(.+)"};
    MatchPattern speed{"Speed:[ \\t]*(.+)"};
    MatchPattern clockSpeed{"Configured Clock Speed:[ \\t]*(.+)"};
    MatchPattern manufacturer{"Manufacturer:[ \\t]*(.+)"};
    MatchPattern part{"Part Number:[ \\t]*(.+)"};
};

std::optional<std::string> reportSpeed(const ReportPatterns& patterns, std::string_view text)
{
    auto speed = patterns.speed.firstMatch(text);
    if (!speed)
        speed = patterns.clockSpeed.firstMatch(text);
    return speed;
}

// What the memory report states: its modules, and the first speed and type it
// prints anywhere (on-package memory states a type and no module).
struct MemoryReport {
    std::vector<MemoryModule> modules;
    std::optional<std::string> firstSpeed;
    std::optional<std::string> firstType;
};

// One module per "BANK " piece of the English text that has a real size.
MemoryReport textReport(std::string_view sp)
{
    const ReportPatterns patterns;
    MemoryReport report;
    for (const std::string_view piece : piecesAfter(sp, "BANK ")) {
        if (report.modules.size() == kMaxListedDevices)
            break;
        const auto size = patterns.size.firstMatch(piece);
        if (!size || !isUsableModuleValue(*size))
            continue;
        report.modules.push_back({
            .bank = "BANK " + std::string(piece.substr(0, piece.find(':'))),
            .size = *size,
            .type = clean(cleanMemoryTypeValue(patterns.type.firstMatch(piece))).value_or(""),
            .speed = moduleValue(reportSpeed(patterns, piece)),
            .manufacturer = moduleValue(patterns.manufacturer.firstMatch(piece)),
            .part = moduleValue(patterns.part.firstMatch(piece)),
        });
    }
    report.firstSpeed = reportSpeed(patterns, sp);
    report.firstType = patterns.type.firstMatch(sp);
    return report;
}

// The same from the XML form: the slots are the "_items" of the report's slot
// group (a Mac with on-package memory lists none), each named as the text's
// "BANK …:" line; dimm_size, dimm_type, dimm_speed, dimm_manufacturer and
// dimm_part_number are the keys behind "Size:", "Type:", "Speed:",
// "Manufacturer:" and "Part Number:".
MemoryReport plistReport(std::string_view xml)
{
    const std::vector<PlistValue> items = systemProfilerItems(xml);
    MemoryReport report;
    for (const PlistValue& group : items)
        for (const PlistValue& slot : group.list("_items")) {
            if (report.modules.size() == kMaxListedDevices)
                break;
            const auto bank = slot.scalar("_name");
            const auto size = englishValue(slot, "dimm_size");
            if (!bank || !startsWith(*bank, "BANK ") || !size || !isUsableModuleValue(*size))
                continue;
            report.modules.push_back({
                .bank = *bank,
                .size = *size,
                .type = clean(cleanMemoryTypeValue(englishValue(slot, "dimm_type"))).value_or(""),
                .speed = moduleValue(englishValue(slot, "dimm_speed")),
                .manufacturer = moduleValue(englishValue(slot, "dimm_manufacturer")),
                .part = moduleValue(englishValue(slot, "dimm_part_number")),
            });
        }
    report.firstSpeed = firstScalar(items, "dimm_speed");
    if (const auto type = firstScalar(items, "dimm_type"))
        report.firstType = englishText("dimm_type", *type);
    return report;
}

MemoryReport memoryReport(const MachineReadings& readings)
{
    const std::string_view sp = readings.output(Tool::memoryReport);
    return isEnglishReport(sp, EnglishLabels::memory) ? textReport(sp)
                                                     : plistReport(readings.output(Tool::memoryReportXml));
}

// A size that the interface would hide as a placeholder ("—", "Not Exposed",
// "SMBIOS fallback", OEM filler …) describes no real module.
bool hasUsableDmiSize(const MemoryModule& module)
{
    return !isEmptyMemorySlot(module.size) && !veltrinShouldHideField(module.size);
}

std::vector<MemoryModule> usableDmiModules(const std::vector<MemoryModule>& modules)
{
    std::vector<MemoryModule> usable;
    std::copy_if(modules.begin(), modules.end(), std::back_inserter(usable), hasUsableDmiSize);
    return usable;
}

std::optional<std::string> firstUsableSpeed(const std::vector<MemoryModule>& modules)
{
    for (const auto& module : modules)
        if (isUsableModuleValue(module.speed))
            return trimmed(module.speed);
    return std::nullopt;
}

std::string memorySpeed(const std::vector<MemoryModule>& modules, const DMIInfo& dmi, const MemoryReport& report)
{
    if (auto speed = firstUsableSpeed(modules))
        return *speed;
    if (auto speed = firstUsableSpeed(dmi.memoryModules))
        return *speed;
    return moduleValue(report.firstSpeed);
}

std::string memoryType(const std::vector<MemoryModule>& modules, const DMIInfo& dmi, const MemoryReport& report,
                       std::string_view sp, std::string_view speed)
{
    // memoryTechnology skips every candidate cleanMemoryTypeValue would drop.
    std::vector<std::optional<std::string>> candidates;
    for (const auto& module : modules)
        candidates.emplace_back(module.type);
    for (const auto& module : dmi.memoryModules)
        candidates.emplace_back(module.type);
    candidates.push_back(report.firstType);
    candidates.push_back(firstMatch(dmi.raw, "\\n\\s*Type:[ \\t]*(DDR[^\\n]+|LPDDR[^\\n]+)"));
    if (auto stated = memoryTechnology(candidates, speed))
        return *stated;
    const std::string platformText = std::string(sp) + " " + dmi.raw;
    return inferredMemoryTechnologyFromPlatformText(platformText).value_or("");
}

std::string slotSummary(const std::vector<MemoryModule>& modules, std::string_view type)
{
    if (!modules.empty())
        return std::to_string(modules.size()) + " populated";
    return type.empty() ? "" : "Unified / On-board";
}

// The largest machines hold tens of terabytes; a kernel value far beyond that
// describes no real memory and shows the placeholder rather than "8388608 TB".
constexpr std::int64_t kLargestMemoryBytes = std::int64_t{1} << 52;

std::string installedMemory(const KernelValues& kernel)
{
    const auto bytes = kernel.integer(KernelName::memorySize);
    return bytes && *bytes > 0 && *bytes <= kLargestMemoryBytes ? formatByteCount(*bytes) : "\u2014";
}

} // namespace

std::optional<std::string> memoryTechnology(const std::vector<std::optional<std::string>>& candidates,
                                            std::string_view speed)
{
    std::string qualifiers;
    for (const std::string_view word : kTechnologyQualifiers)
        qualifiers += (qualifiers.empty() ? "" : "|") + escapedPattern(word);
    const MatchPattern qualifierWords(qualifiers);
    const MatchPattern statedTechnology(kStatedTechnologyPattern);

    for (const auto& candidate : candidates) {
        const auto value = cleanMemoryTypeValue(candidate);
        if (!value)
            continue;
        const std::string bare = trimmed(qualifierWords.removingMatches(*value));
        if (const auto technology = statedTechnology.firstMatch(bare))
            return uppercased(*technology);
    }
    return inferredMemoryTechnologyFromSpeed(speed);
}

std::optional<std::string> inferredMemoryTechnologyFromSpeed(std::string_view speed)
{
    // \d matches the digits of every script, and each is read as the number it is.
    const auto digits = firstMatch(speed, "(\\d{3,5})");
    const auto number = digits ? decimalDigitsValue(*digits) : std::nullopt;
    if (!number)
        return std::nullopt;
    for (const auto& range : kTechnologyBySpeed)
        if (*number >= range.lowest && *number <= range.highest)
            return std::string(range.technology);
    return std::nullopt;
}

std::optional<std::string> inferredMemoryTechnologyFromPlatformText(std::string_view text)
{
    const std::string lowered = lowercased(text);
    for (const auto& [chipset, technology] : kTechnologyByChipset)
        if (contains(lowered, chipset))
            return std::string(technology);
    return std::nullopt;
}

MemoryInfo memoryInfo(const MachineReadings& readings, const DMIInfo& dmi)
{
    const std::string_view sp = readings.output(Tool::memoryReport);
    MemoryInfo info;
    info.total = installedMemory(readings.kernel);
    // The report wins whenever it lists a module; the two sources are never merged.
    const MemoryReport report = memoryReport(readings);
    info.modules = report.modules;
    if (info.modules.empty())
        info.modules = usableDmiModules(dmi.memoryModules);
    info.speed = memorySpeed(info.modules, dmi, report);
    info.type = memoryType(info.modules, dmi, report, sp, info.speed);
    info.slots = slotSummary(info.modules, info.type);
    // Only whether vm_stat answered matters; its figures are not read.
    info.used = readings.output(Tool::virtualMemoryStatistics).empty() ? "" : "Live vm_stat";
    const std::string_view pressure = readings.output(Tool::memoryPressure);
    info.pressure = clean(firstMatch(pressure, "System-wide memory free percentage:[ \\t]*(.+)")).value_or("");
    // Linux has neither tool; its kernel states both figures.
    const MemoryUse linuxUse = linuxMemoryUse(readings.file(LinuxPath::memoryInfo));
    if (info.used.empty())
        info.used = linuxUse.used;
    if (info.pressure.empty())
        info.pressure = linuxUse.pressure;
    return info;
}

} // namespace veltrin::SystemProbe
