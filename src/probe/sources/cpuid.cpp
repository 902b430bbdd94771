#include "probe/sources/cpuid.h"

#include <array>
#include <charconv>

namespace veltrin::SystemProbe {
namespace {

// EBX of leaf 0, the vendor string's first four letters.
constexpr std::uint32_t kAuthenticAMD = 0x68747541; // "Auth"
constexpr std::uint32_t kHygonGenuine = 0x6F677948; // "Hygo": AMD's design, AMD's leaves
constexpr std::uint32_t kAmdCacheLeaf = 0x8000001D;
constexpr std::uint32_t kIntelCacheLeaf = 0x4;
constexpr std::uint32_t kAmdL1Leaf = 0x80000005;
constexpr std::uint32_t kAmdL2L3Leaf = 0x80000006;
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

std::uint32_t bits(std::uint32_t value, unsigned low, unsigned count) { return (value >> low) & ((1u << count) - 1); }

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

bool isAmdDesign(const CpuidAnswers& answers)
{
    const std::uint32_t vendor = answers.at(0).value_or(CpuidRegisters{}).ebx;
    return vendor == kAuthenticAMD || vendor == kHygonGenuine;
}

std::uint32_t maxExtendedLeaf(const CpuidAnswers& answers) { return answers.at(0x80000000).value_or(CpuidRegisters{}).eax; }

// The leaf that lists each cache in full (EAX type and level, EBX ways,
// partitions and line size, ECX sets), or 0 where the processor has none.
std::uint32_t deterministicCacheLeaf(const CpuidAnswers& answers)
{
    const auto vendor = answers.at(0);
    if (!vendor)
        return 0;
    if (!isAmdDesign(answers))
        return vendor->eax >= kIntelCacheLeaf ? kIntelCacheLeaf : 0;
    // Bit 22 of 0x80000001 ECX: the processor has the topology extensions.
    const bool topology = answers.at(0x80000001).value_or(CpuidRegisters{}).ecx & (1u << 22);
    return topology && maxExtendedLeaf(answers) >= kAmdCacheLeaf ? kAmdCacheLeaf : 0;
}

// The deterministic leaf's entry for `level`, absent when it lists none.
std::optional<CpuidRegisters> deterministicCache(const CpuidAnswers& answers, std::uint32_t leaf, CacheLevel level)
{
    for (std::uint32_t subleaf = 0; subleaf < kMaxCacheSubleaves; ++subleaf) {
        const auto cache = answers.at(leaf, subleaf);
        const std::uint32_t type = cache ? bits(cache->eax, 0, 5) : 0;
        if (type == 0)
            return std::nullopt;
        if (isCacheWanted(level, bits(cache->eax, 5, 3), type))
            return cache;
    }
    return std::nullopt;
}

// AMD before the topology extensions describes its caches in two leaves of its own.
bool hasAmdCacheLeaves(const CpuidAnswers& answers)
{
    return isAmdDesign(answers) && maxExtendedLeaf(answers) >= kAmdL2L3Leaf;
}

// The register of 0x80000005/6 that describes `level`: L1 data in 5's ECX,
// L1 instruction in its EDX, L2 in 6's ECX, L3 in its EDX.
std::uint32_t amdCacheRegister(const CpuidAnswers& answers, CacheLevel level)
{
    const auto l1 = answers.at(kAmdL1Leaf).value_or(CpuidRegisters{});
    const auto l2l3 = answers.at(kAmdL2L3Leaf).value_or(CpuidRegisters{});
    switch (level) {
    case CacheLevel::l1Data: return l1.ecx;
    case CacheLevel::l1Instruction: return l1.edx;
    case CacheLevel::l2: return l2l3.ecx;
    case CacheLevel::l3: return l2l3.edx;
    }
    return 0;
}

// The 4-bit associativity code of AMD's L2 and L3 fields, where it names an
// exact count; the other codes are reserved, or (9) send the reader to 0x8000001D.
std::optional<std::int64_t> amdAssociativity(std::uint32_t code)
{
    constexpr std::array<std::int64_t, 16> kWays{0, 1, 2, 0, 4, 0, 8, 0, 16, 0, 32, 48, 64, 96, 128, kFullyAssociative};
    const std::int64_t ways = kWays.at(code & 0xF);
    return ways != 0 ? std::optional(ways) : std::nullopt;
}

std::optional<std::int64_t> positive(std::int64_t value) { return value > 0 ? std::optional(value) : std::nullopt; }

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

ProcessorSignature signatureOf(std::uint32_t eax)
{
    ProcessorSignature signature{
        .baseFamily = bits(eax, 8, 4),
        .baseModel = bits(eax, 4, 4),
        .stepping = bits(eax, 0, 4),
    };
    signature.family = signature.baseFamily + (signature.baseFamily == 0xF ? bits(eax, 20, 8) : 0);
    const bool extendedModel = signature.baseFamily == 0x6 || signature.baseFamily == 0xF;
    signature.model = signature.baseModel + (extendedModel ? bits(eax, 16, 4) << 4 : 0);
    return signature;
}

std::optional<ProcessorSignature> cpuidSignature(const CpuidAnswers& answers)
{
    const auto leaf0 = answers.at(0);
    const auto leaf1 = answers.at(1);
    if (!leaf0 || leaf0->eax < 1 || !leaf1)
        return std::nullopt;
    return signatureOf(leaf1->eax);
}

std::optional<std::int64_t> cpuidCacheSize(const CpuidAnswers& answers, CacheLevel level)
{
    if (const std::uint32_t leaf = deterministicCacheLeaf(answers)) {
        const auto cache = deterministicCache(answers, leaf, level);
        if (!cache)
            return std::nullopt;
        const std::int64_t ways = bits(cache->ebx, 22, 10) + 1;
        const std::int64_t partitions = bits(cache->ebx, 12, 10) + 1;
        const std::int64_t lineSize = bits(cache->ebx, 0, 12) + 1;
        const std::int64_t sets = static_cast<std::int64_t>(cache->ecx) + 1;
        return ways * partitions * lineSize * sets;
    }
    if (!hasAmdCacheLeaves(answers))
        return std::nullopt;
    // L1 sizes in KB in the top byte, L2 in KB in the top half, L3 in 512 KB
    // units in the top 14 bits.
    const std::uint32_t field = amdCacheRegister(answers, level);
    switch (level) {
    case CacheLevel::l1Data:
    case CacheLevel::l1Instruction: return positive(std::int64_t{bits(field, 24, 8)} * 1024);
    case CacheLevel::l2: return positive(std::int64_t{bits(field, 16, 16)} * 1024);
    case CacheLevel::l3: return positive(std::int64_t{bits(field, 18, 14)} * 512 * 1024);
    }
    return std::nullopt;
}

CacheLayout cpuidCacheLayout(const CpuidAnswers& answers, CacheLevel level)
{
    if (const std::uint32_t leaf = deterministicCacheLeaf(answers)) {
        const auto cache = deterministicCache(answers, leaf, level);
        if (!cache)
            return {};
        // EAX bit 9: fully associative, whatever the ways field says.
        const bool fully = bits(cache->eax, 9, 1) == 1;
        return {fully ? kFullyAssociative : std::int64_t{bits(cache->ebx, 22, 10)} + 1,
                std::int64_t{bits(cache->ebx, 0, 12)} + 1};
    }
    if (!hasAmdCacheLeaves(answers) || !cpuidCacheSize(answers, level))
        return {};
    // The line size is the low byte of each field; the L1 fields give their ways
    // as a count in bits 16-23 (0xFF for fully associative), L2 and L3 as a code
    // in bits 12-15.
    const std::uint32_t field = amdCacheRegister(answers, level);
    const bool l1 = level == CacheLevel::l1Data || level == CacheLevel::l1Instruction;
    std::optional<std::int64_t> ways;
    if (l1)
        ways = bits(field, 16, 8) == 0xFF ? std::optional(kFullyAssociative) : positive(bits(field, 16, 8));
    else
        ways = amdAssociativity(bits(field, 12, 4));
    return {ways, positive(bits(field, 0, 8))};
}

} // namespace veltrin::SystemProbe
