// Linux files as a refresh finds them on machines that are not well kept: binary
// garbage, missing values, huge tables, EDIDs that are not EDIDs, adapters the PCI
// ID database does not know. Read through the machine seam exactly as live.

#include "platform/linux_files.h"
#include "probe/sources/os_release.h"
#include "probe/sources/pci_drm.h"
#include "probe/sources/proc_meminfo.h"
#include "probe/sources/sysfs_dmi.h"
#include "probe/system_probe.h"

#include "scripted_machine.h"

#include <gtest/gtest.h>

using namespace veltrin;

namespace {

using Rows = std::vector<std::vector<std::string>>;

// A Linux machine whose files are exactly these.
struct LinuxMachine : scripted::ScriptedMachine {
    explicit LinuxMachine(std::map<std::string, std::string, std::less<>> contents)
    {
        platformName = kLinuxPlatform;
        files = std::move(contents);
    }
};

// A base EDID block whose descriptor `slot` (0 to 3) holds the 13 name bytes given.
std::string edidNamed(std::string_view name, int slot = 1)
{
    std::string edid(128, '\0');
    edid.replace(0, 8, "\x00\xFF\xFF\xFF\xFF\xFF\xFF\x00", 8);
    const std::size_t descriptor = 54 + 18 * static_cast<std::size_t>(slot);
    edid.replace(descriptor, 5, "\x00\x00\x00\xFC\x00", 5);
    const std::string text = name.size() < 13 ? std::string(name) + "\n" + std::string(12 - name.size(), ' ')
                                              : std::string(name.substr(0, 13));
    edid.replace(descriptor + 5, 13, text);
    return edid;
}

} // namespace

TEST(LinuxFiles, GarbageAndMissingValuesLeaveFieldsEmpty)
{
    std::string devices;
    for (int n = 0; n < 1000; ++n)
        devices += "E:MEMORY_DEVICE_" + std::to_string(n) + "_SIZE=4294967296\nE:MEMORY_DEVICE_" + std::to_string(n) +
                   "_LOCATOR=DIMM " + std::to_string(n) + "\n";
    const LinuxMachine machine({
        {"/sys/class/dmi/id/board_vendor", "\xff\xfe\x01\x02"},       // not UTF-8
        {"/sys/class/dmi/id/board_name", "Z790\x01\x7f GAMING\n"},    // control characters
        {"/sys/class/dmi/id/bios_vendor", "American Megatrends Inc.\n\xff"}, // first line only
        {"/sys/class/dmi/id/bios_version", "   \n"},
        {"/run/udev/data/+dmi:id", devices + "E:MEMORY_DEVICE_x_SIZE=1\nE:MEMORY_DEVICE_7=\nE:garbage\n"},
        {"/proc/meminfo", "MemTotal:  1000 kB\nMemAvailable:  2000 kB\n"}, // more available than there is
        {"/etc/os-release", "NAME=Gentoo\n"},                             // no PRETTY_NAME
    });
    const SystemSnapshot snapshot = SystemProbe::collect(machine);
    const MainboardInfo& board = snapshot.mainboard;
    EXPECT_EQ(board.manufacturer, "");
    EXPECT_EQ(board.model, "");
    EXPECT_EQ(board.biosVendor, "American Megatrends Inc.");
    EXPECT_EQ(board.biosVersion, "");
    EXPECT_EQ(board.dmiSource, "Linux sysfs");
    EXPECT_EQ(board.os, "Linux");
    // A thousand devices list as many modules as any snapshot lists, in device order.
    ASSERT_EQ(snapshot.memory.modules.size(), 256u);
    EXPECT_EQ(snapshot.memory.modules.front().bank, "DIMM 0");
    EXPECT_EQ(snapshot.memory.modules.back().bank, "DIMM 255");
    EXPECT_EQ(snapshot.memory.slots, "256 populated");
    EXPECT_EQ(snapshot.memory.used, "");
    EXPECT_EQ(snapshot.memory.pressure, "");
}

TEST(LinuxFiles, AdaptersAreNamedFromTheDatabaseOrByTheirNumbers)
{
    const std::string database = "# pci.ids\n"
                                  "10de  NVIDIA Corporation\n"
                                  "\t1b80  GP104 [GeForce GTX 1080]\n"
                                  "\t\t1043 85aa  GTX 1080 Turbo\n"
                                  "\tabcd  Another maker's device of that number\n"
                                  "1234  Technical Corp.\n"
                                  "\t0001  Some device\n"
                                  "C 03  Display controller\n"
                                  "\t00  VGA compatible controller\n";
    const std::string pci = "/sys/bus/pci/devices/";
    const std::string drm = "/sys/class/drm/";
    const LinuxMachine machine({
        {pci + "0000:01:00.0/class", "0x030000\n"},
        {pci + "0000:01:00.0/vendor", "0x10de\n"},
        {pci + "0000:01:00.0/device", "0x1b80\n"},
        {pci + "0000:02:00.0/class", "0x038000\n"},
        {pci + "0000:02:00.0/vendor", "0x1234\n"},
        {pci + "0000:02:00.0/device", "0xabcd\n"},
        {pci + "0000:02:00.0/mem_info_vram_total", "lots\n"},
        {pci + "0000:03:00.0/class", "0x020000\n"}, // a network controller
        {pci + "0000:03:00.0/vendor", "0x8086\n"},
        {"/usr/share/misc/pci.ids", database},
        {drm + "card0/device/uevent", "DRIVER=nouveau\nPCI_SLOT_NAME=0000:01:00.0\n"},
        {drm + "card0-DP-1/status", "connected\n"},
        {drm + "card0-DP-1/modes", "2560x1440\n1920x1080\n"},
        {drm + "card0-DP-1/edid", edidNamed("DELL U2715H").substr(0, 100)}, // cut short: no name
        {drm + "card0-DP-2/status", "connected\n"},
        {drm + "card0-DP-2/modes", "1920x1080\n"},
        {drm + "card0-DP-2/edid", edidNamed("DELL U2715H")},
        {drm + "card0-HDMI-A-1/status", "disconnected\n"},
        {drm + "card0-HDMI-A-1/modes", "1024x768\n"},
        {drm + "card1-eDP-1/status", "connected\n"}, // a card that is no PCI adapter
        {drm + "card1-eDP-1/modes", "1280x800\n"},
    });
    const MachineReadings readings = readMachine(machine);
    EXPECT_EQ(scripted::textRows(SystemProbe::snapshotFrom(readings).gpus),
              (Rows{{"GP104 [GeForce GTX 1080]", "GP104 [GeForce GTX 1080]", "", "NVIDIA Corporation (0x10de)", "",
                     "2560 x 1440 / 1920 x 1080 (DELL U2715H)"},
                    {"1234:abcd", "1234:abcd", "", "Technical Corp. (0x1234)", "", ""}}));
    // A capture keeps what names these adapters and nothing of other devices or unplugged connectors.
    EXPECT_EQ(readings.file("/usr/share/misc/pci.ids"),
              "10de  NVIDIA Corporation\n\t1b80  GP104 [GeForce GTX 1080]\n1234  Technical Corp.\n");
    EXPECT_FALSE(readings.file(pci + "0000:03:00.0/class"));
    EXPECT_FALSE(readings.file(drm + "card0-HDMI-A-1/modes"));
}

TEST(LinuxFiles, ValuesAsTheFilesWriteThem)
{
    const std::vector<std::pair<std::string, std::string>> releases{
        {"NAME=Debian\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n", "Debian GNU/Linux 12 (bookworm)"},
        {"PRETTY_NAME='Void Linux'\n", "Void Linux"},
        {"  PRETTY_NAME=Gentoo\r\n", "Gentoo"},
        {"PRETTY_NAME=\"Say \\\"hi\\\" \\\\ bye\"\n", "Say \"hi\" \\ bye"},
        {"#PRETTY_NAME=\"Commented\"\nPRETTY_NAME=\"\"\n", "Linux"},
        {"PRETTY_NAME=\"\xff\xfe\"\n", "Linux"},
    };
    for (const auto& [text, name] : releases) {
        MachineReadings readings;
        readings.files["/usr/lib/os-release"] = text;
        EXPECT_EQ(SystemProbe::osReleaseName(readings.files), name) << text;
    }

    const std::vector<std::pair<std::string, std::vector<std::string>>> meminfos{
        {"MemTotal:       16268680 kB\nMemFree:  349408 kB\nMemAvailable:    8366284 kB\n", {"7.54 GB", "51%"}},
        {"MemTotal: 1000 kB\nMemFree: 10 kB\n", {"", ""}},          // kernels before 3.14
        {"MemTotal: -5 kB\nMemAvailable: 1 kB\n", {"", ""}},
        {"MemTotalX: 1000 kB\nMemAvailable: 1 kB\n", {"", ""}},
    };
    for (const auto& [text, expected] : meminfos) {
        MachineReadings readings;
        readings.files["/proc/meminfo"] = text;
        const auto use = SystemProbe::linuxMemoryUse(readings.file("/proc/meminfo"));
        EXPECT_EQ((std::vector<std::string>{use.used, use.pressure}), expected) << text;
    }

    const std::vector<std::pair<std::string, std::optional<std::string>>> edids{
        {edidNamed("DELL U2715H", 3), "DELL U2715H"},
        {edidNamed("LG ULTRAFINE1"), "LG ULTRAFINE1"},  // thirteen characters, no line feed
        {edidNamed("  \x01" "BenQ\x80" "  "), "BenQ"},        // only printable ASCII counts
        {edidNamed("DELL U2715H") + std::string(128, '\0'), "DELL U2715H"}, // with an extension block
        {edidNamed("DELL U2715H") + std::string(64, '\0'), std::nullopt},
        {edidNamed("DELL U2715H").substr(1), std::nullopt},
        {"\x01" + edidNamed("DELL U2715H").substr(1), std::nullopt}, // no EDID header
        {edidNamed(""), std::nullopt},
    };
    for (const auto& [edid, name] : edids)
        EXPECT_EQ(SystemProbe::edidMonitorName(edid), name) << edid.size();
}
