#pragma once

// The CPUID instruction, executed on the processor the calling thread runs on,
// written as a capture keeps it (cpuid.txt): one line per query,
// "LLLLLLLL SSSSSSSS: EAX EBX ECX EDX" — the leaf, the subleaf (00000000 for a
// leaf without one) and the four registers, eight upper-case hexadecimal digits
// each, single spaces between. What the values mean is the probe's to decode.

#include <cstdint>
#include <string>

namespace veltrin {

struct CpuidRegisters {
    std::uint32_t eax = 0;
    std::uint32_t ebx = 0;
    std::uint32_t ecx = 0;
    std::uint32_t edx = 0;
};

// One line of the dump, without its line feed.
std::string cpuidLine(std::uint32_t leaf, std::uint32_t subleaf, const CpuidRegisters& registers);

// Every basic and extended leaf the processor reports (up to 0x3F and
// 0x8000003F), with the subleaves of the leaves that enumerate caches and
// topology; empty where the processor has no CPUID instruction.
std::string cpuidDump();

} // namespace veltrin
