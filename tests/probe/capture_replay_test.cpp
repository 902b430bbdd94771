// The parsers end to end on captures of real machines, read back through the replay
// machine exactly as `veltrin --replay DIR` reads them.

#include "platform/replay_machine.h"
#include "probe/mainboard_probe.h"
#include "probe/system_probe.h"

#include "scripted_machine.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace veltrin;
using scripted::named;

namespace {

SystemSnapshot collected(const std::string& directory)
{
    std::string error;
    const auto machine = ReplayMachine::open(directory, error);
    EXPECT_TRUE(machine) << error;
    return machine ? SystemProbe::collect(*machine) : SystemSnapshot{};
}

std::string capture(const std::string& name) { return std::string(VELTRIN_FIXTURES) + "/captures/" + name; }

const std::string em = "\u2014";

} // namespace

TEST(Capture, RealMacs)
{
    const SystemSnapshot m2 = collected(capture("m2max-macbookpro16-mac14-6"));
    EXPECT_EQ(named(m2.cpu), named(CPUInfo{"Apple M2 Max", "Apple Silicon / ARM64", "arm64", "12", "12", em, em, em,
                                           em, em, em}));
    EXPECT_EQ(named(m2.mainboard),
              named(MainboardInfo{.macModel = "Mac14,6", .macModelName = "MacBook Pro", .macSerial = "----------",
                                  .hardwareUUID = "----------", .bootROM = "8419.80.7",
                                  .detectionNotes = scripted::kNoDmidecodeNote}));

    const SystemSnapshot mbp = collected(capture("mbp15-1-i7-8750h"));
    EXPECT_EQ(named(mbp.cpu), named(CPUInfo{"Intel(R) Core(TM) i7-8750H CPU @ 2.20GHz", "GenuineIntel", "x86_64", "6",
                                            "12", "2.2 GHz", em, em, "256 KB", "9 MB", em}));
    EXPECT_EQ(named(mbp.mainboard),
              named(MainboardInfo{.macModel = "MacBookPro15,1", .macModelName = "MacBook Pro",
                                  .macSerial = "************", .hardwareUUID = "********-****-****-****-************",
                                  .bootROM = "10**.***.*.*.* (iBridge: 17.**.*****.*.*,*)", .kernel = "19.6.0",
                                  .detectionNotes = scripted::kNoDmidecodeNote}));
}

// The four cache fields keep what the kernel says for the whole chip (the
// efficiency cores' caches on Apple Silicon); each kind of core follows with its own.
TEST(Capture, AppleSiliconClustersAndRosetta)
{
    CPUInfo m3{"Apple M3 Max", "Apple Silicon / ARM64", "arm64", "16", "16", em, "128 KB", "64 KB", "4 MB", em, em,
               {{"Performance", "12", "192 KB", "128 KB", "16 MB"}, {"Efficiency", "4", "128 KB", "64 KB", "4 MB"}}};
    EXPECT_EQ(named(collected(capture("m3max-12p4e-sysctl-hw")).cpu), named(m3));
    // The same chip seen by an Intel build: uname says x86_64, the kernel says translated.
    m3.architecture = "x86_64";
    m3.translated = true;
    EXPECT_EQ(named(collected(capture("m3max-12p4e-rosetta")).cpu), named(m3));
}

TEST(Capture, OpenCorePCWithDmidecode)
{
    const SystemSnapshot pc = collected(capture("opencore-asrock-z390-phantom-itx-i7-9700"));
    EXPECT_EQ(named(pc.cpu), named(CPUInfo{"Intel(R) Core(TM) i7-9700 CPU @ 3.00GHz", "GenuineIntel", "x86_64", "8",
                                           "8", "3.00 GHz", "32 KB", "32 KB", "256 KB", "12 MB", em}));
    // The board's own Version line is blank, so the dump's first version line (the BIOS
    // one) stands in; linuxhw's anonymised "--" serial and asset tag show as printed.
    EXPECT_EQ(named(pc.mainboard),
              named(MainboardInfo{.manufacturer = "ASRock", .model = "Z390 Phantom Gaming-ITX/ac",
                                  .boardName = "Z390 Phantom Gaming-ITX/ac", .boardID = "--", .boardVersion = "P4.20",
                                  .chipset = "Intel Z390", .serial = "--", .macModel = "iMacPro1,1",
                                  .macBoardID = "Mac-7BA5B2D9E42DDD94", .macSerial = "...", .hardwareUUID = "...",
                                  .biosVendor = "American Megatrends Inc.", .biosVersion = "P4.20",
                                  .biosDate = "07/29/2019", .bootROM = "P4.20", .dmiSource = "External dmidecode",
                                  .detectionNotes = scripted::kTrustedBoardNote}));

    const SystemSnapshot hack = collected(capture("opencore-asrock-b460m-i5-10400"));
    EXPECT_EQ(hack.cpu.frequency, "2.90 GHz");
    EXPECT_NE(hack.cpu.features.find(" F16C RDWRFSGS "), std::string::npos); // basic flags, then leaf 7
    EXPECT_EQ(hack.mainboard.os, "13.0 (22A380)");
}

TEST(Capture, OpenCoreVariables)
{
    const std::string noDmidecode = scripted::kNoDmidecodeNote;
    const std::string hidden =
        " OpenCore does not expose the original board; enable ExposeSensitiveData bit 0x08 to show it here.";
    // capture: manufacturer, model, chipset, boardSource, opencoreVersion, legacyPatcherVersion, originalModel,
    // detectionNotes
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases{
        {"opencore-asrock-x570-nvram-no-dmidecode",
         {"ASRock", "X570 Phantom Gaming-ITX/TB3", "AMD X570", "OpenCore NVRAM", "0.7.4 (release, 2021-10-04)", "",
          "", noDmidecode}},
        {"opencore-asrock-z390-nvram-hidden",
         {"ASRock", "Z390 Phantom Gaming-ITX/ac", "Intel Z390", "", "0.6.6 (release, 2021-02-02)", "", "",
          scripted::kTrustedBoardNote + hidden}},
        {"oclp-macbookpro11-5-as-15-1",
         {"", "", "", "", "0.8.0 (release, 2022-04-18)", "0.4.5", "MacBookPro11,5", noDmidecode}},
        {"opencore-oem-filler-i5-10400",
         {"", "", "", "", "0.6.7 (debug, 2021-03-01)", "", "", noDmidecode + hidden}},
    };
    for (const auto& [name, expected] : cases) {
        const MainboardInfo board = collected(capture(name)).mainboard;
        EXPECT_EQ((std::vector<std::string>{board.manufacturer, board.model, board.chipset, board.boardSource,
                                            board.opencoreVersion, board.legacyPatcherVersion, board.originalModel,
                                            board.detectionNotes}),
                  expected)
            << name;
    }
}

TEST(Capture, NoPhysicalBoardFieldOfAnyCaptureHoldsAnAppleIdentity)
{
    for (const auto& entry : std::filesystem::directory_iterator(capture(""))) {
        const MainboardInfo board = collected(entry.path().string()).mainboard;
        for (const std::string& field : {board.manufacturer, board.model, board.boardName, board.boardID,
                                         board.boardVersion, board.chipset, board.serial})
            EXPECT_FALSE(SystemProbe::isAppleSMBIOSValue(field)) << entry.path() << ": " << field;
    }
    const MainboardInfo imacPro = collected(capture("imacpro1-1-w2140b-linux")).mainboard;
    EXPECT_EQ(imacPro.biosVendor, "Apple Inc."); // firmware of a genuine Mac is not a board identity
    EXPECT_EQ(imacPro.detectionNotes, scripted::kHiddenBoardNote);
}
