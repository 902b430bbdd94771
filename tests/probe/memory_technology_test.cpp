#include "probe/memory.h"
#include "probe/sources/filters.h"

#include <gtest/gtest.h>

using namespace veltrin;
using SystemProbe::memoryTechnology;
using Candidates = std::vector<std::optional<std::string>>;

TEST(MemoryTechnology, ReadsTheFirstCandidateThatStatesOne)
{
    const std::vector<std::pair<Candidates, std::optional<std::string>>> cases{
        {{"Other", "SDRAM", "DDR4 Synchronous Registered"}, "DDR4"},
        {{std::nullopt, " lpddr5x "}, "LPDDR5X"},
        {{"DDR4 SDRAM", "DDR5"}, "DDR4"},
        {{"DDR4Registered"}, "DDR4"},   // only the qualifier stood between the name and a word boundary
        {{"Synchronous DDR3"}, "DDR3"},
        {{"<OUT OF SPEC>", "DDR5"}, "DDR5"},
        {{"DDR7", "DDR45", "xDDR4"}, std::nullopt}, // no technology without word boundaries
        {{"DRAM", "Flash RAM", "No Module Installed", "Empty", "  ", "unknown", "Not Specified"}, std::nullopt},
        {{"Other Memory LPDDR4"}, "LPDDR4"},
    };
    for (const auto& [candidates, expected] : cases)
        EXPECT_EQ(memoryTechnology(candidates, ""), expected) << candidates.size() << " " << expected.value_or("-");
}

TEST(MemoryTechnology, InfersFromSpeedOnlyWithoutAStatedOne)
{
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases{
        {"399 MHz", std::nullopt},       {"400 MHz", "DDR2 (inferred)"}, {"799", "DDR2 (inferred)"},
        {"800", "DDR3 (inferred)"},      {"2132", "DDR3 (inferred)"},    {"2133 MT/s", "DDR4 (inferred)"},
        {"3200 MHz", "DDR4 (inferred)"}, {"4400", "DDR4 (inferred)"},    {"4401", std::nullopt},
        {"4600", std::nullopt},          {"4799", std::nullopt},         {"4800", "DDR5 (inferred)"},
        {"6000 MT/s", "DDR5 (inferred)"}, {"9000", "DDR5 (inferred)"},   {"9001", std::nullopt},
        {"99", std::nullopt},            {"fast", std::nullopt},         {"", std::nullopt},
        {"123456 MHz", std::nullopt},  // only the first five digits are read: 12345
        // Digits of other scripts read as the numbers they are: 2133 in Arabic-Indic, full-width 3200.
        {"\u0662\u0661\u0663\u0663", "DDR4 (inferred)"},
        {"\uff13\uff12\uff10\uff10 MHz", "DDR4 (inferred)"},
    };
    for (const auto& [speed, expected] : cases)
        EXPECT_EQ(memoryTechnology({std::nullopt, "RAM"}, speed), expected) << speed;
    EXPECT_EQ(memoryTechnology({"DDR3"}, "6000 MT/s"), "DDR3");
}

TEST(MemoryTechnology, InfersFromChipsetNamesDdr5First)
{
    using SystemProbe::inferredMemoryTechnologyFromPlatformText;
    EXPECT_EQ(inferredMemoryTechnologyFromPlatformText("B550M DS3H then X670E"), "DDR5 (inferred)");
    EXPECT_EQ(inferredMemoryTechnologyFromPlatformText("Z390 Phantom Gaming-ITX/ac"), "DDR4 (inferred)");
    EXPECT_EQ(inferredMemoryTechnologyFromPlatformText("H310M"), std::nullopt);
}

TEST(MemoryTechnology, TellsEmptySlotsApart)
{
    for (const std::string empty : {"", "  ", "EMPTY", "No Module Installed", "not installed", "Slot has no module"})
        EXPECT_TRUE(SystemProbe::isEmptyMemorySlot(empty)) << empty;
    for (const std::string populated : {"8 GB", "Emptyish", "None"})
        EXPECT_FALSE(SystemProbe::isEmptyMemorySlot(populated)) << populated;
}
