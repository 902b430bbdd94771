#include "probe/sources/cpuid.h"

#include <array>
#include <charconv>

namespace veltrin::SystemProbe {
namespace {

constexpr std::uint32_t kAuthenticAMD = 0x68747541; // "Auth" in EBX of leaf 0
constexpr std::uint32_t kAmdCacheLeaf = 0x8000001D;
constexpr std::uint32_t kIntelCacheLeaf = 0x4;
// Far more caches than any processor lists; a longer list is not read on.
constexpr std::uint32_t kMaxCacheSubleaves = 16;

// Eight hexadecimal digits at the start of `text`, which then loses them.
std::optional<std::uint32_t> hexWord(std::string_view& text)
{
    if (text.size() < 8)
        return std::nullopt;
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + 8, value, 16);
    if (error != std::errc() || end != text.data() + 8)
        return std::nullopt;
    text.remove_prefix(8);
    return value;
}

bool skip(std::string_view& text, std::string_view separator)
{
    if (!text.starts_with(separator))
        return false;
    text.remove_prefix(separator.size());
    return true;
}

bool isCacheWanted(CacheLevel level, std::uint32_t cacheLevel, std::uint32_t type)
{
    // Type 1 is data, 2 instruction, 3 unified.
    switch (level) {
    case CacheLevel::l1Data: return cacheLevel == 1 && type == 1;
    case CacheLevel::l1Instruction: return cacheLevel == 1 && type == 2;
    case CacheLevel::l2: return cacheLevel == 2;
    case CacheLevel::l3: return cacheLevel == 3;
    }
    return false;
}

std::optional<std::int64_t> kilobytes(std::uint32_t count)
{
    return count ? std::optional<std::int64_t>(std::int64_t{count} * 1024) : std::nullopt;
}

} // namespace

CpuidAnswers::CpuidAnswers(std::string_view dump)
{
    while (!dump.empty()) {
        const auto end = dump.find('\n');
        std::string_view line = dump.substr(0, end);
        dump = end == std::string_view::npos ? std::string_view() : dump.substr(end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        const auto leaf = hexWord(line);
        const auto subleaf = leaf && skip(line, " ") ? hexWord(line) : std::nullopt;
        if (!subleaf || !skip(line, ": "))
            continue;
        std::array<std::uint32_t, 4> words{};
        bool complete = true;
        for (std::size_t i = 0; i < words.size() && complete; ++i) {
            const auto word = (i == 0 || skip(line, " ")) ? hexWord(line) : std::nullopt;
            complete = word.has_value();
            words[i] = word.value_or(0);
        }
        if (complete && line.empty())
            answers_.emplace(std::pair{*leaf, *subleaf}, CpuidRegisters{words[0], words[1], words[2], words[3]});
    }
}

std::optional<CpuidRegisters> CpuidAnswers::at(std::uint32_t leaf, std::uint32_t subleaf) const
{
    const auto found = answers_.find({leaf, subleaf});
    return found == answers_.end() ? std::nullopt : std::optional(found->second);
}

std::optional<std::int64_t> cpuidCacheSize(const CpuidAnswers& answers, CacheLevel level)
{
    const auto vendor = answers.at(0);
    if (!vendor)
        return std::nullopt;
    const bool amd = vendor->ebx == kAuthenticAMD;
    const std::uint32_t maxExtended = answers.at(0x80000000).value_or(CpuidRegisters{}).eax;

    std::uint32_t leaf = 0;
    if (!amd && vendor->eax >= kIntelCacheLeaf) {
        leaf = kIntelCacheLeaf;
    } else if (amd && maxExtended >= kAmdCacheLeaf) {
        // Bit 22 of 0x80000001 ECX: the processor has the topology extensions.
        if (answers.at(0x80000001).value_or(CpuidRegisters{}).ecx & (1u << 22))
            leaf = kAmdCacheLeaf;
    }
    if (leaf != 0) {
        for (std::uint32_t subleaf = 0; subleaf < kMaxCacheSubleaves; ++subleaf) {
            const auto cache = answers.at(leaf, subleaf);
            const std::uint32_t type = cache ? cache->eax & 0x1F : 0;
            if (type == 0)
                break;
            if (!isCacheWanted(level, (cache->eax >> 5) & 0x7, type))
                continue;
            const std::int64_t ways = ((cache->ebx >> 22) & 0x3FF) + 1;
            const std::int64_t partitions = ((cache->ebx >> 12) & 0x3FF) + 1;
            const std::int64_t lineSize = (cache->ebx & 0xFFF) + 1;
            const std::int64_t sets = static_cast<std::int64_t>(cache->ecx) + 1;
            return ways * partitions * lineSize * sets;
        }
        return std::nullopt;
    }
    if (!amd || maxExtended < 0x80000006)
        return std::nullopt;
    // AMD before the topology extensions: L1 sizes in KB in the top byte of ECX
    // (data) and EDX (instruction), L2 in KB in the top half of ECX, L3 in 512 KB
    // units in the top 14 bits of EDX.
    if (level == CacheLevel::l1Data || level == CacheLevel::l1Instruction) {
        const auto l1 = answers.at(0x80000005).value_or(CpuidRegisters{});
        return kilobytes((level == CacheLevel::l1Data ? l1.ecx : l1.edx) >> 24);
    }
    const auto l2l3 = answers.at(0x80000006).value_or(CpuidRegisters{});
    if (level == CacheLevel::l2)
        return kilobytes(l2l3.ecx >> 16);
    const std::uint32_t halfMegabytes = l2l3.edx >> 18;
    return halfMegabytes ? std::optional<std::int64_t>(std::int64_t{halfMegabytes} * 512 * 1024) : std::nullopt;
}

} // namespace veltrin::SystemProbe
