#include "probe/dmi_reader.h"

#include "scripted_machine.h"

#include <gtest/gtest.h>

using namespace veltrin;
using scripted::ScriptedMachine;

namespace {

const std::string kBundled = "/Applications/Veltrin.app/Contents/Resources/dmidecode";
const std::string kLocal = "/usr/local/bin/dmidecode", kHomebrew = "/opt/homebrew/bin/dmidecode";
const std::string kSystem = "/usr/bin/dmidecode", kDebian = "/usr/sbin/dmidecode";
const std::string kMachO("\xCF\xFA\xED\xFE\x07\x00\x00\x01", 8);

void offer(ScriptedMachine& machine, std::map<std::string, std::optional<std::string>> executables,
           std::optional<std::string> resource = std::nullopt)
{
    machine.executables = std::move(executables);
    machine.resource = std::move(resource);
    machine.extraLocations = {kDebian};
}

std::optional<std::string> found(std::map<std::string, std::optional<std::string>> executables,
                                 std::optional<std::string> resource = std::nullopt)
{
    ScriptedMachine machine;
    offer(machine, std::move(executables), std::move(resource));
    return SystemProbe::dmidecodeExecutable(machine);
}

} // namespace

TEST(DmidecodeExecutable, FirstUsableCandidateInOrder)
{
    EXPECT_EQ(found({}), std::nullopt);
    EXPECT_EQ(found({{kBundled, kMachO}, {kLocal, kMachO}}, kBundled), kBundled);
    EXPECT_EQ(found({{kBundled, "#!/bin/sh\n# Placeholder for the real tool\n"}, {kLocal, kMachO}}, kBundled), kLocal);
    EXPECT_EQ(found({{kSystem, kMachO}}, kBundled), kSystem); // the bundled file is not executable
    EXPECT_EQ(found({{kSystem, kMachO}, {kHomebrew, std::nullopt}}), kHomebrew); // unreadable is accepted
    EXPECT_EQ(found({{kDebian, kMachO}, {kSystem, "PLACEHOLDER"}}), kDebian);
    // Only a 160-byte head that decodes as text can mark a placeholder.
    EXPECT_EQ(found({{kLocal, std::string(160, '#') + "placeholder"}}), kLocal);
    EXPECT_EQ(found({{kLocal, "placeholder" + std::string(148, ' ') + "\u00e9"}}), kLocal);
}

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
        const DMIInfo info = SystemProbe::dmiInfo(scripted::readings(machine));
        EXPECT_EQ(info.source, source) << path << " " << result.status;
        EXPECT_EQ(info.raw, result.output);
        EXPECT_EQ(info.biosVendor, source == unreadable ? std::nullopt : std::optional("Insyde Corp."));
    }
    const ScriptedMachine none;
    EXPECT_EQ(SystemProbe::dmiInfo(scripted::readings(none)).source, "");
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
