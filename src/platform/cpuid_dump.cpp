#include "platform/cpuid_dump.h"

#include <algorithm>
#include <cstdio>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace veltrin {

std::string cpuidLine(std::uint32_t leaf, std::uint32_t subleaf, const CpuidRegisters& registers)
{
    char line[64];
    std::snprintf(line, sizeof line, "%08X %08X: %08X %08X %08X %08X", leaf, subleaf, registers.eax, registers.ebx,
                  registers.ecx, registers.edx);
    return line;
}

#if defined(__x86_64__) || defined(__i386__)
namespace {

// Far beyond any processor's own ranges; a hypervisor reporting more is not believed.
constexpr std::uint32_t kLastBasicLeaf = 0x3F;
constexpr std::uint32_t kLastExtendedLeaf = 0x8000003F;
constexpr std::uint32_t kMaxSubleaves = 64;

CpuidRegisters query(std::uint32_t leaf, std::uint32_t subleaf)
{
    CpuidRegisters r;
    __cpuid_count(leaf, subleaf, r.eax, r.ebx, r.ecx, r.edx);
    return r;
}

// How many subleaves a leaf has: the cache and topology leaves list until an
// empty entry, leaf 7 states its count; any other leaf has one.
std::uint32_t subleafCount(std::uint32_t leaf, const CpuidRegisters& first)
{
    switch (leaf) {
    case 0x4:
    case 0x8000001D:
        return kMaxSubleaves; // until the cache type is 0
    case 0xB:
    case 0x1F:
        return kMaxSubleaves; // until the level type is 0
    case 0x7:
        return std::min(first.eax + 1, kMaxSubleaves);
    default:
        return 1;
    }
}

bool endsEnumeration(std::uint32_t leaf, const CpuidRegisters& registers)
{
    switch (leaf) {
    case 0x4:
    case 0x8000001D:
        return (registers.eax & 0x1F) == 0;
    case 0xB:
    case 0x1F:
        return ((registers.ecx >> 8) & 0xFF) == 0;
    default:
        return false;
    }
}

void dumpRange(std::string& dump, std::uint32_t first, std::uint32_t last)
{
    for (std::uint32_t leaf = first; leaf <= last; ++leaf) {
        const CpuidRegisters zero = query(leaf, 0);
        const std::uint32_t count = subleafCount(leaf, zero);
        for (std::uint32_t subleaf = 0; subleaf < count; ++subleaf) {
            const CpuidRegisters registers = subleaf == 0 ? zero : query(leaf, subleaf);
            // The entry that ends an enumeration is kept: it says the list is complete.
            dump += cpuidLine(leaf, subleaf, registers) + "\n";
            if (endsEnumeration(leaf, registers))
                break;
        }
    }
}

} // namespace

std::string cpuidDump()
{
    std::string dump;
    const std::uint32_t maxBasic = query(0, 0).eax;
    dumpRange(dump, 0, std::min(maxBasic, kLastBasicLeaf));
    const std::uint32_t maxExtended = query(0x80000000, 0).eax;
    if (maxExtended >= 0x80000000)
        dumpRange(dump, 0x80000000, std::min(maxExtended, kLastExtendedLeaf));
    return dump;
}
#else
std::string cpuidDump() { return {}; }
#endif

} // namespace veltrin
