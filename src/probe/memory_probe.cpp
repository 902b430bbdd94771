// Memory: the installed total from the kernel, modules from the memory report or
// else from dmidecode (never both), and a technology that is read where it is
// stated and only inferred, and marked so, where it is not.
//
// Every key pattern allows only spaces and tabs after the colon: both the memory
// report and dmidecode print keys with nothing after them ("Part Number:",
// "Serial Number:"), and the next key's line must never become their value.

#include "probe/memory_probe.h"

#include "core/byte_count.h"
#include "core/placeholder_rule.h"
#include "core/text_match.h"
#include "core/unicode_text.h"
#include "platform/command_table.h"
#include "probe/clean.h"
#include "probe/dmi_reader.h"
#include "probe/linux_sources.h"
#include "probe/parsers.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <map>

namespace veltrin::SystemProbe {
namespace {

template <std::size_t N>
bool isListed(const std::array<std::string_view, N>& list, std::string_view lowered)
{
    return std::find(list.begin(), list.end(), lowered) != list.end();
}

// A value that says something about a populated module.
bool isUsableModuleValue(std::string_view value)
{
    const std::string text = trimmed(value);
    return !text.empty() && !isPlaceholderValue(lowercased(text)) && !isEmptyMemorySlot(text);
}

// A module field as shown: cleaned, and empty where the value only repeats that the slot is empty.
std::string moduleField(const std::optional<std::string>& value)
{
    const auto cleaned = clean(value);
    return cleaned && !isEmptyMemorySlot(*cleaned) ? *cleaned : std::string();
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

// One module per "BANK " piece of the memory report that has a real size.
std::vector<MemoryModule> reportModules(const ReportPatterns& patterns, std::string_view sp)
{
    std::vector<MemoryModule> modules;
    for (const std::string_view piece : piecesAfter(sp, "BANK ")) {
        if (modules.size() == kMaxListedDevices)
            break;
        const auto size = patterns.size.firstMatch(piece);
        if (!size || !isUsableModuleValue(*size))
            continue;
        modules.push_back({
            .bank = "BANK " + std::string(piece.substr(0, piece.find(':'))),
            .size = *size,
            .type = clean(cleanMemoryTypeValue(patterns.type.firstMatch(piece))).value_or(""),
            .speed = moduleField(reportSpeed(patterns, piece)),
            .manufacturer = moduleField(patterns.manufacturer.firstMatch(piece)),
            .part = moduleField(patterns.part.firstMatch(piece)),
        });
    }
    return modules;
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

std::string memorySpeed(const ReportPatterns& patterns, const std::vector<MemoryModule>& modules,
                        const DMIInfo& dmi, std::string_view sp)
{
    if (auto speed = firstUsableSpeed(modules))
        return *speed;
    if (auto speed = firstUsableSpeed(dmi.memoryModules))
        return *speed;
    return moduleField(reportSpeed(patterns, sp));
}

std::string memoryType(const ReportPatterns& patterns, const std::vector<MemoryModule>& modules,
                       const DMIInfo& dmi, std::string_view sp, std::string_view speed)
{
    // memoryTechnology skips every candidate cleanMemoryTypeValue would drop.
    std::vector<std::optional<std::string>> candidates;
    for (const auto& module : modules)
        candidates.emplace_back(module.type);
    for (const auto& module : dmi.memoryModules)
        candidates.emplace_back(module.type);
    candidates.push_back(patterns.type.firstMatch(sp));
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

bool isEmptyMemorySlot(std::string_view value)
{
    const std::string lowered = lowercased(trimmed(value));
    return lowered.empty() || isListed(kEmptySlotMarkers, lowered) || contains(lowered, kEmptySlotFragment);
}

std::optional<std::string> cleanMemoryTypeValue(const std::optional<std::string>& value)
{
    if (!value)
        return std::nullopt;
    std::string text = trimmed(*value);
    const std::string lowered = lowercased(text);
    const bool namesNoTechnology = text.empty() || isPlaceholderValue(lowered) || isEmptyMemorySlot(text) ||
                                   isListed(kGenericMemoryWords, lowered) ||
                                   (contains(lowered, "ram") && !contains(lowered, "ddr"));
    if (namesNoTechnology)
        return std::nullopt;
    return text;
}

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

std::vector<MemoryModule> dmiMemoryModules(std::string_view text)
{
    // Compiled once: a dump may hold many Memory Device blocks.
    const MatchPattern size("\\n\\s*Size:[ \\t]*(.+)");
    const MatchPattern locator("\\n\\s*Locator:[ \\t]*(.+)");
    const MatchPattern bankLocator("\\n\\s*Bank Locator:[ \\t]*(.+)");
    const MatchPattern configuredMemorySpeed("\\n\\s*Configured Memory Speed:[ \\t]*(.+)");
    const MatchPattern speed("\\n\\s*Speed:[ \\t]*(.+)");
    const MatchPattern configuredClockSpeed("\\n\\s*Configured Clock Speed:[ \\t]*(.+)");
    const MatchPattern type("\\n\\s*Type:[ \\t]*(.+)");
    const MatchPattern manufacturer("\\n\\s*Manufacturer:[ \\t]*(.+)");
    const MatchPattern part("\\n\\s*Part Number:[ \\t]*(.+)");

    std::vector<MemoryModule> modules;
    for (const std::string& block : dmiBlocks(text)) {
        if (modules.size() == kMaxListedDevices)
            break;
        if (!containsIgnoringCase(block, "Memory Device"))
            continue;
        const auto moduleSize = clean(size.firstMatch(block));
        if (!moduleSize || isEmptyMemorySlot(*moduleSize))
            continue;

        auto bank = clean(locator.firstMatch(block));
        if (!bank)
            bank = clean(bankLocator.firstMatch(block));
        // The first speed key present decides, even when its value is a placeholder.
        auto moduleSpeed = configuredMemorySpeed.firstMatch(block);
        if (!moduleSpeed)
            moduleSpeed = speed.firstMatch(block);
        if (!moduleSpeed)
            moduleSpeed = configuredClockSpeed.firstMatch(block);

        modules.push_back({
            .bank = bank.value_or("DIMM"),
            .size = *moduleSize,
            .type = clean(cleanMemoryTypeValue(type.firstMatch(block))).value_or(""),
            .speed = moduleField(moduleSpeed),
            .manufacturer = moduleField(manufacturer.firstMatch(block)),
            .part = moduleField(part.firstMatch(block)),
        });
    }
    return modules;
}

namespace {

// One memory device's keys without their "MEMORY_DEVICE_<n>_" prefix ("SIZE", "LOCATOR", …).
using UdevDevice = std::map<std::string, std::string, std::less<>>;

// Every device of the record by its number. More device numbers than any real
// table holds are not collected: a record listing thousands costs no more than
// one listing a few hundred.
std::map<std::uint32_t, UdevDevice> udevDevices(std::string_view record)
{
    static constexpr std::string_view prefix = "E:MEMORY_DEVICE_";
    constexpr std::size_t kMaxDevices = 4 * kMaxListedDevices;
    const std::string text = isValidUtf8(record) ? std::string(record) : utf8Lossy(record);

    std::map<std::uint32_t, UdevDevice> devices;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = std::string_view(text).substr(start, end - start);
        start = end + 1;
        if (!line.starts_with(prefix))
            continue;
        const std::string_view rest = line.substr(prefix.size());
        const auto underscore = rest.find('_');
        const auto equals = rest.find('=');
        std::uint32_t number = 0;
        const auto [digitsEnd, error] =
            std::from_chars(rest.data(), rest.data() + std::min(underscore, rest.size()), number);
        if (underscore == std::string_view::npos || equals == std::string_view::npos || equals < underscore ||
            error != std::errc() || digitsEnd != rest.data() + underscore)
            continue;
        if (devices.find(number) == devices.end() && devices.size() == kMaxDevices)
            continue;
        devices[number].insert_or_assign(std::string(rest.substr(underscore + 1, equals - underscore - 1)),
                                         std::string(rest.substr(equals + 1)));
    }
    return devices;
}

std::optional<std::string> udevValue(const UdevDevice& device, std::string_view key)
{
    const auto found = device.find(key);
    return found == device.end() ? std::nullopt : std::optional(found->second);
}

std::optional<std::int64_t> udevCount(const UdevDevice& device, std::string_view key)
{
    const auto value = udevValue(device, key);
    return value ? decimalDigitsValue(*value) : std::nullopt;
}

// Firmware flash shares the table with the memory modules (an HP Z600 lists its
// 2 MB "SYSTEM ROM"); it is no module of the machine's memory.
bool isNonVolatile(const UdevDevice& device)
{
    return containsIgnoringCase(udevValue(device, "TYPE_DETAIL").value_or(""), "Non-Volatile");
}

} // namespace

std::vector<MemoryModule> udevMemoryModules(std::string_view record)
{
    std::vector<MemoryModule> modules;
    for (const auto& [number, device] : udevDevices(record)) {
        if (modules.size() == kMaxListedDevices)
            break;
        const auto bytes = udevCount(device, "SIZE");
        if (udevValue(device, "PRESENT") == "0" || !bytes || *bytes <= 0 || isNonVolatile(device))
            continue;
        auto bank = clean(udevValue(device, "LOCATOR"));
        if (!bank)
            bank = clean(udevValue(device, "BANK_LOCATOR"));
        // The first speed key present decides, as with dmidecode's configured speed.
        const auto speed = udevCount(device, udevValue(device, "CONFIGURED_SPEED_MTS") ? "CONFIGURED_SPEED_MTS"
                                                                                       : "SPEED_MTS");
        modules.push_back({
            .bank = bank.value_or("DIMM"),
            .size = formatByteCount(*bytes),
            .type = clean(cleanMemoryTypeValue(udevValue(device, "TYPE"))).value_or(""),
            .speed = speed && *speed > 0 ? std::to_string(*speed) + " MT/s" : "",
            .manufacturer = moduleField(udevValue(device, "MANUFACTURER")),
            .part = moduleField(udevValue(device, "PART_NUMBER")),
        });
    }
    return modules;
}

MemoryInfo memoryInfo(const MachineReadings& readings, const DMIInfo& dmi)
{
    const std::string_view sp = readings.output(Tool::memoryReport);
    MemoryInfo info;
    info.total = installedMemory(readings.kernel);
    // The report wins whenever it lists a module; the two sources are never merged.
    const ReportPatterns patterns;
    info.modules = reportModules(patterns, sp);
    if (info.modules.empty())
        info.modules = usableDmiModules(dmi.memoryModules);
    info.speed = memorySpeed(patterns, info.modules, dmi, sp);
    info.type = memoryType(patterns, info.modules, dmi, sp, info.speed);
    info.slots = slotSummary(info.modules, info.type);
    // Only whether vm_stat answered matters; its figures are not read.
    info.used = readings.output(Tool::virtualMemoryStatistics).empty() ? "" : "Live vm_stat";
    const std::string_view pressure = readings.output(Tool::memoryPressure);
    info.pressure = clean(firstMatch(pressure, "System-wide memory free percentage:[ \\t]*(.+)")).value_or("");
    // Linux has neither tool; its kernel states both figures.
    const MemoryUse linuxUse = linuxMemoryUse(readings);
    if (info.used.empty())
        info.used = linuxUse.used;
    if (info.pressure.empty())
        info.pressure = linuxUse.pressure;
    return info;
}

} // namespace veltrin::SystemProbe
