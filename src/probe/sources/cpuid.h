#pragma once

// The processor's answers to CPUID, as the capture keeps them (cpuid_dump.h):
// read back by leaf and subleaf, and the few documented bit fields decoded.

#include "platform/cpuid_dump.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string_view>
#include <utility>

namespace veltrin::SystemProbe {

class CpuidAnswers {
public:
    // The lines of a dump that have the form "LLLLLLLL SSSSSSSS: EAX EBX ECX EDX";
    // any other line is passed over, and a repeated query keeps its first answer.
    explicit CpuidAnswers(std::string_view dump);

    // The answer to `leaf` and `subleaf`; absent when the processor was not asked.
    std::optional<CpuidRegisters> at(std::uint32_t leaf, std::uint32_t subleaf = 0) const;
    bool empty() const { return answers_.empty(); }

private:
    std::map<std::pair<std::uint32_t, std::uint32_t>, CpuidRegisters> answers_;
};

// Which processor this is, as the first leaf's EAX states it: the base fields as
// the register holds them, and the family and model they stand for.
struct ProcessorSignature {
    std::uint32_t baseFamily = 0;
    std::uint32_t baseModel = 0;
    std::uint32_t stepping = 0;
    std::uint32_t family = 0; // the base family, plus the extended family when the base is 0xF
    std::uint32_t model = 0;  // the base model, below the extended model for families 6 and 0xF

    friend bool operator==(const ProcessorSignature&, const ProcessorSignature&) = default;
};

// The signature leaf 1 EAX encodes, by the rules Intel and AMD document.
ProcessorSignature signatureOf(std::uint32_t leaf1Eax);

// The signature the processor answers; absent where leaf 1 was not asked.
std::optional<ProcessorSignature> cpuidSignature(const CpuidAnswers& answers);

enum class CacheLevel { l1Instruction, l1Data, l2, l3 };

// A cache's size in bytes as the processor describes it: the deterministic cache
// leaves (4 on Intel, 0x8000001D on AMD with topology extensions), else AMD's
// older 0x80000005 and 0x80000006; absent when it describes no such cache.
std::optional<std::int64_t> cpuidCacheSize(const CpuidAnswers& answers, CacheLevel level);

// Any line of memory may sit in any entry of the cache.
inline constexpr std::int64_t kFullyAssociative = -1;

// How a cache is built: its ways (kFullyAssociative for any entry) and its line
// size in bytes, each absent when not stated.
struct CacheLayout {
    std::optional<std::int64_t> ways;
    std::optional<std::int64_t> lineSize;

    friend bool operator==(const CacheLayout&, const CacheLayout&) = default;
};

// The layout from the same leaves as cpuidCacheSize.
CacheLayout cpuidCacheLayout(const CpuidAnswers& answers, CacheLevel level);

} // namespace veltrin::SystemProbe
