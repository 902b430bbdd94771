#pragma once

// What OpenCore leaves in NVRAM for the running system: the firmware's original
// SMBIOS board maker, product and board name (written only when its
// configuration exposes them), its own version, and the version of the Legacy
// Patcher that built it. On a machine booted through OpenCore these are the only
// words macOS can read about the real board that the spoofed tables do not hide.

#include "platform/readings.h"
#include "probe/sources/nvram.h"

#include <optional>
#include <string>
#include <string_view>

namespace veltrin::SystemProbe {

// "REL-074-2021-10-04" as "0.7.4 (release, 2021-10-04)"; DBG builds are "debug"
// and NPT builds "no-opt". Any other text comes back as it is.
std::string openCoreVersionText(const std::string& version);

struct OpenCoreVariables {
    std::optional<std::string> oemVendor; // SMBIOS type 2 manufacturer of the firmware
    std::optional<std::string> oemProduct; // SMBIOS type 1 product name of the firmware
    std::optional<std::string> oemBoard; // SMBIOS type 2 product name of the firmware
    std::optional<std::string> version;
    std::optional<std::string> legacyPatcherVersion;
    bool anyRead = false; // at least one nvram run could be started
};

// The five variables, each from its own nvram run.
OpenCoreVariables openCoreVariables(const MachineReadings& readings);

} // namespace veltrin::SystemProbe
