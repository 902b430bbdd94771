#include "probe/sources/dmidecode.h"
#include "probe/system_probe.h"

#include "../scripted_machine.h"

#include <gtest/gtest.h>

using namespace veltrin;
using scripted::ScriptedMachine;
using SystemProbe::DMIInfo;

TEST(DmiBlocks, SplitsAtHandleLinesAndDropsTheHeader)
{
    const std::string text = "# dmidecode 3.5\n"
                             "Getting SMBIOS data from sysfs.\n"
                             "SMBIOS 3.5.0 present.\n"
                             "\n"
                             "Handle 0x0000, DMI type 0, 26 bytes\n"
                             "BIOS Information\n"
                             "\tVendor: American Megatrends International, LLC.\n"
                             "\n"
                             "Handle 0x0002, DMI type 2, 15 bytes\r\n"
                             "Base Board Information\r\n"
                             "\tManufacturer: ASUSTeK COMPUTER INC.\r\n"
                             "\n"
                             "\n"
                             "Handle 0x0050, DMI type 127, 4 bytes\n"
                             "End Of Table\n";
    const auto blocks = SystemProbe::dmiBlocks(text);
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[0], "Handle 0x0000, DMI type 0, 26 bytes\nBIOS Information\n"
                         "\tVendor: American Megatrends International, LLC.\n");
    EXPECT_EQ(blocks[1], "Handle 0x0002, DMI type 2, 15 bytes\nBase Board Information\n"
                         "\tManufacturer: ASUSTeK COMPUTER INC.\n\n");
    EXPECT_EQ(blocks[2], "Handle 0x0050, DMI type 127, 4 bytes\nEnd Of Table\n");
}

TEST(DmiBlocks, KeepsOnlyRecordBlocks)
{
    EXPECT_TRUE(SystemProbe::dmiBlocks("").empty());
    EXPECT_TRUE(SystemProbe::dmiBlocks("/dev/mem: Permission denied\n").empty());
    EXPECT_EQ(SystemProbe::dmiBlocks("\n\nHandle 0x1\nsomething\nHandle 0x2\nOEM information\n").size(), 1u);
}

namespace {

const std::string kBundled = "/Applications/Veltrin.app/Contents/Resources/dmidecode";
const std::string kLocal = "/usr/local/bin/dmidecode", kDebian = "/usr/sbin/dmidecode";
const std::string kMachO("\xCF\xFA\xED\xFE\x07\x00\x00\x01", 8);

void offer(ScriptedMachine& machine, std::map<std::string, std::optional<std::string>> executables,
           std::optional<std::string> resource = std::nullopt)
{
    machine.executables = std::move(executables);
    machine.resource = std::move(resource);
    machine.extraLocations = {kDebian};
}

} // namespace

TEST(DmiInfo, ThreeStatesWithTheirSources)
{
    const std::string table = "Handle 0x0000, DMI type 0, 26 bytes\nBIOS Information\n\tVendor: Insyde Corp.\n";
    const std::string unreadable = "dmidecode found but could not read SMBIOS";
    const std::vector<std::tuple<std::string, ProcessResult, std::string>> runs{
        {kDebian, {"/sys/firmware/dmi/tables/smbios_entry_point: Permission denied\n", 1}, unreadable},
        {kLocal, {table, -9}, unreadable},
        {kLocal, {"", 0}, unreadable},
        {kLocal, {table, 0}, "External dmidecode"},
        {kBundled, {table, 0}, "Bundled Acidanthera dmidecode"},
    };
    for (const auto& [path, result, source] : runs) {
        ScriptedMachine machine;
        offer(machine, {{path, kMachO}}, path == kBundled ? std::optional(path) : std::nullopt);
        machine.tools[path] = result;
        const DMIInfo info = SystemProbe::dmiTables(scripted::readings(machine));
        EXPECT_EQ(info.source, source) << path << " " << result.status;
        EXPECT_EQ(info.raw, result.output);
        EXPECT_EQ(info.biosVendor, source == unreadable ? std::nullopt : std::optional("Insyde Corp."));
    }
    const ScriptedMachine none;
    EXPECT_EQ(SystemProbe::dmiTables(scripted::readings(none)).source, "");
    for (const std::string& run : none.runs)
        EXPECT_EQ(run.find("dmidecode"), std::string::npos) << run; // nothing found, nothing run
}

TEST(DmiValue, KeyLineOfTheFirstBlockThatHasIt)
{
    const std::string text = "Handle 0x0002, DMI type 2\nBase Board Information\n\tVersion:  \t\n\tSerial Number: --\n"
                             "Handle 0x0003, DMI type 2\nBase Board Information\n\tproduct name: PRIME Z790-P\n";
    EXPECT_EQ(SystemProbe::dmiValue(text, "Base Board Information", "Product Name"), "PRIME Z790-P");
    EXPECT_EQ(SystemProbe::dmiValue(text, "Base Board Information", "Version"), ""); // never the next line
    // The macOS port prints a hex dump of each structure before its decoded lines.
    const std::string port = scripted::fixtureText("dmidecode/toshiba-opencore-macos-port-head.txt");
    EXPECT_EQ(SystemProbe::dmiValue(port, "BIOS Information", "Version"), "421.0.0.0.0");
}
