#pragma once

// What OpenCore leaves in NVRAM for the running system: the firmware's original
// SMBIOS board maker, product and board name (written only when its
// configuration exposes them), its own version, and the version of the Legacy
// Patcher that built it. On a machine booted through OpenCore these are the only
// words macOS can read about the real board that the spoofed tables do not hide.

#include "core/process_runner.h"
#include "platform/readings.h"

#include <optional>
#include <string>
#include <string_view>

namespace veltrin::SystemProbe {

// The value of `variable` in what nvram printed: the first line that starts with
// the variable's full name and a tab, its %xx escapes decoded to bytes, read as
// UTF-8 (ill-formed bytes become U+FFFD), made one display line (zero and other
// control bytes dropped) and cleaned. Absent when the run failed, no such line is
// there or nothing usable is left.
std::optional<std::string> nvramValue(const ProcessResult& result, std::string_view variable);

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
