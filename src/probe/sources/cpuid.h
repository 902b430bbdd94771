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

enum class CacheLevel { l1Instruction, l1Data, l2, l3 };

// A cache's size in bytes as the processor describes it: the deterministic cache
// leaves (4 on Intel, 0x8000001D on AMD with topology extensions), else AMD's
// older 0x80000005 and 0x80000006; absent when it describes no such cache.
std::optional<std::int64_t> cpuidCacheSize(const CpuidAnswers& answers, CacheLevel level);

} // namespace veltrin::SystemProbe
