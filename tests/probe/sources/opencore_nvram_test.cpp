// OpenCore's variables as nvram prints them, and what they may and may not
// change on the mainboard record.

#include "probe/mainboard.h"
#include "probe/sources/opencore_nvram.h"

#include "../scripted_machine.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace veltrin;
using namespace veltrin::SystemProbe;

namespace {

const std::string kBoardVariable = "4D1FDA02-38C7-4A6A-9CC6-4BCCA8B30102:oem-board";
const std::string kOpenCoreNote =
    "OpenCore does not expose the original board; enable ExposeSensitiveData bit 0x08 to show it here.";

// What the firmware named: maker, product, board; "" for a variable nvram does not find.
struct Variables {
    std::string vendor;
    std::string product;
    std::string board;
    std::string version;
};

// A machine that answers the five nvram runs as macOS does.
MachineReadings withVariables(const Variables& variables, MachineReadings readings = {})
{
    const auto set = [&readings](Tool tool, const std::string& value) {
        const std::string& name = toolCommand(tool).arguments.front();
        readings.tools[tool] =
            value.empty()
                ? ProcessResult{"nvram: Error getting variable - '" + name + "': (iokit/common) data was not found\n", 1}
                : ProcessResult{name + "\t" + value + "\n", 0};
    };
    set(Tool::oemVendor, variables.vendor);
    set(Tool::oemProduct, variables.product);
    set(Tool::oemBoard, variables.board);
    set(Tool::openCoreVersion, variables.version);
    set(Tool::legacyPatcherVersion, "");
    return readings;
}

} // namespace

TEST(NvramValue, TheVariablesLineDecoded)
{
    const std::optional<std::string> no;
    const std::string& name = kBoardVariable;
    // what nvram printed, its status, the value
    const std::vector<std::tuple<std::string, int, std::optional<std::string>>> cases{
        {name + "\tX570 Phantom Gaming-ITX/TB3\n", 0, "X570 Phantom Gaming-ITX/TB3"},
        {name + "\t%41%4a%4B Caf%c3%a9%00%00\n", 0, "AJK Caf\u00e9"},
        {name + "\tA%ffB%c3\n", 0, "A\uFFFDB\uFFFD"},
        {name + "\t100% %zz %4\n", 0, "100% %zz %4"},
        {name + "\tA%09B%0a%01\n", 0, "A B"},
        {"4D1FDA02-38C7-4A6A-9CC6-4BCCA8B30102:oem-vendor\tASRock\n" + name + "x\tY\n" + name + "\tSecond", 0,
         "Second"},
        {name + " ASRock\n", 0, no},
        {name + "\t %00%00\n", 0, no},
        {name + "\t%01%02\n", 0, no},
        {name + "\tDefault string\n", 0, no},
        {"nvram: Error getting variable - '" + name + "': (iokit/common) data was not found\n", 1, no},
        {name + "\tASRock\n", 1, no},
        {name + "\tASRock\n", ProcessRunner::kTimedOutStatus, no},
        {"", ProcessRunner::kLaunchFailedStatus, no},
    };
    for (const auto& [output, status, value] : cases)
        EXPECT_EQ(nvramValue({output, status}, name), value) << output;
}

TEST(OpenCoreVersion, ReleaseDebugAndNoOptBuilds)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"REL-074-2021-10-04", "0.7.4 (release, 2021-10-04)"},
        {"DBG-067-2021-03-01", "0.6.7 (debug, 2021-03-01)"},
        {"NPT-100-2024-05-06", "1.0.0 (no-opt, 2024-05-06)"},
        {"rel-074-2021-10-04", "rel-074-2021-10-04"},
        {"XYZ-074-2021-10-04", "XYZ-074-2021-10-04"},
        {"REL-74-2021-10-04", "REL-74-2021-10-04"},
        {"REL-07a-2021-10-04", "REL-07a-2021-10-04"},
        {"REL-074-2021/10/04", "REL-074-2021/10/04"},
        {"REL-074-2021-10-045", "REL-074-2021-10-045"},
        {"0.9.7", "0.9.7"},
    };
    for (const auto& [version, text] : cases)
        EXPECT_EQ(openCoreVersionText(version), text) << version;
}

TEST(OpenCoreBoard, AfterTheDmiBoardValuesAndBeforeEveryGuess)
{
    const DMIInfo noDmi;
    const DMIInfo gigabyteBoard{.source = "External dmidecode",
                                .baseboardManufacturer = "Gigabyte Technology Co., Ltd.",
                                .baseboardProduct = "Z790 AORUS ELITE AX"};
    const DMIInfo msiSystem{.source = "External dmidecode", .systemManufacturer = "Micro-Star International Co., Ltd."};
    // An AORUS product name would make Gigabyte the inferred maker.
    const DMIInfo aorusSystem{.source = "External dmidecode", .systemProduct = "Z390 AORUS PRO"};
    const Variables asrock{"ASRock", "To Be Filled By O.E.M.", "X570 Phantom Gaming-ITX/TB3", ""};

    // manufacturer, model, boardName, boardSource
    const std::vector<std::tuple<const char*, DMIInfo, Variables, std::vector<std::string>>> cases{
        {"DMI board wins", gigabyteBoard, asrock,
         {"Gigabyte Technology Co., Ltd.", "Z790 AORUS ELITE AX", "Z790 AORUS ELITE AX", ""}},
        {"DMI system maker before oem-vendor", msiSystem, asrock,
         {"Micro-Star International Co., Ltd.", "X570 Phantom Gaming-ITX/TB3", "X570 Phantom Gaming-ITX/TB3",
          "OpenCore NVRAM"}},
        {"oem values before guesses", aorusSystem, asrock,
         {"ASRock", "X570 Phantom Gaming-ITX/TB3", "X570 Phantom Gaming-ITX/TB3", "OpenCore NVRAM"}},
        {"oem-product last for the model", aorusSystem, {"", "B450M DS3H", "", ""},
         {"Gigabyte Technology Co., Ltd.", "Z390 AORUS PRO", "Z390 AORUS PRO", ""}},
        {"oem-product alone", noDmi, {"", "B450M DS3H", "", ""}, {"", "B450M DS3H", "", "OpenCore NVRAM"}},
        {"Apple identities rejected", noDmi, {"Apple Inc.", "MacBookPro11,5", "Mac-06F11F11946D27C5", ""},
         {"", "", "", ""}},
        {"filler rejected", noDmi, {"To be filled by OEM", "0", "Default string", ""}, {"", "", "", ""}},
    };
    for (const auto& [name, dmi, variables, expected] : cases) {
        const MainboardInfo info = mainboardInfo(withVariables(variables), dmi);
        EXPECT_EQ((std::vector<std::string>{info.manufacturer, info.model, info.boardName, info.boardSource}), expected)
            << name;
    }
}

TEST(OpenCoreBoard, OriginalModelAndTheNote)
{
    MachineReadings opencoreRegistry;
    opencoreRegistry.tools[Tool::platformRegistry] = {R"("manufacturer" = <"Acidanthera">)", 0};
    const auto macModel = [](std::string model) {
        MachineReadings readings;
        readings.kernel.texts.emplace(KernelName::model, std::move(model));
        return readings;
    };
    const std::string none = "dmidecode not bundled/found; Mainboard only shows values that macOS exposes without "
                             "Apple SMBIOS fallback.";

    // originalModel, detectionNotes (the captures cover filler, a real vendor and a Legacy Patcher Mac)
    const std::vector<std::tuple<const char*, MachineReadings, std::string, std::string>> cases{
        {"OpenCore named in the registry, nothing exposed", withVariables({}, opencoreRegistry), "",
         none + " " + kOpenCoreNote},
        {"the registry alone, no nvram run started", opencoreRegistry, "", none},
        {"a Mac without OpenCore", withVariables({}), "", none},
        {"unspoofed Mac", withVariables({"", "macbookpro11,5", "", "REL-080-2022-04-18"}, macModel("MacBookPro11,5")),
         "", none},
        {"no model shown", withVariables({"", "MacBookPro11,5", "", ""}), "MacBookPro11,5", none},
    };
    for (const auto& [name, readings, originalModel, note] : cases) {
        const MainboardInfo info = mainboardInfo(readings, {});
        EXPECT_EQ(info.originalModel, originalModel) << name;
        EXPECT_EQ(info.detectionNotes, note) << name;
    }
}
