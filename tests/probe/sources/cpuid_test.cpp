// The CPUID decoders on their own: the dump's line form, and the documented
// rules where no capture of a real processor reaches them.

#include "probe/sources/cpuid.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace veltrin;
using namespace veltrin::SystemProbe;

TEST(Cpuid, AnswersOnlyFromWellFormedLines)
{
    // Lines of the Core 2 Extreme X6800 capture, then the same queries damaged.
    const CpuidAnswers answers("00000000 00000000: 0000000A 756E6547 6C65746E 49656E69\r\n"
                               "00000001 00000000: 000006F6 00020800 0000E3BD BFEBFBFF\n"
                               "00000001 00000000: 00000000 00000000 00000000 00000000\n" // repeated: the first holds
                               "00000004 00000000: 04000121 01C0003F 0000003F\n"          // three registers
                               "00000004 00000001: 04000122 01C0003F 0000003F 00000001 x\n"
                               "00000004 2: 04000143 03C0003F 00000FFF 00000001\n"
                               "0000000G 00000000: 00000000 00000000 00000000 00000000\n"
                               "80000006 00000000:  00000000 00000000 10008040 00000000\n"
                               "80000008 00000000: 00003024 00000000 00000000 00000000");
    EXPECT_EQ(answers.at(0)->ebx, 0x756E6547u);
    EXPECT_EQ(answers.at(1)->eax, 0x6F6u);
    for (const auto& [leaf, subleaf] : std::vector<std::pair<std::uint32_t, std::uint32_t>>{
             {4, 0}, {4, 1}, {4, 2}, {0x80000006, 0}})
        EXPECT_FALSE(answers.at(leaf, subleaf)) << std::hex << leaf << " " << subleaf;
    EXPECT_EQ(answers.at(0x80000008)->eax, 0x3024u); // the last line needs no line feed
    EXPECT_FALSE(cpuidSignature(CpuidAnswers("00000000 00000000: 00000000 756E6547 6C65746E 49656E69\n"
                                             "00000001 00000000: 000006F6 00020800 0000E3BD BFEBFBFF\n")))
        << "a processor whose highest leaf is 0 has no leaf 1 to ask";
}

// The extended family counts only under base family 0xF, the extended model
// only under families 6 and 0xF.
TEST(Cpuid, SignatureByTheDocumentedRules)
{
    // EAX, then base family, base model, stepping, family, model
    const std::vector<std::pair<std::uint32_t, std::array<std::uint32_t, 5>>> cases{
        {0x00000F41, {0xF, 0x4, 0x1, 0xF, 0x04}},   // Pentium 4 Prescott: extensions zero
        {0x00000543, {0x5, 0x4, 0x3, 0x5, 0x04}},   // Pentium MMX
        {0x0FF10543, {0x5, 0x4, 0x3, 0x5, 0x04}},   // extension bits under family 5 mean nothing
        {0x00A60F12, {0xF, 0x1, 0x2, 0x19, 0x61}},  // Ryzen 9 7900X
        {0x0FFF0F00, {0xF, 0x0, 0x0, 0x10E, 0xF0}}, // the largest family the fields encode
    };
    for (const auto& [eax, expected] : cases) {
        const ProcessorSignature signature = signatureOf(eax);
        EXPECT_EQ((std::array{signature.baseFamily, signature.baseModel, signature.stepping, signature.family,
                              signature.model}),
                  expected)
            << std::hex << eax;
    }
}

// Bit 9 of a deterministic cache entry marks a fully associative cache whatever
// its ways field says; no real dump has one, so the Core 2's L1 data cache line
// is edited to set it.
TEST(Cpuid, FullyAssociativeWhereTheEntrySaysSo)
{
    const std::string dump = "00000000 00000000: 0000000A 756E6547 6C65746E 49656E69\n"
                             "00000004 00000000: 04000321 01C0003F 0000003F 00000001\n"
                             "00000004 00000001: 00000000 00000000 00000000 00000000\n";
    const CpuidAnswers answers(dump);
    EXPECT_EQ(cpuidCacheLayout(answers, CacheLevel::l1Data), (CacheLayout{kFullyAssociative, 64}));
    EXPECT_EQ(cpuidCacheSize(answers, CacheLevel::l1Data), 32768);
    EXPECT_EQ(cpuidCacheLayout(answers, CacheLevel::l2), CacheLayout{});
}
