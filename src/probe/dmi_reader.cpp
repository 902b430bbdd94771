#include "probe/dmi_reader.h"

#include "core/unicode_text.h"
#include "platform/machine.h"

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

// Until the reader lands, no dmidecode is ever found.
std::optional<std::string> dmidecodeExecutable(const Machine&) { return std::nullopt; }

DMIInfo dmiInfo(const Machine& machine)
{
    (void)machine;
    return {};
}

std::optional<std::string> dmiValue(std::string_view, std::string_view, std::string_view) { return std::nullopt; }

} // namespace veltrin::SystemProbe
