// The boot end to end: captures of real machines read back through the replay
// machine, then the few cases no capture holds.

#include "platform/replay_machine.h"
#include "probe/boot.h"
#include "probe/sources/csrutil.h"
#include "probe/sources/kext_listing.h"
#include "probe/sources/linux_boot.h"
#include "probe/sources/nvram.h"
#include "probe/system_probe.h"

#include "scripted_machine.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace veltrin;

namespace {

BootInfo replayedBoot(const std::string& name)
{
    std::string error;
    const auto machine = ReplayMachine::open(std::string(VELTRIN_FIXTURES) + "/captures/" + name, error);
    EXPECT_TRUE(machine) << error;
    return machine ? SystemProbe::collect(*machine).boot : BootInfo{};
}

// "identifier version origin" per extension, so a list compares in one line.
std::vector<std::string> listed(const std::vector<KernelExtension>& extensions)
{
    std::vector<std::string> rows;
    for (const KernelExtension& extension : extensions)
        rows.push_back(extension.identifier + " " + extension.version + " " + extension.origin);
    return rows;
}

} // namespace

TEST(Boot, CapturesReplayToWhatTheirTextsSay)
{
    struct Case {
        std::string capture;
        std::vector<std::string> fields; // bootArguments, sipStatus, sipValue, sipFlags, secureBoot, extensionSummary
    };
    const std::string allowDisable = "CSR_ALLOW_UNTRUSTED_KEXTS, CSR_ALLOW_UNRESTRICTED_FS, CSR_ALLOW_TASK_FOR_PID";
    const std::vector<Case> cases{
        {"opencore-bigsur-lilu-weg-restrictevents", {"", "", "", "", "", "3 third-party, 0 Apple"}},
        {"opencore-ryzen-bigsur-smcamdprocessor", {"", "", "", "", "", "6 third-party, 0 Apple"}},
        {"hack-mojave-beta-lilu-fakesmc", {"", "", "", "", "", "4 third-party, 0 Apple"}},
        {"mac-mavericks-nvidia-cuda-no-uuid", {"", "", "", "", "", "1 third-party, 2 Apple"}},
        {"mac-sierra-beta-kextstat-sip-default", {"", "enabled", "", "", "", "0 third-party, 10 Apple"}},
        {"mac-monterey-csrutil-disable",
         {"", "", "0x27F",
          allowDisable + ", CSR_ALLOW_KERNEL_DEBUGGER, CSR_ALLOW_APPLE_INTERNAL, CSR_ALLOW_UNRESTRICTED_DTRACE, "
                         "CSR_ALLOW_UNRESTRICTED_NVRAM, CSR_ALLOW_UNAPPROVED_KEXTS",
          "", ""}},
        {"hack-xiaomi-pro-bigsur-sip-disabled",
         {"darkwake=0 gfxrst=1", "disabled", "0x67",
          allowDisable + ", CSR_ALLOW_UNRESTRICTED_DTRACE, CSR_ALLOW_UNRESTRICTED_NVRAM", "", ""}},
        {"hack-hac-mini-catalina-apple-internal",
         {"alcid=11 -disablegfxfirmware shikigva=32 shiki-id=Mac-BE088AF8C5EB4FA2", "disabled (Apple Internal)", "",
          "", "", ""}},
        {"opencore-catalina-sip-unknown-custom",
         {"", "unknown (Custom Configuration)", "0x3E7",
          allowDisable + ", CSR_ALLOW_UNRESTRICTED_DTRACE, CSR_ALLOW_UNRESTRICTED_NVRAM, "
                         "CSR_ALLOW_DEVICE_CONFIGURATION, CSR_ALLOW_ANY_RECOVERY_OS, CSR_ALLOW_UNAPPROVED_KEXTS",
          "", ""}},
        {"mac-el-capitan-beta-sip-custom", {"", "enabled (Custom Configuration)", "", "", "", ""}},
        {"mac-apple-silicon-monterey-sip-custom", {"", "unknown (Custom Configuration)", "", "", "", ""}},
        {"linux-ubuntu-virtualbox-vtune-secureboot", {"", "", "", "", "enabled", "7 out-of-tree, 0 in-tree"}},
        {"linux-debian-testing-prime-generator",
         {"BOOT_IMAGE=/vmlinuz-6.12.20-amd64 root=/dev/mapper/testing--vg-root ro quiet i915.enable_guc=3 "
          "module_blacklist=xe",
          "", "", "", "disabled", "1 out-of-tree, 0 in-tree"}},
        // A machine without any of these tools or files has an empty record.
        {"mbp15-1-i7-8750h", {"", "", "", "", "", ""}},
        {"linux-hp-z600-quadro-fx3800", {"", "", "", "", "", ""}},
    };
    for (const Case& c : cases) {
        const BootInfo boot = replayedBoot(c.capture);
        EXPECT_EQ((std::vector<std::string>{boot.bootArguments, boot.sipStatus, boot.sipValue, boot.sipFlags,
                                            boot.secureBoot, boot.extensionSummary}),
                  c.fields)
            << c.capture;
    }
}

TEST(Boot, ExtensionsKeepTheOrderAndVersionsListed)
{
    EXPECT_EQ(listed(replayedBoot("opencore-ryzen-bigsur-smcamdprocessor").extensions),
              (std::vector<std::string>{"as.vit9696.Lilu 1.5.3 third-party", "as.vit9696.AppleALC 1.6.0 third-party",
                                        "as.vit9696.WhateverGreen 1.4.9 third-party",
                                        "wtf.spinach.AMDRyzenCPUPowerManagement 0.6.6 third-party",
                                        "as.vit9696.VirtualSMC 1.2.3 third-party",
                                        "wtf.spinach.SMCAMDProcessor 1 third-party"}));
    EXPECT_EQ(listed(replayedBoot("hack-mojave-beta-lilu-fakesmc").extensions).back(),
              "org.netkas.driver.FakeSMC 1440 third-party");
    EXPECT_EQ(listed(replayedBoot("mac-mavericks-nvidia-cuda-no-uuid").extensions),
              (std::vector<std::string>{"com.apple.nvidia.driver.NVDAResman 8.2.6 Apple",
                                        "com.apple.nvidia.driver.NVDAGK100Hal 8.2.6 Apple",
                                        "com.nvidia.CUDA 1.1.0 third-party"}));
    EXPECT_EQ(listed(replayedBoot("linux-debian-testing-prime-generator").extensions),
              (std::vector<std::string>{"prime_generator  out-of-tree"}));
}

// kmutil lists the same table; it runs only where kextstat is gone, so a Mac
// with both does not list its extensions twice.
TEST(Boot, KmutilStandsInOnlyWhereKextstatIsMissing)
{
    const std::string table = "Index Refs Address            Size       Wired      Name (Version) UUID <Linked Against>\n"
                              "   48    5 0                  0x2e000    0x2e000    as.vit9696.Lilu (1.5.3) 21A8C4AB "
                              "<8 6 5 3 2 1>\n";
    for (const bool hasKextstat : {true, false}) {
        scripted::ScriptedMachine machine;
        if (hasKextstat) {
            machine.executables["/usr/sbin/kextstat"] = std::nullopt;
            machine.answer(Tool::loadedExtensions, table);
        }
        machine.answer(Tool::loadedExtensionsKmutil, table);
        const BootInfo boot = SystemProbe::collect(machine).boot;
        EXPECT_EQ(listed(boot.extensions), std::vector<std::string>{"as.vit9696.Lilu 1.5.3 third-party"});
        EXPECT_EQ(std::ranges::count(machine.runs, std::string("/usr/bin/kmutil showloaded")), hasKextstat ? 0 : 1);
    }
}

TEST(Boot, TextsNoCaptureHolds)
{
    using SystemProbe::csrFlagNames;
    using SystemProbe::littleEndianWord;
    // An unknown bit is named by its value; a configuration of nothing names nothing.
    EXPECT_EQ(csrFlagNames(0x10001), "CSR_ALLOW_UNTRUSTED_KEXTS, 0x10000");
    EXPECT_EQ(csrFlagNames(0), "");
    EXPECT_EQ(SystemProbe::sipValueText(0x87F), "0x87F");
    EXPECT_EQ(littleEndianWord(std::string("w\0\0\0", 4)), 0x77u);
    EXPECT_EQ(littleEndianWord("%7"), std::nullopt); // too short to be a 32-bit value
    EXPECT_EQ(SystemProbe::nvramBytes({"csr-active-config\t%7f%08%00%00\n", 0}, "csr-active-config"),
              std::string("\x7f\x08\0\0", 4));
    EXPECT_EQ(SystemProbe::sipStatusWords("garbage"), "");

    // Versions in nested parentheses, and lines that only look like rows.
    EXPECT_EQ(listed(SystemProbe::loadedExtensions("  12 0 0x1 0x2 0x3 com.x.y (2.1 (b7)) <1>\n"
                                                   "  13 0 0x1 0x2 0x3 com.x.z (open\n"
                                                   "  xx 0 0x1 0x2 0x3 com.x.w (1)\n"
                                                   "  14 0 zz 0x2 0x3 com.x.v (1)\n")),
              std::vector<std::string>{"com.x.y 2.1 (b7) third-party"});

    // Marks say where a module comes from; "+" only says it is still loading.
    FileContents files{{"/proc/modules", "a 1 0 - Live 0x0 (OE+)\nb 1 0 - Live 0x0 (E)\nc 1 0 - Live 0x0 (P)\n"
                                         "d 1 0 - Live 0x0\nnot a module line\n"},
                       {"/sys/module/d/version", "1.2\n"}};
    EXPECT_EQ(listed(SystemProbe::kernelModules(files)),
              (std::vector<std::string>{"a  out-of-tree", "b  unsigned", "c  in-tree", "d 1.2 in-tree"}));
    for (const std::string& variable : {std::string("\x06\0\0\0", 4), std::string("\x06\0\0\0\x02", 5),
                                        std::string("\x06\0\0\0\x01\x01", 6)}) {
        files["/sys/firmware/efi/efivars/SecureBoot-8be4df61-93ca-11d2-aa0d-00e098032b8c"] = variable;
        EXPECT_EQ(SystemProbe::secureBootState(files), "") << variable.size();
    }
}

TEST(Boot, ListsStopAtTheirLimit)
{
    std::string listing;
    std::string modules;
    for (std::size_t i = 0; i < kMaxListedExtensions + 10; ++i) {
        listing += "1 0 0 0 0 com.apple.k" + std::to_string(i) + " (1)\n";
        modules += "m" + std::to_string(i) + " 1 0 - Live 0x0\n";
    }
    EXPECT_EQ(SystemProbe::loadedExtensions(listing).size(), kMaxListedExtensions);
    EXPECT_EQ(SystemProbe::kernelModules({{"/proc/modules", modules}}).size(), kMaxListedExtensions);
}
