// The parsers end to end on captures of real machines, read back through the replay
// machine exactly as `veltrin --replay DIR` reads them.

#include "core/json.h"
#include "platform/readings.h"
#include "platform/replay_machine.h"
#include "probe/cpu.h"
#include "probe/mainboard.h"
#include "probe/sources/filters.h"
#include "probe/sources/system_profiler_xml.h"
#include "probe/system_probe.h"

#include "scripted_machine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <span>
#include <tuple>

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

MachineReadings replayed(const std::string& directory)
{
    std::string error;
    const auto machine = ReplayMachine::open(directory, error);
    EXPECT_TRUE(machine) << error;
    return machine ? readMachine(*machine) : MachineReadings{};
}

// The snapshot's JSON with the random record ids left out.
std::string fields(SystemSnapshot snapshot)
{
    for (auto& module : snapshot.memory.modules)
        module.id = {};
    for (auto& gpu : snapshot.gpus)
        gpu.id = {};
    return toJson(snapshot);
}

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
    m3.cacheLine = "128 bytes";
    m3.coreDesign = "Palma";
    EXPECT_EQ(named(collected(capture("m3max-12p4e-sysctl-hw")).cpu), named(m3));
    // The same chip seen by an Intel build: uname says x86_64, the kernel says
    // translated; that capture holds only the values read before the core design was.
    m3.architecture = "x86_64";
    m3.translated = true;
    m3.cacheLine = m3.coreDesign = "";
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

TEST(Capture, LinuxMachines)
{
    using Rows = std::vector<std::vector<std::string>>;
    const auto memory = [](const MemoryInfo& info) {
        return std::vector<std::string>{info.total, info.type, info.speed, info.slots, info.used, info.pressure};
    };

    // Four DIMMs; the two empty slots and the firmware flash listed in the same table are left out.
    const SystemSnapshot desktop = collected(capture("linux-hp-z600-quadro-fx3800"));
    EXPECT_EQ(named(desktop.mainboard),
              named(MainboardInfo{.manufacturer = "Hewlett-Packard", .model = "0B54h", .boardName = "0B54h",
                                  .boardVersion = "D", .biosVendor = "Hewlett-Packard", .biosVersion = "786G4 v03.61",
                                  .biosDate = "03/05/2018", .bootROM = "786G4 v03.61", .os = "Linux Mint 21.3",
                                  .kernel = "5.15.0-56-generic", .dmiSource = "Linux sysfs",
                                  .detectionNotes = scripted::kTrustedBoardNote}));
    EXPECT_EQ(memory(desktop.memory),
              (std::vector<std::string>{"32 GB", "DDR3", "1600 MT/s", "4 populated", "7.54 GB", "51%"}));
    Rows dimms;
    for (const char* slot : {"CPU0 DIMM1", "CPU0 DIMM2", "CPU1 DIMM1", "CPU1 DIMM2"})
        dimms.push_back({slot, "8 GB", "DDR3", "1600 MT/s", "JEDEC ID:80 AD", "HMT41GU7AFR8C-PB"});
    EXPECT_EQ(scripted::textRows(desktop.memory.modules), dimms);
    EXPECT_EQ(scripted::textRows(desktop.gpus), (Rows{{"GT200GL [Quadro FX 3800]", "GT200GL [Quadro FX 3800]", "",
                                                       "NVIDIA Corporation (0x10de)", "", "1920 x 1080 (E2219HN)"}}));
    EXPECT_EQ(desktop.cpu.frequency, "2.27 GHz");

    const SystemSnapshot laptop = collected(capture("linux-thinkpad-x280-uhd620"));
    EXPECT_EQ(named(laptop.mainboard),
              named(MainboardInfo{.manufacturer = "LENOVO", .model = "20KFCTO1WW", .boardName = "20KFCTO1WW",
                                  .boardVersion = "SDK0J40697 WIN", .biosVendor = "LENOVO",
                                  .biosVersion = "N20ET66W (1.51 )", .biosDate = "07/31/2023",
                                  .bootROM = "N20ET66W (1.51 )", .os = "Manjaro Linux", .kernel = "6.1.60-1-MANJARO",
                                  .dmiSource = "Linux sysfs", .detectionNotes = scripted::kTrustedBoardNote}));
    EXPECT_EQ(memory(laptop.memory),
              (std::vector<std::string>{"8 GB", "DDR4", "2400 MT/s", "2 populated", "5.46 GB", "64%"}));
    EXPECT_EQ(scripted::textRows(laptop.memory.modules),
              (Rows{{"ChannelA-DIMM0", "4 GB", "DDR4", "2400 MT/s", "0000", ""},
                    {"ChannelB-DIMM0", "4 GB", "DDR4", "2400 MT/s", "0000", ""}}));
    EXPECT_EQ(scripted::textRows(laptop.gpus), (Rows{{"UHD Graphics 620", "UHD Graphics 620", "Shared",
                                                      "Intel Corporation (0x8086)", "", ""}}));

    // A genuine Mac: its identity only in the macOS SMBIOS fields, its firmware as the firmware.
    const SystemSnapshot iMac = collected(capture("linux-imacpro1-1-vega56"));
    EXPECT_EQ(named(iMac.mainboard),
              named(MainboardInfo{.macModel = "iMacPro1,1", .macModelName = "iMac Pro",
                                  .macBoardID = "Mac-7BA5B2D9E42DDD94", .biosVendor = "Apple Inc.",
                                  .biosVersion = "1916.40.8.0.0 (iBridge: 20.16.420.0.0,0)", .biosDate = "09/29/2022",
                                  .bootROM = "1916.40.8.0.0 (iBridge: 20.16.420.0.0,0)",
                                  .os = "Fedora Linux 40 (Forty)", .kernel = "6.10.9-200.fc40.x86_64",
                                  .dmiSource = "Linux sysfs", .detectionNotes = scripted::kHiddenBoardNote}));
    EXPECT_EQ(memory(iMac.memory), (std::vector<std::string>{"32 GB", "DDR4", "2666 MT/s", "4 populated", "", ""}));
    EXPECT_EQ(scripted::textRows(iMac.gpus),
              (Rows{{"Vega 10 XL [Radeon Pro Vega 56]", "Vega 10 XL [Radeon Pro Vega 56]", "8 GB",
                     "Advanced Micro Devices, Inc. [AMD/ATI] (0x1002)", "", ""}}));

    const SystemSnapshot asahi = collected(capture("linux-asahi-macbookair-m1"));
    EXPECT_EQ(named(asahi.mainboard),
              named(MainboardInfo{.macModel = "apple,j313", .macModelName = "Apple MacBook Air (M1, 2020)",
                                  .os = "Fedora Linux Asahi Remix 40 (Workstation Edition)",
                                  .detectionNotes = scripted::kNoDmidecodeNote}));
    EXPECT_EQ(memory(asahi.memory), (std::vector<std::string>{"16 GB", "", "", "", "9.07 GB", "41%"}));
    EXPECT_EQ(scripted::textRows(asahi.gpus), (Rows{{"GPU", "", "", "", "", ""}}));

    // No DMI and no display controller: only what the kernel and os-release say.
    const SystemSnapshot vm = collected(capture("linux-vm-no-dmi"));
    EXPECT_EQ(vm.mainboard.os, "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(vm.mainboard.dmiSource, "");
    EXPECT_EQ(vm.cpu.frequency, "2.60 GHz");
    EXPECT_EQ(memory(vm.memory), (std::vector<std::string>{"24 GB", "", "", "", "775.2 MB", "96%"}));
    EXPECT_EQ(scripted::textRows(vm.gpus), (Rows{{"GPU", "", "", "", "", ""}}));
}

// Every dump replays to the family, model, stepping, ways and line size its
// publisher lists (tests/fixtures/README.md), and the kernel's view shows only
// where it differs from the processor's.
TEST(Capture, TheProcessorAsTheSiliconReportsIt)
{
    using Row = std::vector<std::string>;
    const auto silicon = [](const CPUInfo& cpu) {
        return Row{cpu.family,  cpu.model,   cpu.stepping, cpu.extFamily, cpu.extModel,   cpu.microcode,      cpu.l1iWays,
                   cpu.l1dWays, cpu.l2Ways,  cpu.l3Ways,   cpu.cacheLine, cpu.coreDesign, cpu.kernelSignature};
    };
    const std::string line = "64 bytes";
    // family, model, stepping, extFamily, extModel, microcode, L1i, L1d, L2, L3 ways, line, core design, kernel's view
    const std::vector<std::pair<std::string, Row>> cases{
        {"cpuid-core2-x6800-conroe", {"6", "F", "6", "6", "F", "", "8-way", "8-way", "16-way", "", line, "", ""}},
        {"cpuid-i7-2600k-sandy-bridge", {"6", "A", "7", "6", "2A", "", "8-way", "8-way", "8-way", "16-way", line, "", ""}},
        {"cpuid-i7-8700k-coffee-lake", {"6", "E", "A", "6", "9E", "", "8-way", "8-way", "4-way", "16-way", line, "", ""}},
        {"cpuid-i9-13900kf-raptor-lake",
         {"6", "7", "1", "6", "B7", "", "8-way", "12-way", "16-way", "12-way", line, "", ""}},
        {"cpuid-athlon-xp-2200-k7", {"6", "8", "0", "6", "8", "", "2-way", "2-way", "16-way", "", line, "", ""}},
        {"cpuid-phenom-ii-x6-1055t-k10",
         {"F", "A", "0", "10", "A", "", "2-way", "2-way", "16-way", "48-way", line, "", ""}},
        {"cpuid-ryzen9-3900x-zen2", {"F", "1", "0", "17", "71", "", "8-way", "8-way", "8-way", "16-way", line, "", ""}},
        {"cpuid-ryzen9-7900x-zen4", {"F", "1", "2", "19", "61", "", "8-way", "8-way", "8-way", "16-way", line, "", ""}},
        {"linux-kvm-epyc-2vcpu",
         {"F", "1", "1", "19", "11", "0x1000065", "8-way", "8-way", "8-way", "16-way", line, "", ""}},
        // Cpuid1Data told macOS it runs on a Comet Lake; the processor still answers Raptor Lake.
        {"opencore-i9-13900kf-cpuid-spoof",
         {"6", "7", "1", "6", "B7", "", "8-way", "12-way", "16-way", "12-way", line, "", "Family 6, Model A5, Stepping 5"}},
        {"opencore-i7-8700k-no-spoof", {"6", "E", "A", "6", "9E", "", "8-way", "8-way", "4-way", "16-way", line, "", ""}},
        {"m1-macbookair-sysctl-hw", {"", "", "", "", "", "", "", "", "", "", "128 bytes", "Firestorm / Icestorm", ""}},
        {"m2-macbookair-sysctl-hw", {"", "", "", "", "", "", "", "", "", "", "128 bytes", "Blizzard / Avalanche", ""}},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(silicon(collected(capture(name)).cpu), expected) << name;

    // Without the processor's answers the kernel's view fills the fields, and has
    // nothing to differ from: Linux's files for the guest, the faked leaf for macOS.
    const auto withoutCpuid = [](const std::string& name) {
        std::string error;
        const auto machine = ReplayMachine::open(capture(name), error);
        MachineReadings readings = readMachine(*machine);
        readings.cpuid.clear();
        return SystemProbe::cpuInfo(readings);
    };
    EXPECT_EQ(silicon(withoutCpuid("linux-kvm-epyc-2vcpu")), cases[8].second);
    EXPECT_EQ(silicon(withoutCpuid("opencore-i9-13900kf-cpuid-spoof")),
              (Row{"6", "5", "5", "6", "A5", "", "", "", "", "", "", "", ""}));
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

// A Mac in another language: the text reports carry none of the English labels,
// so each area reads the report's XML form instead.
TEST(Capture, LocalizedReportsReadTheirXmlForm)
{
    using Rows = std::vector<std::vector<std::string>>;
    MachineReadings readings = replayed(capture("localized-composite"));
    const SystemSnapshot mac = SystemProbe::snapshotFrom(readings);
    EXPECT_EQ(named(mac.cpu), named(CPUInfo{"Intel Core i7", "GenuineIntel", "Unknown", "0", "0", "3 GHz", em, em, em,
                                            em, em}));
    EXPECT_EQ(named(mac.mainboard),
              named(MainboardInfo{.macModel = "MacBookPro11,1", .macModelName = "MacBook Pro",
                                  .macSerial = "ABCDEFG12345", .hardwareUUID = "F1A4AE0F-84A8-45D8-83C7-F3F904464FC5",
                                  .bootROM = "MBP111.0138.B17", .smc = "2.16f68",
                                  .detectionNotes = scripted::kNoDmidecodeNote}));
    EXPECT_EQ((std::vector<std::string>{mac.memory.type, mac.memory.speed, mac.memory.slots}),
              (std::vector<std::string>{"DDR3", "1600 MHz", "1 populated"}));
    EXPECT_EQ(scripted::textRows(mac.memory.modules),
              (Rows{{"BANK 0/DIMM0", "8 GB", "DDR3", "1600 MHz", "0x80AD", "0x484D54343147533641465238412D50422020"}}));
    EXPECT_EQ(scripted::textRows(mac.gpus),
              (Rows{{"Intel Iris Graphics 6100", "Intel Iris Graphics 6100", "1536 MB", "", "", ""}}));

    // Without the XML form the same texts give what a localized Mac showed before.
    for (const Tool tool : {Tool::hardwareReportXml, Tool::memoryReportXml, Tool::graphicsReportXml})
        readings.tools.erase(tool);
    const SystemSnapshot textOnly = SystemProbe::snapshotFrom(readings);
    EXPECT_EQ((std::vector<std::string>{textOnly.cpu.name, textOnly.mainboard.macModel, textOnly.memory.slots,
                                        textOnly.gpus.front().name}),
              (std::vector<std::string>{"Unknown CPU", "", "", "GPU"}));
}

// An English report is read as before even with its XML form beside it: every
// capture, given the localized capture's XML for each report it has in English.
TEST(Capture, XmlBesideAnEnglishReportChangesNothing)
{
    const MachineReadings localized = replayed(capture("localized-composite"));
    namespace Labels = SystemProbe::EnglishLabels;
    const std::vector<std::tuple<Tool, Tool, std::span<const std::string_view>>> reports{
        {Tool::hardwareReport, Tool::hardwareReportXml, Labels::hardware},
        {Tool::memoryReport, Tool::memoryReportXml, Labels::memory},
        {Tool::graphicsReport, Tool::graphicsReportXml, Labels::graphics},
    };
    std::map<Tool, int> given;
    for (const auto& entry : std::filesystem::directory_iterator(capture(""))) {
        MachineReadings readings = replayed(entry.path().string());
        const std::string before = fields(SystemProbe::snapshotFrom(readings));
        for (const auto& [text, xml, labels] : reports)
            if (SystemProbe::isEnglishReport(readings.output(text), labels)) {
                readings.tools[xml] = localized.result(xml);
                ++given[xml];
            }
        EXPECT_EQ(fields(SystemProbe::snapshotFrom(readings)), before) << entry.path();
    }
    for (const auto& [text, xml, labels] : reports)
        EXPECT_GT(given[xml], 0) << labels.front(); // every kind of report was tried
}
