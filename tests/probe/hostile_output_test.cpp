// Tools may print anything. No parser throws, every processor field keeps a value,
// and no Apple identity reaches the physical board.

#include "probe/cpu.h"
#include "probe/mainboard.h"
#include "probe/sources/dmidecode.h"
#include "probe/sources/filters.h"
#include "probe/system_probe.h"

#include "scripted_machine.h"

#include <gtest/gtest.h>

#include <random>

using namespace veltrin;

TEST(HostileOutput, ParsersKeepTheirFallbacks)
{
    // Pieces of the syntax the patterns look for, mixed with stray bytes.
    const std::vector<std::string> pieces{"\"board-id\" = <", "\"board-name\" = <5052", "\"model\" = \"", ">", "\n",
                                          "Handle 0x2, DMI type 2\nBase Board Information", "\tVersion:", "  ",
                                          "Product Name:", " up ", ",", "Z890", "0x100", "apple", "iMac20,1", ":",
                                          "4D1FDA02-38C7-4A6A-9CC6-4BCCA8B30102:oem-board\t", "%", "%0", "%zz",
                                          "%ff", "%00", "%4d%61%63%2d"};
    const std::vector<Tool> tools{Tool::machineArchitecture, Tool::uptime,         Tool::platformRegistry,
                                  Tool::deviceTree,          Tool::hardwareReport, Tool::softwareVersion,
                                  Tool::productVersion,      Tool::oemBoard,       Tool::oemVendor};
    std::mt19937 random(20240601);
    const auto text = [&] {
        std::string out;
        for (int i = std::uniform_int_distribution(0, 60)(random); i > 0; --i)
            out += random() % 3 ? pieces[random() % pieces.size()] : std::string(1, static_cast<char>(random()));
        return out;
    };
    for (int round = 0; round < 150; ++round) {
        scripted::ScriptedMachine machine;
        for (const Tool tool : tools)
            machine.answer(tool, text(), static_cast<std::int32_t>(random() % 2));
        machine.tools["/usr/local/bin/dmidecode"] = {text(), static_cast<std::int32_t>(random() % 2)};
        for (const char* name : {"machdep.cpu.brand_string", "hw.model", "hw.cpufrequency", "hw.l2cachesize"})
            machine.kernel[name] = text();
        machine.executables["/usr/local/bin/dmidecode"] = text();

        CPUInfo cpu;
        MainboardInfo board;
        ASSERT_NO_THROW({
            const MachineReadings readings = scripted::readings(machine);
            cpu = SystemProbe::cpuInfo(readings);
            board = SystemProbe::mainboardInfo(readings, SystemProbe::dmiTables(readings));
        }) << "round " << round;
        // The eleven text fields before the cluster list always hold a text; the
        // processor's own fields after it are empty wherever it is unknown.
        const auto fields = cpu.fields();
        EXPECT_FALSE([&]<std::size_t... I>(std::index_sequence<I...>) {
            return (std::get<I>(fields).empty() || ...);
        }(std::make_index_sequence<11>()));
        for (const std::string& field : {board.manufacturer, board.model, board.boardName, board.serial})
            EXPECT_FALSE(SystemProbe::isAppleSMBIOSValue(field)) << "round " << round << ": " << field;
    }
}
