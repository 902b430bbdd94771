#include "probe/sources/dmidecode.h"

#include "core/text_match.h"
#include "core/unicode_text.h"
#include "probe/sources/filters.h"

#include <array>

namespace veltrin::SystemProbe {
namespace {

void finishBlock(std::vector<std::string>& lines, std::vector<std::string>& blocks)
{
    if (lines.empty())
        return;
    std::string block;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            block += '\n';
        block += lines[i];
    }
    blocks.push_back(std::move(block));
    lines.clear();
}

// Splits at every line break: LF, CR LF, CR and the other Unicode newline characters.
std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t breakLength = 0;
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n' || c == '\v' || c == '\f')
            breakLength = 1;
        else if (c == '\r')
            breakLength = (i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
        else if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x85)
            breakLength = 2; // U+0085 NEXT LINE
        else if (c == 0xE2 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
                 (static_cast<unsigned char>(text[i + 2]) == 0xA8 || static_cast<unsigned char>(text[i + 2]) == 0xA9))
            breakLength = 3; // U+2028, U+2029
        if (breakLength == 0) {
            ++i;
            continue;
        }
        lines.push_back(text.substr(start, i - start));
        i += breakLength;
        start = i;
    }
    lines.push_back(text.substr(start));
    return lines;
}

// Where the copy shipped inside the application lives.
constexpr std::string_view kBundledResourcesMarker = ".app/Contents/Resources";

struct DMIField {
    std::string_view title;
    std::string_view key;
    std::optional<std::string> DMIInfo::*member;
};

constexpr std::array<DMIField, 12> kDMIFields{{
    {"BIOS Information", "Vendor", &DMIInfo::biosVendor},
    {"BIOS Information", "Version", &DMIInfo::biosVersion},
    {"BIOS Information", "Release Date", &DMIInfo::biosDate},
    {"System Information", "Manufacturer", &DMIInfo::systemManufacturer},
    {"System Information", "Product Name", &DMIInfo::systemProduct},
    {"System Information", "Serial Number", &DMIInfo::systemSerial},
    {"System Information", "Version", &DMIInfo::systemVersion},
    {"Base Board Information", "Manufacturer", &DMIInfo::baseboardManufacturer},
    {"Base Board Information", "Product Name", &DMIInfo::baseboardProduct},
    {"Base Board Information", "Version", &DMIInfo::baseboardVersion},
    {"Base Board Information", "Serial Number", &DMIInfo::baseboardSerial},
    {"Base Board Information", "Asset Tag", &DMIInfo::boardAssetTag},
}};

} // namespace

std::vector<std::string> dmiBlocks(std::string_view text)
{
    std::vector<std::string> blocks;
    std::vector<std::string> current;
    for (const std::string_view line : splitLines(text)) {
        if (line.starts_with("Handle ") && !current.empty())
            finishBlock(current, blocks);
        if (!trimmed(line).empty() || !current.empty())
            current.emplace_back(line);
    }
    finishBlock(current, blocks);

    std::vector<std::string> records;
    for (auto& block : blocks)
        if (containsIgnoringCase(block, "DMI type") || containsIgnoringCase(block, "Information"))
            records.push_back(std::move(block));
    return records;
}

std::optional<std::string> dmiValue(const std::vector<std::string>& blocks, std::string_view handle,
                                    std::string_view key)
{
    // The key must start a line, and its value stays on that line: a key with
    // nothing but blanks after its colon has no value rather than the next line's.
    const MatchPattern pattern(R"(\n\s*)" + escapedPattern(key) + R"(:[ \t]*(.+))");
    for (const std::string& block : blocks) {
        if (!containsIgnoringCase(block, handle))
            continue;
        if (auto value = pattern.firstMatch(block))
            return value;
    }
    return std::nullopt;
}

std::optional<std::string> dmiValue(std::string_view text, std::string_view handle, std::string_view key)
{
    return dmiValue(dmiBlocks(text), handle, key);
}

DMIInfo dmidecodeInfo(std::string_view path, const ProcessResult& result)
{
    if (result.status != 0 || result.output.empty())
        return {.source = std::string(kUnreadableDmidecodeSource), .raw = result.output};
    DMIInfo info{
        .source = std::string(contains(path, kBundledResourcesMarker) ? kBundledDmidecodeSource
                                                                      : kExternalDmidecodeSource),
        .raw = result.output,
    };
    // One split serves all twelve lookups; a long dump is not cut up twelve times.
    const std::vector<std::string> blocks = dmiBlocks(info.raw);
    for (const DMIField& field : kDMIFields)
        info.*field.member = dmiValue(blocks, field.title, field.key);
    info.memoryModules = dmiMemoryModules(info.raw);
    return info;
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
            .speed = moduleValue(moduleSpeed),
            .manufacturer = moduleValue(manufacturer.firstMatch(block)),
            .part = moduleValue(part.firstMatch(block)),
        });
    }
    return modules;
}

} // namespace veltrin::SystemProbe
