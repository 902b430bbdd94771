#include "probe/sources/inference.h"

#include <gtest/gtest.h>

using namespace veltrin::SystemProbe;

TEST(Inference, OverlappingEntriesResolveByTableOrder)
{
    const std::string msi = "Micro-Star International Co., Ltd. / MSI";
    EXPECT_EQ(acpiOEMGuess("Vendor: Dell Inc. with MSI parts"), msi);
    EXPECT_EQ(acpiOEMGuess("Gigabyte and ASUS"), "Gigabyte Technology Co., Ltd.");
    // A maker word counts only where no letter stands right before it.
    EXPECT_EQ(acpiOEMGuess("Modellname: MacBook Pro"), std::nullopt);
    EXPECT_EQ(acpiOEMGuess("Modellname: iMac, OEM ID: DELL  "), "Dell Inc.");
    EXPECT_EQ(acpiOEMGuess("OEMID _ASUS_"), "ASUSTeK Computer Inc.");
    EXPECT_EQ(acpiOEMGuess("HPQOEM"), "HP");
    EXPECT_EQ(acpiOEMGuess("\u00fcdell"), std::nullopt); // a letter of any script
    EXPECT_EQ(pciVendorGuess("Killer E3100G"), std::nullopt);
    EXPECT_EQ(manufacturerFromBoardName("MAG B650 TOMAHAWK WIFI"), msi);
    EXPECT_EQ(manufacturerFromBoardName("PRIME B760M-A"), "ASUSTeK Computer Inc.");
    EXPECT_EQ(manufacturerFromBoardName("PRIME-B760"), std::nullopt); // "prime " needs its space
    EXPECT_EQ(manufacturerFromBoardName("Macmini8,1"), "Apple Inc. (SMBIOS fallback)");
    EXPECT_EQ(manufacturerFromBoardName(" Default string "), std::nullopt);
    EXPECT_EQ(firmwareVendorGuess("Insyde ROG STRIX GAMING"), "American Megatrends International"); // "ami"

    const std::vector<std::array<std::string, 3>> chipsets{
        // text, chipsetGuess, trustedChipsetGuess
        {"B760M DS3H and Z790 UD", "Intel Z790", "Intel Z790"},
        {"X870E with X670", "AMD X870", "AMD X870"},
        {"MAG B650 TOMAHAWK WIFI", "AMD B650", "AMD B650"},
        {"Model Identifier: Mac14,6", "Apple Silicon platform", ""},
        {"Model Identifier: MacPro7,1", "Intel Xeon W / C621-class platform", ""},
        {"Model Identifier: iMac20,1", "Intel 400-series platform", "Intel 400-series platform"},
        {"Macmini8,1", "Intel 300-series platform", "Intel 300-series platform"},
        {"AMD A520M-HDV", "AMD A520", "AMD A520"},
        // A bare code only AMD uses is AMD's, also where the bare-code pattern comes first.
        {"AMD B550", "AMD B550", "AMD B550"},
        {"ROG STRIX X570-E GAMING", "AMD X570", "AMD X570"},
        {"PRIME B450M-A", "AMD B450", "AMD B450"},
        {"H310M S2", "Intel H310", "Intel H310"},
        // Hexadecimal literals and codes inside words are no chipset.
        {"Table at 0x6FA71000, <0x100>, 97946E993916094B22613", "Unknown", ""},
        {"Handle 0x0002, then X570", "AMD X570", "AMD X570"},
    };
    for (const auto& [text, guess, trusted] : chipsets) {
        EXPECT_EQ(chipsetGuess(text), guess) << text;
        EXPECT_EQ(trustedChipsetGuess(text), trusted) << text;
    }
}

TEST(Inference, BoardNameEndsWithItsLine)
{
    EXPECT_EQ(acpiBoardGuess("Product Name: MAG Z890 TOMAHAWK WIFI (MS-7E32)"), "MAG Z890 TOMAHAWK WIFI");
    for (const std::string name : {"MEG Z890 ACE", "ROG MAXIMUS Z890 HERO", "GIGABYTE Z890 EAGLE", "Z890 AORUS MASTER"})
        EXPECT_EQ(acpiBoardGuess("\tProduct Name: " + name + "\n\tVersion: x.x"), name);
}
