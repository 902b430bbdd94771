// firstMatch with every pattern the parsers use and with patterns the fuzzer
// writes itself, linesContaining, escapedPattern and clean.

#include "fuzz_input.h"

#include "core/text_match.h"
#include "probe/sources/filters.h"

#include <array>
#include <cstdlib>

using namespace veltrin;

namespace {

constexpr std::array<const char*, 44> kParserPatterns{
    R"(Processor Name:\s*(.+))", R"(Processor Speed:\s*(.+))", "VRAM.*?:[ \\t]*(.+)",
    "Total Number of Cores:[ \\t]*(.+)", "Vendor:[ \\t]*(.+)", "Metal Support:[ \\t]*(.+)",
    R"(board-id.*?<([0-9a-fA-F]+)>)", R"re(board-id.*?= <?"(.+?)")re", R"(Model Identifier:\s*(.+))",
    R"(Model Name:\s*(.+))", R"(Model:\s*(.+))", R"(Serial Number.*?:\s*(.+))",
    R"re(IOPlatformSerialNumber.*?= "(.+?)")re", R"(Hardware UUID:\s*(.+))", R"re(IOPlatformUUID.*?= "(.+?)")re",
    R"((?:Version|Board Version|Revision):[ \t]*(.+))", R"(System Firmware Version:\s*(.+))",
    R"(Boot ROM Version:\s*(.+))", R"(SMC Version.*?:\s*(.+))", R"(ProductVersion:\s*(.+))",
    R"(BuildVersion:\s*(.+))", "Speed:[ \\t]*(.+)", "Configured Clock Speed:[ \\t]*(.+)", "Size:[ \\t]*(.+)",
    "Type:[ \\t]*(.+)", "Manufacturer:[ \\t]*(.+)", "Part Number:[ \\t]*(.+)",
    "\\n\\s*Type:[ \\t]*(DDR[^\\n]+|LPDDR[^\\n]+)", "(?i)\\b(LPDDR[2-6]X?|DDR[2-6])\\b", "(\\d{3,5})",
    "\\n\\s*Size:[ \\t]*(.+)", "\\n\\s*Locator:[ \\t]*(.+)", "\\n\\s*Bank Locator:[ \\t]*(.+)",
    "\\n\\s*Configured Memory Speed:[ \\t]*(.+)", "System-wide memory free percentage:[ \\t]*(.+)",
    R"(((?:MSI|MAG|MPG|MEG|PRO)[A-Z0-9 \t-]*Z890[A-Z0-9 \t-]*))",
    R"(((?:ROG|TUF|PRIME|PROART)[A-Z0-9 \t-]*Z890[A-Z0-9 \t-]*))",
    R"(((?:AORUS|GIGABYTE)[A-Z0-9 \t-]*Z890[A-Z0-9 \t-]*))", R"((Z890[A-Z0-9 \t-]*))",
    R"((Intel\s+(?:Z|B|H|Q|W|X)[0-9]{3}))", R"((?<![\p{L}\p{N}])((?:Z|B|H|Q|W|X)[0-9]{3}))",
    R"((AMD\s+(?:X|B|A)[0-9]{3}))", R"(\"manufacturer\"\s*=\s*\"(.+?)\")",
    R"(\"board-name\"\s*=\s*<([0-9a-fA-F\s]+)>)",
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto parts = fuzzing::texts(data, size, 2);
    const std::string& pattern = parts[0];
    const std::string& text = parts[1];

    for (const char* parserPattern : kParserPatterns)
        (void)firstMatch(text, parserPattern);
    (void)firstMatch(text, pattern); // invalid patterns must come back absent, never throw

    // A literal that occurs in the text is always found by its escaped pattern.
    if (!pattern.empty() && pattern.size() < 64 && text.find(pattern) != std::string::npos &&
        !firstMatch(text, "(" + escapedPattern(pattern) + ")"))
        std::abort();

    for (const std::string& line : linesContaining(text, pattern))
        if (line.empty() || line.find('\n') != std::string::npos)
            std::abort();

    const auto cleaned = SystemProbe::clean(text);
    if (cleaned && (cleaned->empty() || trimmed(*cleaned) != *cleaned))
        std::abort();
    return 0;
}
