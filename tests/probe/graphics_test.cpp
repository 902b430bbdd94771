#include "platform/replay_machine.h"
#include "probe/graphics.h"
#include "probe/system_probe.h"

#include "scripted_machine.h"

#include <gtest/gtest.h>

using namespace veltrin;

namespace {

using Row = std::vector<std::string>;

std::vector<Row> rows(const std::vector<GPUInfo>& adapters) { return scripted::textRows(adapters); }

const Row kNoAdapter{"GPU", "", "", "", "", ""};

} // namespace

TEST(GpuInfo, ReadsEachAdapterFromItsOwnPiece)
{
    const std::string intel = "    Intel UHD Graphics 630:\n\n      Chipset Model: Intel UHD Graphics 630\n"
                              "      VRAM (Dynamic, Max): 1536 MB\n      Vendor: Intel\n      Metal Support: Metal 3\n";
    const std::string radeon = "    AMD Radeon Pro 560X:\n\n      Chipset Model: AMD Radeon Pro 560X\n"
                               "      VRAM (Total): 4 GB\n      Vendor: AMD (0x1002)\n      Displays:\n"
                               "        LG:\n          Resolution: 2560 x 1440 (QHD)\n"
                               "        DELL:\n          resolution: 1920 x 1080\n";
    const std::vector<std::pair<std::string, std::vector<Row>>> cases{
        {"", {kNoAdapter}},
        {"Graphics/Displays:\n\n" + intel + radeon,
         {{"Intel UHD Graphics 630", "Intel UHD Graphics 630", "1536 MB", "Intel", "Metal 3", ""},
          {"AMD Radeon Pro 560X", "AMD Radeon Pro 560X", "4 GB", "AMD (0x1002)", "",
           "2560 x 1440 (QHD) /           resolution: 1920 x 1080"}}},
        {"Chipset Model: Apple M1\n  Total Number of Cores: 8\n  Vendor: Apple (0x106b)\n  Displays:\n"
         "    Color LCD:\n      Resolution: 2560 x 1600 Retina\n    Sidecar:\n      Resolution:\n",
         {{"Apple M1", "Apple M1", "8", "Apple (0x106b)", "", "2560 x 1600 Retina /"}}}, // every line joined
        {"Chipset Model:\n\n   Radeon\n VRAM (Total): Unknown\n Total Number of Cores: 10\n Vendor: Unknown\n"
         " Metal Support: None\n      Resolution: \n",
         {{"Radeon", "Radeon", "", "", "", ""}}},
        {"Chipset Model: X\n VRAM (Total):\n Total Number of Cores: 10\n Vendor:\n Metal Support: Metal 3\n",
         {{"X", "X", "10", "", "Metal 3", ""}}},
        {"Chipset Model:  \n Vendor: Intel\nChipset Model:",
         {{"", "", "", "Intel", "", ""}, {"Unknown", "Unknown", "", "", "", ""}}},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(rows(SystemProbe::gpuInfo(text)), expected) << text;

    std::string many;
    for (int i = 0; i < 300; ++i)
        many += "Chipset Model: GPU " + std::to_string(i) + "\n  Metal Support: Metal 3\n";
    const auto adapters = SystemProbe::gpuInfo(many); // more than any machine has: the list stops at its cap
    ASSERT_EQ(adapters.size(), kMaxListedDevices);
    EXPECT_EQ(adapters.back().name, "GPU " + std::to_string(kMaxListedDevices - 1));
}

TEST(GpuReplay, ReadsGraphicsCaptures)
{
    const std::vector<std::pair<std::string, std::vector<Row>>> cases{
        {"imacpro1-1-vega64",
         {{"Radeon Pro Vega 64", "Radeon Pro Vega 64", "16 GB", "AMD (0x1002)", "", "5120 x 2880 Retina"}}},
        {"hack-rx5500xt-agpminjector", {{"Radeon RX 5500 XT", "Radeon RX 5500 XT", "8 GB", "AMD (0x1002)", "", ""}}},
        {"mbp15-intel-uhd630-radeon560x",
         {{"Intel UHD Graphics 630", "Intel UHD Graphics 630", "1536 MB", "Intel", "", ""}}},
        {"mbp15-1-i7-8750h", {kNoAdapter}},
    };
    for (const auto& [directory, expected] : cases) {
        std::string error;
        const auto machine = ReplayMachine::open(std::string(VELTRIN_FIXTURES) + "/captures/" + directory, error);
        ASSERT_TRUE(machine) << error;
        EXPECT_EQ(rows(SystemProbe::collect(*machine).gpus), expected) << directory;
    }
}
