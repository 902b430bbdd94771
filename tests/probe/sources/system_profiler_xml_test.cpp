#include "probe/sources/system_profiler_xml.h"

#include "../scripted_machine.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

using namespace veltrin;
using SystemProbe::PlistValue;

namespace {

std::string localizedXml(const std::string& report)
{
    return scripted::fixtureText("captures/localized-composite/" + report + ".xml");
}

std::size_t deepest(const PlistValue& value)
{
    std::size_t below = 0;
    for (const PlistValue& item : value.items)
        below = std::max(below, deepest(item));
    for (const auto& [key, entry] : value.entries)
        below = std::max(below, deepest(entry));
    return below + 1;
}

std::size_t count(const PlistValue& value)
{
    std::size_t total = 1;
    for (const PlistValue& item : value.items)
        total += count(item);
    for (const auto& [key, entry] : value.entries)
        total += count(entry);
    return total;
}

} // namespace

// A real hardware report: its one item, not the _properties that describe the keys.
TEST(SystemProfilerXml, ReadsTheItemsOfAReport)
{
    const auto items = SystemProbe::systemProfilerItems(localizedXml("SPHardwareDataType"));
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].scalar("machine_model"), "MacBookPro11,1");
    EXPECT_EQ(items[0].scalar("number_processors"), "2"); // an <integer> keeps its digits
    EXPECT_EQ(items[0].scalar("nonexistent"), std::nullopt);
    EXPECT_EQ(SystemProbe::firstScalar(items, "_order"), std::nullopt);
}

// system_profiler's warning on standard error, as posted in Gary00/macInfo#18,
// comes before the document in the runner's output.
TEST(SystemProfilerXml, ReadsTheDocumentAfterWarnings)
{
    const std::string warning = "2015-04-27 09:45:45.153 system_profiler[856:18996] platformPluginDictionary: "
                                "Can't get X86PlatformPlugin, return value 0\n";
    const auto items = SystemProbe::systemProfilerItems(warning + warning + localizedXml("SPHardwareDataType"));
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].scalar("serial_number"), "ABCDEFG12345");
}

// A run stopped at its time limit ends anywhere: the values read before the cut
// stay, the one it cut is dropped.
TEST(SystemProfilerXml, KeepsWhatACutOutputHeld)
{
    const std::string whole = localizedXml("SPMemoryDataType"); // the stored copy ends inside a key
    const auto items = SystemProbe::systemProfilerItems(whole);
    ASSERT_EQ(items.size(), 1u);
    const auto slots = items[0].list("_items");
    ASSERT_EQ(slots.size(), 2u);
    EXPECT_EQ(slots[0].scalar("dimm_size"), "8 GB");
    EXPECT_EQ(slots[1].scalar("_name"), "BANK 1/DIMM0");
    EXPECT_EQ(slots[1].entries.size(), 1u);

    const std::string cutInText = whole.substr(0, whole.find("1600 MHz") + 4);
    const auto cutItems = SystemProbe::systemProfilerItems(cutInText);
    const auto cut = cutItems.at(0).list("_items");
    EXPECT_EQ(cut[0].scalar("dimm_size"), "8 GB");
    EXPECT_EQ(cut[0].scalar("dimm_speed"), std::nullopt);
}

TEST(SystemProfilerXml, AnythingButAPropertyListGivesNothing)
{
    for (const std::string& text : {std::string(), scripted::fixtureText("captures/localized-composite/SPHardwareDataType.txt"),
                                   std::string("<html><body>plist</body></html>"), std::string("<plist version=\"1.0\">")})
        EXPECT_EQ(SystemProbe::parsePlist(text), std::nullopt) << text;
    EXPECT_TRUE(SystemProbe::systemProfilerItems("<plist><dict><key>_items</key><array/></dict></plist>").empty());
}

// Hostile nesting and length: what is built stays within the bounds.
TEST(SystemProfilerXml, BuildsNoMoreThanItsBounds)
{
    std::string deep = "<plist>";
    for (int i = 0; i < 5000; ++i)
        deep += "<array>";
    deep += "<string>bottom</string></plist>";
    const auto nested = SystemProbe::parsePlist(deep);
    ASSERT_TRUE(nested);
    EXPECT_LE(deepest(*nested), static_cast<std::size_t>(SystemProbe::kMaxPlistDepth));

    std::string wide = "<plist><array>";
    for (std::size_t i = 0; i < 2 * SystemProbe::kMaxPlistValues; ++i)
        wide += "<true/>";
    wide += "</array></plist>";
    const auto flat = SystemProbe::parsePlist(wide);
    ASSERT_TRUE(flat);
    EXPECT_LE(count(*flat), SystemProbe::kMaxPlistValues);
    EXPECT_GT(count(*flat), SystemProbe::kMaxPlistValues / 2);
    EXPECT_EQ(flat->items.front().text, "true");
}

// system_profiler's own codes, as real -xml and -json outputs write them, beside
// what the English text report of the same kind of machine prints
// (tests/fixtures/README.md names the outputs).
TEST(SystemProfilerXml, EnglishTextOfCodes)
{
    const std::vector<std::tuple<std::string, std::string, std::optional<std::string>>> cases{
        {"spdisplays_vendor", "sppci_vendor_amd", "AMD (0x1002)"},
        {"spdisplays_vendor", "sppci_vendor_Apple", "Apple (0x106b)"},
        {"spdisplays_vendor", "Intel", "Intel"},
        {"spdisplays_vendor", "sppci_vendor_noSuchCompany", std::nullopt},
        {"spdisplays_mtlgpufamilysupport", "spdisplays_metal3", "Metal 3"},
        {"spdisplays_mtlgpufamilysupport", "spdisplays_mtlgpufamilyapple7", std::nullopt},
        {"spdisplays_pixelresolution", "spdisplays_2880x1800Retina", "2880 x 1800 Retina"},
        {"spdisplays_pixelresolution", "spdisplays_2160p", "3840 x 2160 (2160p/4K UHD 1 - Ultra High Definition)"},
        {"spdisplays_pixelresolution", "spdisplays_qhd", std::nullopt},
        {"dimm_type", "lp_ddr4", "LPDDR4"},
        {"dimm_type", "LPDDR5", "LPDDR5"},
        {"machine_model", "spdisplays_metal3", "spdisplays_metal3"}, // only coded keys are decoded
    };
    for (const auto& [key, value, english] : cases)
        EXPECT_EQ(SystemProbe::englishText(key, value), english) << key << " " << value;
}
