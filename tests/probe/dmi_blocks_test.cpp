#include "probe/dmi_reader.h"

#include <gtest/gtest.h>

using namespace veltrin;

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
