#include "platform/readings.h"
#include "platform/replay_machine.h"
#include "probe/memory.h"
#include "probe/sources/dmidecode.h"
#include "probe/system_probe.h"

#include "scripted_machine.h"

#include <gtest/gtest.h>

#include <map>

using namespace veltrin;
using SystemProbe::DMIInfo;

namespace {

using Row = std::vector<std::string>;

std::vector<Row> rows(const std::vector<MemoryModule>& modules) { return scripted::textRows(modules); }

Row summary(const MemoryInfo& info)
{
    return {info.total, info.type, info.speed, info.slots, info.used, info.pressure};
}

// A refresh's readings with this installed size, memory report and tool outputs.
MachineReadings memoryReadings(std::optional<std::int64_t> memsize, std::string sp,
                               const std::map<Tool, std::string>& outputs = {})
{
    MachineReadings readings;
    if (memsize)
        readings.kernel.integers.emplace(KernelName::memorySize, *memsize);
    readings.tools[Tool::memoryReport] = {std::move(sp), 0};
    for (const auto& [tool, text] : outputs)
        readings.tools[tool] = {text, 0};
    return readings;
}

DMIInfo dmiWithModules(std::vector<std::string> sizes, std::string raw = "")
{
    DMIInfo dmi{.raw = std::move(raw)};
    for (auto& size : sizes)
        dmi.memoryModules.push_back({.bank = "DIMM", .size = std::move(size), .speed = "3200 MT/s"});
    return dmi;
}

// The slot summary counts the modules; both modules of each capture are alike, so the first stands for them.
struct DmidecodeCapture {
    std::string directory;
    Row summary;
    Row firstModule;
};

const std::vector<DmidecodeCapture> kDmidecodeCaptures{
    {"pc-asrock-z390-phantom-itx-i7-9700",
     {"32 GB", "DDR4", "3200 MT/s", "2 populated", "", ""},
     {"ChannelA-DIMM0", "16 GB", "DDR4", "3200 MT/s", "Kingston", "KHX3200C16D4/16GX"}},
    {"dmi-gigabyte-z790-aorus-elite-ax",
     {"64 GB", "DDR5", "6000 MT/s", "2 populated", "", ""},
     {"Controller0-ChannelA-DIMM1", "32 GB", "DDR5", "6000 MT/s", "Corsair", "CMH64GX5M2B6400C32"}},
    {"dmi-asus-rog-strix-z790-a-gaming-wifi", // the old dmidecode cannot name DDR5: inferred from the speed
     {"64 GB", "DDR5 (inferred)", "6400 MT/s", "2 populated", "", ""},
     {"Controller0-DIMM1", "32 GB", "<OUT OF SPEC>", "6400 MT/s", "A-DATA Technology", "AX5U6400C3232G-DCLAR"}},
};

void expectCapture(const MemoryInfo& info, const DmidecodeCapture& capture)
{
    EXPECT_EQ(summary(info), capture.summary) << capture.directory;
    ASSERT_FALSE(info.modules.empty()) << capture.directory;
    EXPECT_EQ(rows(info.modules).front(), capture.firstModule) << capture.directory;
}

std::unique_ptr<ReplayMachine> replay(const std::string& directory)
{
    std::string error;
    return ReplayMachine::open(std::string(VELTRIN_FIXTURES) + "/captures/" + directory, error);
}

} // namespace

TEST(DmiMemoryModules, KeepsPopulatedDevicesOnlyWithTheirOwnLineValues)
{
    const std::string device = "Handle 0x0011, DMI type 17, 40 bytes\nMemory Device\n";
    const std::vector<std::pair<std::string, std::vector<Row>>> cases{
        {device + "\tSize: 8 GB\n\tLocator: \n\tBank Locator: BANK 1\n\tPart Number:\n\tSerial Number: 1234\n",
         {{"BANK 1", "8 GB", "", "", "", ""}}},
        {device + "\tSize: 4096 MB\n\tType: DDR3\n\tConfigured Memory Speed: Unknown\n\tSpeed: 1600 MT/s\n",
         {{"DIMM", "4096 MB", "DDR3", "", "", ""}}},
        {device + "\tSize: 8 GB\n\tConfigured Clock Speed: 2400 MHz\n\tManufacturer: Empty\n",
         {{"DIMM", "8 GB", "", "2400 MHz", "", ""}}},
        {device + "\tSize: No Module Installed\n\tLocator: DIMM_A1\n" + device + "\tSize: Unknown\n", {}},
        {device + "\tSize:\n\tLocator: DIMM_A1\n", {}},
        {"Handle 0x0020, DMI type 20, 35 bytes\nMemory Device Mapped Address\n\tRange Size: 8 GB\n", {}},
        {"Handle 0x0010, DMI type 16, 23 bytes\nPhysical Memory Array\n\tSize: 8 GB\n", {}},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(rows(SystemProbe::dmiMemoryModules(text)), expected) << text;
}

TEST(MemoryInfo, CombinesReportDmidecodeAndTools)
{
    const std::string bank0 = "BANK 0/DIMM0:\n\n  Size: 8 GB\n  Type: DDR4\n  Speed: 2667 MHz\n"
                              "  Manufacturer: 0x80AD\n  Part Number:\n  Serial Number: -\n";
    const std::string emptyBank = "BANK 1/DIMM0:\n\n  Size: Empty\n  Type: Empty\n  Speed: Empty\n";
    struct Case {
        std::string description, sp;
        DMIInfo dmi;
        Row expected;
    };
    const std::vector<Case> cases{
        {"an empty slot among two banks", "Memory Slots:\n\n" + emptyBank + bank0, {},
         {"16 GB", "DDR4", "2667 MHz", "1 populated", "", ""}},
        {"the report wins and is never merged", bank0, dmiWithModules({"32 GB", "32 GB"}),
         {"16 GB", "DDR4", "2667 MHz", "1 populated", "", ""}},
        {"on-package memory", "Memory:\n\n  Memory: 16 GB\n  Type: LPDDR5\n", {},
         {"16 GB", "LPDDR5", "", "Unified / On-board", "", ""}},
        {"no type anywhere", "Memory:\n\n  Memory: 16 GB\n", {}, {"16 GB", "", "", "", "", ""}},
        {"unusable dmidecode sizes dropped", "",
         dmiWithModules({"No Module Installed", "\u2013", "Not Exposed by macOS", "SMBIOS fallback",
                         "To Be Filled By O.E.M.", " - ", "N/A", "8 GB"}),
         {"16 GB", "DDR4 (inferred)", "3200 MT/s", "1 populated", "", ""}},
        {"chipset decides when speed cannot", "Speed: 4600 MT/s\n", dmiWithModules({}, "Product Name: Z790 AORUS"),
         {"16 GB", "DDR5 (inferred)", "4600 MT/s", "Unified / On-board", "", ""}},
        {"pieces without values and blank keys", "BANK A\nBANK B:\nBANK C:\n  Size:\n  Type: DDR4\n", {},
         {"16 GB", "DDR4", "", "Unified / On-board", "", ""}},
    };
    constexpr std::int64_t sixteenGB = 17179869184;
    for (const auto& test : cases)
        EXPECT_EQ(summary(SystemProbe::memoryInfo(memoryReadings(sixteenGB, test.sp), test.dmi)), test.expected)
            << test.description;
    const auto first =
        SystemProbe::memoryInfo(memoryReadings(sixteenGB, "Memory Slots:\n" + emptyBank + bank0), {}).modules;
    EXPECT_EQ(rows(first), (std::vector<Row>{{"BANK 0/DIMM0", "8 GB", "DDR4", "2667 MHz", "0x80AD", ""}}));
}

TEST(MemoryInfo, ReadsTotalAndLiveToolsOrLeavesThemEmpty)
{
    EXPECT_EQ(summary(SystemProbe::memoryInfo(memoryReadings(std::nullopt, ""), {})),
              (Row{"\u2014", "", "", "", "", ""}));
    const std::map<Tool, std::string> live{
        {Tool::virtualMemoryStatistics, "Mach Virtual Memory Statistics:"},
        {Tool::memoryPressure, "System-wide memory free percentage: 72%\n"}};
    EXPECT_EQ(summary(SystemProbe::memoryInfo(memoryReadings(0, "", live), {})),
              (Row{"\u2014", "", "", "", "Live vm_stat", "72%"}));
    const std::map<Tool, std::string> blank{
        {Tool::memoryPressure, "System-wide memory free percentage:\nThe system has 1"}};
    EXPECT_EQ(summary(SystemProbe::memoryInfo(memoryReadings(38654705664, "", blank), {})),
              (Row{"36 GB", "", "", "", "", ""}));
}

TEST(MemoryInfo, SurvivesHundredsOfBankPieces)
{
    std::string sp;
    for (int i = 0; i < 400; ++i)
        sp += "BANK " + std::to_string(i) + ":\n  Size: 8 GB\n  Speed: 123456 MHz\n";
    // More than any machine has: the list stops at its cap.
    const MemoryInfo info = SystemProbe::memoryInfo(memoryReadings(std::nullopt, sp), {});
    EXPECT_EQ(summary(info), (Row{"\u2014", "", "123456 MHz", "256 populated", "", ""}));
    EXPECT_EQ(info.modules.back().bank, "BANK 255");
}

TEST(MemoryReplay, CollectsTheMacCaptures)
{
    const MemoryInfo intel = SystemProbe::collect(*replay("mbp15-1-i7-8750h")).memory;
    EXPECT_EQ(summary(intel), (Row{"16 GB", "DDR4", "2400 MHz", "2 populated", "", ""}));
    EXPECT_EQ(rows(intel.modules).back(),
              (Row{"BANK 2/ChannelB-DIMM0", "8 GB", "DDR4", "2400 MHz", "Micron", "**********-*****"}));
    EXPECT_EQ(summary(SystemProbe::collect(*replay("apple-silicon-36gb-oshi")).memory),
              (Row{"36 GB", "LPDDR5", "", "Unified / On-board", "", ""}));
    EXPECT_EQ(summary(SystemProbe::collect(*replay("apple-silicon-16gb-gem-dota")).memory),
              (Row{"16 GB", "", "", "", "Live vm_stat", ""}));
}

// dmidecode captures hold no memory report: the modules come from the DMI reader alone.
TEST(MemoryReplay, CollectsDmidecodeCaptures)
{
    for (const auto& capture : kDmidecodeCaptures)
        expectCapture(SystemProbe::collect(*replay(capture.directory)).memory, capture);
}
