#include "probe/mainboard.h"
#include "probe/operating_system.h"
#include "probe/sources/dmidecode.h"
#include "probe/sources/filters.h"
#include "probe/sources/ioreg.h"
#include "probe/system_probe.h"

#include "scripted_machine.h"

#include <gtest/gtest.h>

using namespace veltrin;
using namespace veltrin::SystemProbe;
using scripted::ScriptedMachine;

TEST(TrustFilters, KeepAppleIdentitiesOpenCoreMarkersAndFillerOffTheBoard)
{
    const std::optional<std::string> no;
    // value, isAppleSMBIOSValue, trustedBoardValue, trustedSerialValue, trustedFirmwareValue
    const std::vector<std::tuple<std::optional<std::string>, bool, std::optional<std::string>,
                                 std::optional<std::string>, std::optional<std::string>>>
        cases{
            {no, false, no, no, no},
            {" ASUSTeK ", false, "ASUSTeK", "ASUSTeK", "ASUSTeK"},
            {"Apple Inc.", true, no, no, "Apple Inc."},
            {"Macmini8,1", true, no, no, "Macmini8,1"},
            {"Mac-7BA5B2D9E42DDD94", true, no, no, no},
            {"Open Core board", false, no, no, "Open Core board"},
            {"Acidanthera", false, no, no, no},
            {"To Be Filled By O.E.M.", false, no, no, no},
            {"To be filled by OEM", false, no, no, "To be filled by OEM"},
            {"1.0", false, no, no, "1.0"},
            {"OEM0123", false, "OEM0123", no, "OEM0123"},
            {"Boot ROM 1", false, "Boot ROM 1", "Boot ROM 1", no},
        };
    for (const auto& [value, apple, board, serial, firmware] : cases) {
        EXPECT_EQ(isAppleSMBIOSValue(value), apple) << value.value_or("(absent)");
        EXPECT_EQ(trustedBoardValue(value), board) << value.value_or("(absent)");
        EXPECT_EQ(trustedSerialValue(value), serial) << value.value_or("(absent)");
        EXPECT_EQ(trustedFirmwareValue(value), firmware) << value.value_or("(absent)");
    }
}

TEST(RegistryText, HexAndPropertyForms)
{
    EXPECT_EQ(hexToASCII("50524f2d41525400"), "PRO-ART");
    EXPECT_EQ(hexToASCII("4A4b0"), "JK"); // a last single digit is a byte of its own
    EXPECT_EQ(hexToASCII("0000"), std::nullopt);
    EXPECT_EQ(hexToASCII("4g41"), std::nullopt);
    EXPECT_EQ(hexToASCII("ff41"), std::nullopt);
    EXPECT_EQ(ioregStringValue("manufacturer", R"(  "manufacturer" = "ASUSTeK")"), "ASUSTeK");
    EXPECT_EQ(ioregStringValue("board-name", R"(  "board-name" = <50524f2d 41525400>)"), "PRO-ART");
    EXPECT_EQ(ioregStringValue("model", "\"model-number\" = \"A1419\"\n\"model\" = \"iMac20,1\""), "iMac20,1");
    EXPECT_EQ(ioregStringValue("oem", "\"oem\" = \"Default string\"\n\"oem\" = <4d5349>"), std::nullopt); // final
    EXPECT_EQ(ioregStringValue("board-name", R"("board-name" = <50524f2dzz>)"), std::nullopt);
}

TEST(UptimeOnly, DurationPieces)
{
    EXPECT_EQ(uptimeOnly("10:15  up 3 days,  2:04, 2 users, load averages: 1.52 1.60 1.71"), "3 days, 2:04");
    EXPECT_EQ(uptimeOnly(scripted::fixtureText("uptime/monterey-12-5-1.txt")), "15 days, 2:03");
    EXPECT_EQ(uptimeOnly("14:01  up 2:04, load averages: 2.10"), "2:04");
    EXPECT_EQ(uptimeOnly("14:01 up ,, 3 users"), "14:01 up ,, 3 users");
    EXPECT_EQ(uptimeOnly(" 14:01  UP   3 days "), "14:01 UP  3 days");
    EXPECT_EQ(uptimeOnly(" \n"), "");
}

TEST(MainboardInfo, RealMacShowsItsIdentityOnlyAsMacOSSMBIOS)
{
    ScriptedMachine machine;
    machine.answer(Tool::kernelRelease, "23.6.0\n");
    machine.answer(Tool::uptime, "10:15  up 3 days,  2:04, 2 users\n");
    machine.answer(Tool::platformRegistry,
                   "\"board-id\" = <\"Mac-CFF7D910A743CAAF\">\n\"IOPlatformSerialNumber\" = \"C02ABCDEFGHI\"\n");
    machine.answer(Tool::deviceTree, "\"model\" = \"iMac20,1\"\n\"manufacturer\" = \"Apple\"");
    // A blank serial key above the UUID line must not take that line for the serial.
    machine.answer(Tool::hardwareReport, "Model Name: iMac\nModel Identifier: iMac20,1\nBoot ROM Version: 1916.40.8.0.0\n"
                                         "SMC Version (system): 2.46f12\nSerial Number (system):\nHardware UUID: 5A1B2C3D\n");
    machine.answer(Tool::softwareVersion, "ProductVersion:\t14.6.1\nBuildVersion:\t23G93\n");
    // The bare sw_vers runs start with the rest but are read only for a part the report lacks.
    machine.answer(Tool::productVersion, "99.9\n");
    MainboardInfo expected{.chipset = "Intel 400-series platform", .macModel = "iMac20,1", .macModelName = "iMac",
                           .macBoardID = "Mac-CFF7D910A743CAAF", .macSerial = "C02ABCDEFGHI",
                           .hardwareUUID = "5A1B2C3D", .bootROM = "1916.40.8.0.0", .smc = "2.46f12",
                           .os = "14.6.1 (23G93)", .kernel = "23.6.0", .uptime = "3 days, 2:04",
                           .detectionNotes = scripted::kNoDmidecodeNote};
    EXPECT_EQ(scripted::named(snapshotFrom(scripted::readings(machine)).mainboard), scripted::named(expected));

    ScriptedMachine bare;
    bare.answer(Tool::softwareVersion, "ProductVersion:\nBuildVersion:  \n");
    bare.answer(Tool::productVersion, "15.1\n");
    bare.answer(Tool::platformRegistry, R"("board-id" = <4d61632d414200>)");
    bare.answer(Tool::deviceTree,
                "\"product-name\" = \"Default string\"\n\"board-name\" = <50524f2d41525400>\n\"model\" = \"X\"");
    const MainboardInfo info = snapshotFrom(scripted::readings(bare)).mainboard;
    EXPECT_EQ(info.os, "15.1");
    EXPECT_EQ(info.macBoardID, "Mac-AB");
    EXPECT_EQ(info.model, "PRO-ART"); // the first device-tree key with a usable value decides
}

TEST(MainboardInfo, DmiBoardValuesAndTheThreeNotes)
{
    ScriptedMachine asus;
    asus.executables["/usr/bin/dmidecode"] = std::nullopt;
    asus.tools["/usr/bin/dmidecode"] = {scripted::fixtureText("dmidecode/asus-rog-strix-z790-a-gaming-wifi.txt"), 0};
    DMIInfo spoofed = dmiTables(scripted::readings(asus));
    spoofed.systemProduct = "iMacPro1,1";

    DMIInfo generated{.source = "External dmidecode", .raw = "BIOS Information\n\tVersion: 1968.0.0.0.0\n",
                      .systemManufacturer = "Acidanthera", .systemProduct = "Macmini8,1",
                      .baseboardManufacturer = "Acidanthera", .baseboardProduct = "Mac-7BA5B2D9E42DDD94",
                      .biosVendor = "Acidanthera"};
    DMIInfo placeholders{.source = "External dmidecode", .raw = "Base Board Information\n\tVersion:  \n\tX: 1\n",
                         .systemManufacturer = "System manufacturer", .systemProduct = "System Product Name",
                         .baseboardManufacturer = "To Be Filled By O.E.M.", .baseboardProduct = "Default string",
                         .baseboardSerial = "Default string"};
    DMIInfo baited{.source = "dmidecode found but could not read SMBIOS", .raw = "Product Name: Z890 iMac Edition\n",
                   .systemProduct = "Mach Xtreme"};
    DMIInfo macVersionLine{.source = "External dmidecode",
                           .raw = "Base Board Information\n\tProduct Name: Mac-7BA5B2D9E42DDD94\n"
                                  "\tVersion: iMacPro1,1\nBIOS Information\n\tVersion: 1916.40.8.0.0\n",
                           .baseboardVersion = "iMacPro1,1"};
    DMIInfo unfound = spoofed;
    unfound.source.clear();

    const std::vector<std::tuple<DMIInfo, std::vector<std::string>, std::string>> cases{
        // manufacturer, model, boardName, boardVersion, chipset, serial, biosVendor, biosVersion
        {spoofed,
         {"ASUSTeK COMPUTER INC.", "ROG STRIX Z790-A GAMING WIFI", "ROG STRIX Z790-A GAMING WIFI", "Rev 1.xx",
          "Intel Z790", "--", "American Megatrends Inc.", "1303"},
         scripted::kTrustedBoardNote},
        {generated, {"", "", "", "1968.0.0.0.0", "", "", "", ""}, scripted::kHiddenBoardNote},
        {placeholders, {"", "", "", "", "", "", "", ""}, scripted::kHiddenBoardNote},
        // The first Version line of the dump is a model identifier here, not a revision.
        {macVersionLine, {"", "", "", ""}, scripted::kHiddenBoardNote},
        // Guesses are filtered too: no Apple fallback maker for "Mach…", no Apple word in a board name.
        {baited, {"", "Mach Xtreme", "Mach Xtreme", "", "Intel Z890", "", "", ""}, scripted::kTrustedBoardNote},
        {unfound, {"ASUSTeK COMPUTER INC."}, scripted::kNoDmidecodeNote},
    };
    for (const auto& [dmi, board, note] : cases) {
        const MainboardInfo info = mainboardInfo(MachineReadings{}, dmi);
        const std::vector<std::string> actual{info.manufacturer, info.model,   info.boardName,  info.boardVersion,
                                              info.chipset,      info.serial,  info.biosVendor, info.biosVersion};
        EXPECT_EQ(std::vector(actual.begin(), actual.begin() + board.size()), board) << dmi.raw.substr(0, 40);
        EXPECT_EQ(info.detectionNotes, note);
        EXPECT_EQ(info.dmiSource, dmi.source);
    }
}
