#include "ui/platform_texts.h"

namespace veltrin {
namespace {

constexpr PlatformTexts kMacTexts{
    .operatingSystem = "macOS",
    .cachesSubtitle = "Cache layout reported by macOS sysctl",
    .cachesNote = "Apple Silicon may expose unified cache information differently from Intel Macs. Values are shown "
                  "exactly as reported by macOS.",
    .smbiosTitle = "macOS SMBIOS",
    .spdSubtitle = "Memory module details when exposed by macOS or dmidecode",
    .graphicsSubtitle = "GPU, VRAM, Metal and display data",
    .bootSubtitle = "Boot loader, boot arguments, System Integrity Protection and kernel extensions",
    .aboutSubtitle = "CPU and system information utility for macOS",
    .aboutDescription = "Veltrin reads processor, caches, motherboard, memory, SPD, graphics and benchmark information "
                        "using standard local macOS tools. It is designed for enthusiasts who want a clear hardware "
                        "overview on macOS.",
    .backend = "sysctl, system_profiler, ioreg, nvram, vm_stat, memory_pressure, optional Acidanthera dmidecode",
    .privacyAccess = "Sandbox remains disabled intentionally because the app must launch local tools such as "
                     "system_profiler, ioreg and optional dmidecode to inspect hardware details.",
    .benchPower = "keep the Mac plugged in",
    .helpOverview = "Veltrin is a hardware inspector for macOS. It reads local hardware information and organizes it "
                    "into dedicated tabs for CPU, caches, mainboard, memory, SPD, graphics and benchmark data.",
    .helpNotes = "Some motherboard and SPD fields depend on what macOS and SMBIOS expose. On Hackintosh systems, "
                 "Veltrin avoids mixing spoofed Apple SMBIOS values with physical board data whenever possible.",
    .noUpdater = "This build was made without the Sparkle framework, so it cannot check for updates.",
};

// Veltrin's only other platform is Linux.
constexpr PlatformTexts kOtherTexts{
    .operatingSystem = "OS",
    .cachesSubtitle = "Cache layout reported by the Linux kernel and CPUID",
    .cachesNote = "Values are those of the first processor, as the Linux kernel reports them under "
                  "/sys/devices/system/cpu or, where it reports none, as CPUID describes them. Cores of another "
                  "kind may have caches of other sizes.",
    .smbiosTitle = "Apple SMBIOS",
    .spdSubtitle = "Memory module details when exposed by udev or dmidecode",
    .graphicsSubtitle = "GPU, VRAM and display data",
    .bootSubtitle = "Kernel command line, Secure Boot and kernel modules",
    .aboutSubtitle = "CPU and system information utility for Linux",
    .aboutDescription = "Veltrin reads processor, caches, motherboard, memory, SPD, graphics and benchmark information "
                        "from the Linux kernel and standard local tools. It is designed for enthusiasts who want a "
                        "clear hardware overview on Linux.",
    .backend = "/proc, sysfs, udev, os-release, CPUID, pci.ids, uname, uptime, optional dmidecode",
    .privacyAccess = "It reads the kernel's files under /proc and /sys and launches local tools such as uname, uptime "
                     "and optional dmidecode to inspect hardware details.",
    .benchPower = "keep a laptop plugged in",
    .helpOverview = "Veltrin is a hardware inspector for Linux. It reads local hardware information and organizes it "
                    "into dedicated tabs for CPU, caches, mainboard, memory, SPD, graphics and benchmark data.",
    .helpNotes = "Some motherboard and SPD fields depend on what the firmware's SMBIOS tables and the Linux kernel "
                 "expose. On Hackintosh systems, Veltrin avoids mixing spoofed Apple SMBIOS values with physical board "
                 "data whenever possible.",
    .noUpdater = "This build has no updater of its own: new versions come the way this copy was installed.",
};

} // namespace

const PlatformTexts& platformTexts(Platform platform) { return platform == Platform::mac ? kMacTexts : kOtherTexts; }

} // namespace veltrin
