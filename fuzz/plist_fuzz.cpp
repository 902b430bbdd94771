// system_profiler's -xml form, as a localized Mac's areas read it: the decoder
// builds no more than its bounds and never crashes, and the areas still give a
// complete record from whatever it built.

#include "core/unicode_text.h"
#include "platform/readings.h"
#include "probe/cpu.h"
#include "probe/graphics.h"
#include "probe/mainboard.h"
#include "probe/memory.h"
#include "probe/sources/system_profiler_xml.h"

#include <cstdlib>

using namespace veltrin;
using SystemProbe::PlistValue;

namespace {

// Values below `value`, itself included; aborts past the depth bound.
std::size_t checkedCount(const PlistValue& value, int depth)
{
    if (depth > SystemProbe::kMaxPlistDepth)
        std::abort();
    std::size_t total = 1;
    for (const PlistValue& item : value.items)
        total += checkedCount(item, depth + 1);
    for (const auto& [key, entry] : value.entries)
        total += checkedCount(entry, depth + 1);
    return total;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Tool output reaches the decoders as valid UTF-8, as fuzz_input.h explains.
    const std::string xml = utf8Lossy(std::string_view(reinterpret_cast<const char*>(data), size));
    if (const auto root = SystemProbe::parsePlist(xml); root && checkedCount(*root, 1) > SystemProbe::kMaxPlistValues)
        std::abort();
    for (const PlistValue& item : SystemProbe::systemProfilerItems(xml))
        for (const auto& [key, value] : item.entries)
            (void)SystemProbe::englishValue(item, key);

    // The same text as all three reports' XML form, beside text reports in no English.
    MachineReadings readings;
    for (const Tool tool : {Tool::hardwareReportXml, Tool::memoryReportXml, Tool::graphicsReportXml})
        readings.tools[tool] = {xml, 0};
    if (SystemProbe::cpuInfo(readings).name.empty() || SystemProbe::mainboardInfo(readings, {}).detectionNotes.empty())
        std::abort();
    const MemoryInfo memory = SystemProbe::memoryInfo(readings, {});
    if (memory.modules.size() > kMaxListedDevices || SystemProbe::graphicsInfo(readings).empty())
        std::abort();
    return 0;
}
